#include "WindowBounds.h"

#include <algorithm>

namespace korvex {

namespace {
// One axis: the start and length placed inside [areaStart, areaEnd).
void Fit(int& start, int& end, int areaStart, int areaEnd) {
    areaEnd = std::max(areaEnd, areaStart);
    const int length = std::clamp(end - start, 0, areaEnd - areaStart);
    start = std::clamp(start, areaStart, areaEnd - length);
    end = start + length;
}
// Window coordinates stay well inside 32 bits, so that sums of them never overflow.
constexpr long long kReach = 1 << 28;

int Limit(long long value) {
    return static_cast<int>(std::clamp(value, -kReach, kReach));
}
}  // namespace

Bounds BoundsFromOrigin(int left, int top, int width, int height) {
    const int l = Limit(left), t = Limit(top);
    return {l, t, Limit(static_cast<long long>(l) + std::max(width, 0)),
            Limit(static_cast<long long>(t) + std::max(height, 0))};
}

Bounds WholeBounds(int left, int top, int width, int height, Size smallest, Size byDefault) {
    auto whole = [](int value, int least, int fallback) {
        if (value <= 0) value = fallback;
        return static_cast<int>(std::min<long long>(std::max({value, least, 1}), kReach));
    };
    const int w = whole(width, smallest.width, byDefault.width);
    const int h = whole(height, smallest.height, byDefault.height);
    // Near the end of the coordinate range the window moves back rather than lose its size.
    const int l = static_cast<int>(std::clamp<long long>(left, -kReach, kReach - w));
    const int t = static_cast<int>(std::clamp<long long>(top, -kReach, kReach - h));
    return {l, t, l + w, t + h};
}

bool CaptionReachable(const Bounds& bounds, const Bounds& area, int captionHeight, int grip) {
    const long long top = std::max(bounds.top, area.top);
    const long long bottom = std::min<long long>(static_cast<long long>(bounds.top) + std::max(captionHeight, 1),
                                                 std::min(bounds.bottom, area.bottom));
    const long long left = std::max(bounds.left, area.left);
    const long long right = std::min(bounds.right, area.right);
    const long long need = std::min<long long>(std::max(grip, 1), std::max(bounds.Width(), 1));
    return bottom > top && right - left >= need;
}

Bounds MoveInto(const Bounds& bounds, const Bounds& area) {
    Bounds result = bounds;
    Fit(result.left, result.right, area.left, area.right);
    Fit(result.top, result.bottom, area.top, area.bottom);
    return result;
}

}  // namespace korvex
