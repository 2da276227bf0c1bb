#pragma once
// Window bounds as plain numbers, for placing a restored window where the user can reach it.

namespace korvex {

struct Bounds {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    bool operator==(const Bounds&) const = default;
};

// Bounds from a position and a size as the settings file keeps them; a negative size counts as 0
// and the sides stay within the range a window can have, whatever the numbers.
Bounds BoundsFromOrigin(int left, int top, int width, int height);

struct Size {
    int width = 0, height = 0;
};

// Saved bounds made whole before they are placed: a width or height of 0 or less takes the
// window's default size, one below the window's smallest size takes that.
Bounds WholeBounds(int left, int top, int width, int height, Size smallest, Size byDefault);

// Whether the user can take the window by its caption in area: the top strip of the bounds,
// captionHeight high, lies in area over at least grip pixels of width (its whole width when it is
// narrower).
bool CaptionReachable(const Bounds& bounds, const Bounds& area, int captionHeight, int grip);

// The bounds moved into area with their size kept; a side longer than the area's is cut to it.
Bounds MoveInto(const Bounds& bounds, const Bounds& area);

}  // namespace korvex
