#pragma once

// The drawing surface every view draws into: a software raster with the classic GDI rules.
//
// - Pixels are addressed from the top-left corner, y downward. A new surface is all black.
// - FillRect fills left <= x < right, top <= y < bottom.
// - LineTo draws from the current position to (x, y) without its last pixel and makes (x, y)
//   the current position. A pen of width 1 draws a one-pixel line; wider pens are centred on
//   the line (columns or rows c - width/2 to c - width/2 + width - 1) with round ends.
// - Ellipse outlines the box with the pen centred on its border and fills the inside with the
//   brush.
// - TextOut writes text whose cell is filled with the background colour (opaque), the cell's
//   top-left corner at (x, y).
// - BitBlt copies a block, correct when source and target are one surface and overlap; parts
//   of the source outside it contribute nothing.
// - StretchBlt scales a block; in WhiteOnBlack mode the rows and columns that are dropped when
//   shrinking are ORed into the kept ones.
// - Everything is clipped at the surface's edges; nothing is ever written out of bounds.
//
// Pixels are held as 0xFFRRGGBB words so that text can be drawn straight onto them; the
// interface speaks only Colour (red in the low byte).

#include "views/Colour.h"
#include "views/Font.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ondrel {

struct Pen {
    int width = 1;
    Colour colour = White;
};

// An opaque or translucent colour for the anti-aliased operations: 0xAARRGGBB.
using Argb = uint32_t;
constexpr Argb MakeArgb(unsigned a, unsigned r, unsigned g, unsigned b) {
    return ((a & 0xFF) << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

// A pen for the anti-aliased operations: any width, round caps at both ends.
struct SmoothPen {
    Argb colour = MakeArgb(255, 255, 255, 255);
    float width = 1.0f;
};

struct PointF {
    float x = 0;
    float y = 0;
};

class SurfacePainter;

enum class StretchMode { Plain, WhiteOnBlack };

class Surface {
public:
    Surface() = default;
    Surface(int width, int height) { Resize(width, height); }

    // Replaces the picture with an all-black one of the given size (negative sizes count as 0)
    // and resets the drawing state.
    void Resize(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    Colour GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Colour colour);

    void FillRect(int left, int top, int right, int bottom, Colour colour);

    void SelectPen(Pen pen) { pen_ = pen; }
    void SelectBrush(Colour colour) { brush_ = colour; }
    void MoveTo(int x, int y) {
        curX_ = x;
        curY_ = y;
    }
    void LineTo(int x, int y);
    void Ellipse(int left, int top, int right, int bottom);

    void SelectFont(const Font& font) { font_ = font; }
    void SetTextColour(Colour colour) { textColour_ = colour; }
    void SetBackgroundColour(Colour colour) { backgroundColour_ = colour; }
    // Writes `text` (UTF-8) with the current font and colours.
    void TextOut(int x, int y, std::string_view text);

    // Anti-aliased drawing, blended onto the picture.
    //   SmoothFillEllipse: fills the ellipse inscribed in the box (x, y, width, height).
    //   SmoothBeziers: a chain of cubic Bézier segments, point 0 the start, then control,
    //     control, end for each segment; `count` is 3k + 1 (extra points are ignored).
    //   SmoothLine: a straight line with round caps.
    //   SmoothText: `text` whose layout box starts at (x, y), in `font` drawn anti-aliased,
    //     with no background.
    // The painter behind them is kept between calls, so steady frames allocate nothing.
    void SmoothFillEllipse(int x, int y, int width, int height, Argb colour);
    void SmoothBeziers(const PointF* points, int count, const SmoothPen& pen);
    void SmoothLine(int x1, int y1, int x2, int y2, const SmoothPen& pen);
    void SmoothText(double x, double y, std::string_view text, const Font& font, Argb colour);

    void SetStretchMode(StretchMode mode) { stretchMode_ = mode; }
    StretchMode stretchMode() const { return stretchMode_; }

    // Copies width × height pixels from (sx, sy) of `source` to (x, y) of this surface.
    void BitBlt(int x, int y, int width, int height, const Surface& source, int sx, int sy);

    // Scales the block sw × sh at (sx, sy) of `source` (which must lie inside it; otherwise
    // nothing is drawn) onto (0, 0)-(width, height) of this surface, by this surface's stretch
    // mode. `source` must be another surface.
    void StretchBlt(int width, int height, const Surface& source, int sx, int sy, int sw, int sh);
    void StretchBlt(int width, int height, const Surface& source) {
        StretchBlt(width, height, source, 0, 0, source.width(), source.height());
    }

    // Raw access for the text and anti-aliasing code and for showing the picture: rows of
    // width() words 0xFFRRGGBB, top row first.
    uint32_t* pixels() { return pixels_.data(); }
    const uint32_t* pixels() const { return pixels_.data(); }

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void Plot(int x, int y, uint32_t pixel) {
        if (Inside(x, y)) {
            pixels_[static_cast<size_t>(y) * width_ + x] = pixel;
        }
    }
    void ThinLine(int x0, int y0, int x1, int y1, uint32_t pixel);
    void WideLine(int x0, int y0, int x1, int y1, uint32_t pixel);
    void Disc(double cx, double cy, double radius, uint32_t pixel);

    SurfacePainter& Painter();

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;

    // The anti-aliasing painter, bound to pixels_ as they were when it was made; a copy of
    // the surface starts without one, and one bound to other pixels is made anew.
    struct PainterSlot {
        SurfacePainter* painter = nullptr;
        PainterSlot() = default;
        PainterSlot(const PainterSlot&) {}
        PainterSlot& operator=(const PainterSlot&) {
            Reset();
            return *this;
        }
        ~PainterSlot() { Reset(); }
        void Reset();
    } painter_;

    Pen pen_;
    Colour brush_ = White;
    int curX_ = 0;
    int curY_ = 0;
    Font font_ = DefaultGuiFont();
    Colour textColour_ = Black;
    Colour backgroundColour_ = White;
    StretchMode stretchMode_ = StretchMode::Plain;

    // Source index per target column and row of the last StretchBlt, and the row accumulator:
    // rebuilt only when the sizes change, so steady frames allocate nothing.
    struct StretchTables {
        int sourceWidth = -1, sourceHeight = -1, width = -1, height = -1;
        std::vector<int> columnStart; // width + 1 entries
        std::vector<int> rowStart;    // height + 1 entries
        std::vector<uint32_t> row;
    } stretch_;
};

// Pixel word <-> Colour.
constexpr uint32_t PixelOf(Colour c) {
    return 0xFF000000u | (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
}
constexpr Colour ColourOf(uint32_t pixel) {
    return Rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

} // namespace ondrel
