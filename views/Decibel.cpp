#include "views/Decibel.h"

#include "views/MeterLevel.h"
#include "views/ViewLimits.h"

namespace ondrel {
namespace {

constexpr int LampPenWidth = 8;
constexpr Colour LitGreen = 1634328; // RGB(24, 240, 24)
constexpr Colour LitYellow = 62194;  // RGB(242, 242, 0)
constexpr Colour LitRed = 242;       // RGB(242, 0, 0)
constexpr Colour DarkGreen = 337925; // RGB(5, 40, 5)
constexpr Colour DarkYellow = 14135; // RGB(55, 55, 0)
constexpr Colour DarkRed = 55;       // RGB(55, 0, 0)

// A lamp: an ellipse drawn with the width-8 pen and the brush of the same colour.
void SelectLamp(Surface& s, Colour colour) {
    s.SelectPen(Pen{LampPenWidth, colour});
    s.SelectBrush(colour);
}

void DrawLamp(Surface& s, const DecibelLayout& layout, int i, int rowTop) {
    const int centre = rowTop + 6;
    const int left = 22 + i * layout.spacing;
    s.Ellipse(left, static_cast<int>(centre - layout.lampSize * 0.5), left + layout.lampSize,
              static_cast<int>(centre + layout.lampSize * 0.5));
}

int YellowFrom(int lampCount) {
    return static_cast<int>(lampCount * 0.5);
}
int RedFrom(int lampCount) {
    return static_cast<int>(lampCount * 0.83);
}

void LightRow(Surface& target, const DecibelLayout& layout, int level, int rowTop) {
    SelectLamp(target, LitGreen);
    const double lit = static_cast<double>(layout.lampCount) * level / 256;
    for (int i = 0; i < lit; ++i) {
        if (i == YellowFrom(layout.lampCount)) {
            SelectLamp(target, LitYellow);
        }
        if (i == RedFrom(layout.lampCount)) {
            SelectLamp(target, LitRed);
        }
        DrawLamp(target, layout, i, rowTop);
    }
}

} // namespace

void DrawDecibelBackground(Surface& target, DecibelState& state, int width, int height) {
    const int w = ClampViewDimension(width), h = ClampViewDimension(height);
    if (!state.hasCache || w != state.cachedWidth || h != state.cachedHeight) {
        Surface& cache = state.cache;
        state.cachedWidth = w;
        state.cachedHeight = h;
        cache.Resize(w + 20, h + 20);
        state.hasCache = true;
        ++state.backgroundBuilds;

        DecibelLayout& layout = state.layout;
        layout.spacing = static_cast<int>(h * 0.1571428);
        layout.lampSize = static_cast<int>(layout.spacing * 0.363636);
        layout.rowTopL = static_cast<int>(h * 0.15);
        layout.rowTopR = static_cast<int>(h * 0.65);

        cache.FillRect(0, 0, w, h, Black);
        cache.SelectFont(DefaultGuiFont());
        cache.SetBackgroundColour(Black);
        cache.SetTextColour(White);
        if (h > 40) {
            cache.TextOut(-140 - static_cast<int>(-0.5 * w), 1 - static_cast<int>(-0.38 * h),
                          DecibelTitle);
        }
        cache.TextOut(10, layout.rowTopL, "L");
        cache.TextOut(10, layout.rowTopR, "R");

        layout.lampCount = (w - 40 == 0 || layout.spacing <= 0) ? 0 : (w - 40) / layout.spacing;

        SelectLamp(cache, DarkGreen);
        for (int i = 0; i < layout.lampCount; ++i) {
            if (i == YellowFrom(layout.lampCount)) {
                SelectLamp(cache, DarkYellow);
            } else if (i == RedFrom(layout.lampCount)) {
                SelectLamp(cache, DarkRed);
            }
            DrawLamp(cache, layout, i, layout.rowTopL);
            DrawLamp(cache, layout, i, layout.rowTopR);
        }
    }
    target.BitBlt(0, 0, w, h, state.cache, 0, 0);
}

void DrawDecibel(Surface& target, DecibelState& state, const ChannelData& right,
                 const ChannelData& left, int width, int height) {
    DrawDecibelBackground(target, state, width, height);
    LightRow(target, state.layout, MeterLevel(left), state.layout.rowTopL);
    LightRow(target, state.layout, MeterLevel(right), state.layout.rowTopR);
}

} // namespace ondrel
