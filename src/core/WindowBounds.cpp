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

Bounds MoveInto(const Bounds& bounds, const Bounds& area) {
    Bounds result = bounds;
    Fit(result.left, result.right, area.left, area.right);
    Fit(result.top, result.bottom, area.top, area.bottom);
    return result;
}

}  // namespace korvex
