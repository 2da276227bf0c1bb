#include "FramePictures.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "DeviceContext.h"

namespace korvex {

namespace {

constexpr COLORREF kMaskColor = RGB(255, 0, 255);

// A memory device context, deleted at the end of its scope.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Draws on a 16 x 16 grid scaled to the picture's size, offset by the picture's place in the strip.
class GridPainter {
public:
    GridPainter(HDC dc, int size, int left) : dc_(dc), size_(size), left_(left) {}
    int X(int x) const { return left_ + MulDiv(x, size_, 16); }
    int Y(int y) const { return MulDiv(y, size_, 16); }

    void Shape(COLORREF fill, COLORREF outline, std::initializer_list<POINT> grid) const {
        std::vector<POINT> points;
        for (const POINT& p : grid) points.push_back({X(p.x), Y(p.y)});
        const platform::UniqueGdiObject brush(CreateSolidBrush(fill));
        const platform::UniqueGdiObject pen(CreatePen(PS_SOLID, std::max(1, size_ / 16), outline));
        const platform::SelectedObject selectedBrush(dc_, brush.get());
        const platform::SelectedObject selectedPen(dc_, pen.get());
        Polygon(dc_, points.data(), static_cast<int>(points.size()));
    }
    void Box(COLORREF fill, COLORREF outline, int l, int t, int r, int b) const {
        Shape(fill, outline, {{l, t}, {r, t}, {r, b}, {l, b}});
    }

private:
    HDC dc_;
    int size_, left_;
};

void DrawUpOneLevel(const GridPainter& g) {
    const COLORREF folder = RGB(236, 196, 84), folderEdge = RGB(140, 100, 20);
    g.Box(folder, folderEdge, 1, 4, 6, 6);  // the tab
    g.Box(folder, folderEdge, 1, 6, 12, 14);
    const COLORREF arrow = RGB(30, 140, 50), arrowEdge = RGB(10, 70, 20);
    g.Shape(arrow, arrowEdge, {{11, 1}, {15, 6}, {13, 6}, {13, 12}, {9, 12}, {9, 6}, {7, 6}});
}

void DrawViews(const GridPainter& g) {
    const COLORREF tile = RGB(70, 120, 210), tileEdge = RGB(20, 50, 120);
    g.Box(tile, tileEdge, 1, 1, 7, 7);
    g.Box(tile, tileEdge, 9, 1, 15, 7);
    g.Box(tile, tileEdge, 1, 9, 7, 15);
    g.Box(tile, tileEdge, 9, 9, 15, 15);
}

}  // namespace

platform::UniqueImageList MakeFramePictures(int size) {
    platform::UniqueImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0));
    if (!list) return list;
    const ui::WindowDC screen(nullptr);
    const MemoryDC memory(screen.get());
    const HDC dc = memory.get();
    if (!dc) return list;
    platform::UniqueGdiObject strip(CreateCompatibleBitmap(screen.get(), 2 * size, size));
    if (strip) {
        {
            const platform::SelectedObject selectedStrip(dc, strip.get());
            const RECT all{0, 0, 2 * size, size};
            const platform::UniqueGdiObject mask(CreateSolidBrush(kMaskColor));
            FillRect(dc, &all, static_cast<HBRUSH>(mask.get()));
            DrawUpOneLevel(GridPainter(dc, size, 0));
            DrawViews(GridPainter(dc, size, size));
        }
        ImageList_AddMasked(list.get(), static_cast<HBITMAP>(strip.get()), kMaskColor);
    }
    return list;
}

}  // namespace korvex
