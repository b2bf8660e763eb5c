#include "views/Trace.h"

#include "views/Captions.h"
#include "views/ViewLimits.h"

#include <cmath>

namespace ondrel {
namespace {

constexpr int W = TraceState::HistoryWidth;
constexpr int H = TraceState::HistoryHeight;
// Rows of the divider line: a pen of width 5 centred on row 257.
constexpr int DividerTop = 255;
constexpr int DividerBottom = 260;

// Sets the pixel of one ring column in both of its copies; column is 0 to 639 and y 0 to 511.
void SetRingPixel(Surface& ring, int column, int y, Colour colour) {
    uint32_t* row = ring.pixels() + static_cast<size_t>(y) * (2 * W);
    row[column] = row[column + W] = PixelOf(colour);
}

} // namespace

Colour TraceColour(double coefficient) {
    const double b = std::ceil(std::fabs(coefficient) * 60);
    if (!(b >= 0)) {
        return Black; // NaN
    }
    if (b >= 766) {
        return White;
    }
    const unsigned level = static_cast<unsigned>(b);
    if (level <= 255) {
        return Rgb(0, 0, level);
    }
    if (level <= 510) {
        return Rgb(0, level - 255, 255);
    }
    return Rgb(level - 510, 255, 255);
}

Colour TraceState::HistoryPixel(int x, int y) const {
    if (!created || x < 0 || x >= W) {
        return Black;
    }
    return ring.GetPixel(newest + 1 + x, y);
}

void DrawTrace(Surface& target, TraceState& state, const ChannelData& left,
               const ChannelData& right, int width, int height) {
    const int w = ClampViewDimension(width), h = ClampViewDimension(height);
    Surface& ring = state.ring;
    if (!state.created) {
        // A black history whose every column already carries the divider, as the first
        // frame's divider line across the whole picture leaves it.
        ring.Resize(2 * W, H);
        ring.FillRect(0, DividerTop, 2 * W, DividerBottom, DividerColour);
        state.newest = W - 1;
        state.created = true;
    }

    // The column that was newest now shows the divider over its data, like every older one.
    for (int y = DividerTop; y < DividerBottom; ++y) {
        SetRingPixel(ring, state.newest, y, DividerColour);
    }
    // The oldest column's place takes the new frame.
    state.newest = (state.newest + 1) % W;
    for (int k = 1; k < 256; ++k) {
        SetRingPixel(ring, state.newest, 512 - k, TraceColour(right[k]));
    }
    for (int k = 0; k < 256; ++k) {
        SetRingPixel(ring, state.newest, 256 - k, TraceColour(left[k]));
    }

    target.StretchBlt(w, h, ring, state.newest + 1, 0, W, H);

    if (h > 80) {
        DrawChannelCaptions(target, 20, 12, 20, (h - 6) / 2 + 14);
    }
}

} // namespace ondrel
