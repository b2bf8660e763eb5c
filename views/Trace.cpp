#include "views/Trace.h"

#include "views/Captions.h"
#include "views/ViewLimits.h"

#include <cmath>

namespace ondrel {

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

void DrawTrace(Surface& target, TraceState& state, const ChannelData& left,
               const ChannelData& right, int width, int height) {
    constexpr int W = TraceState::HistoryWidth, H = TraceState::HistoryHeight;
    const int w = ClampViewDimension(width), h = ClampViewDimension(height);
    Surface& history = state.history;
    if (!state.created) {
        history.Resize(W, H);
        history.FillRect(0, 0, W, H, Black);
        state.created = true;
    }

    history.SelectPen(Pen{5, DividerColour});
    history.MoveTo(0, 257);
    history.LineTo(W, 257);

    history.BitBlt(0, 0, W, H, history, 1, 0);

    for (int k = 1; k < 256; ++k) {
        history.SetPixel(W - 1, 512 - k, TraceColour(right[k]));
    }
    for (int k = 0; k < 256; ++k) {
        history.SetPixel(W - 1, 256 - k, TraceColour(left[k]));
    }

    target.StretchBlt(w, h, history);

    if (h > 80) {
        DrawChannelCaptions(target, 20, 12, 20, (h - 6) / 2 + 14);
    }
}

} // namespace ondrel
