#include "views/Analog.h"

#include "views/MeterLevel.h"
#include "views/ViewLimits.h"

#include <cmath>

namespace ondrel {
namespace {

constexpr double AngleStep = 0.015707963267948967; // π/200
constexpr int ScalePoints = 140;

constexpr Argb DiscColour = MakeArgb(255, 0, 0, 0);
constexpr Argb GreenSpan = MakeArgb(255, 40, 200, 40);
constexpr Argb YellowSpan = MakeArgb(255, 220, 220, 0);
constexpr Argb RedSpan = MakeArgb(255, 220, 0, 0);
constexpr Argb CaptionArgb = MakeArgb(255, 240, 240, 240);
constexpr Argb LabelArgb = MakeArgb(255, 200, 200, 200);
constexpr Argb NeedleArgb = MakeArgb(255, 250, 100, 100);

// The classic font call's script-family request for the dial captions.
Font DialFont(int height, bool underline) {
    constexpr int Bold = 700, TrueTypePrecision = 4, DraftQuality = 1, ScriptFamily = 64;
    return CreateFont(height, 0, 0, 0, Bold, true, underline, false, 0, TrueTypePrecision, 0,
                      DraftQuality, ScriptFamily, nullptr);
}

void ScalePointsOf(const AnalogLayout& layout, int pivotX, PointF (&points)[ScalePoints]) {
    const double radius = layout.needleLength * 0.89;
    for (int j = 0; j < ScalePoints; ++j) {
        const double angle = (j + 30) * AngleStep;
        points[j].x = static_cast<float>(pivotX + radius * std::cos(angle));
        points[j].y = static_cast<float>(layout.pivotY + radius * std::sin(angle));
    }
}

void DrawBackground(AnalogState& state, int w, int h) {
    Surface& cache = state.cache;
    AnalogLayout& layout = state.layout;
    state.needlePen = SmoothPen{NeedleArgb, static_cast<float>(w * 0.004)};
    cache.Resize(w, h);
    cache.FillRect(0, 0, w, h, Black);

    layout.pivotLeftX = static_cast<int>(w * 0.25);
    layout.pivotRightX = static_cast<int>(w * 0.75);
    layout.pivotY = static_cast<int>(h * 1.25);
    layout.needleLength = h * -1.125;

    if (h > 100) {
        const int d = static_cast<int>(h * 0.52);
        const int dx = static_cast<int>(h * 0.26), dy = static_cast<int>(h * 0.32);
        cache.SmoothFillEllipse(layout.pivotLeftX - dx, layout.pivotY - dy, d, d, DiscColour);
        cache.SmoothFillEllipse(layout.pivotRightX - dx, layout.pivotY - dy, d, d, DiscColour);
    }

    PointF left[ScalePoints], right[ScalePoints];
    ScalePointsOf(layout, layout.pivotLeftX, left);
    ScalePointsOf(layout, layout.pivotRightX, right);
    struct Span {
        Argb colour;
        int first, count;
    };
    // The red span starts inside the yellow one and is drawn over it.
    for (Span span : {Span{GreenSpan, 0, 70}, Span{YellowSpan, 69, 34}, Span{RedSpan, 96, 43}}) {
        const SmoothPen scale{span.colour, 2.0f};
        cache.SmoothBeziers(left + span.first, span.count, scale);
        cache.SmoothBeziers(right + span.first, span.count, scale);
    }

    if (h > 60) {
        const Font captions = DialFont(static_cast<int>(h * 0.13), true);
        cache.SmoothText(w * 0.17, h * 0.42, "Left Channel.", captions, CaptionArgb);
        cache.SmoothText(w * 0.66, h * 0.42, "Right Channel.", captions, CaptionArgb);

        const Font label = DialFont(static_cast<int>(h * 0.183), false);
        cache.SmoothText(w * 0.21875, h * 0.7, "VU", label, LabelArgb);
        cache.SmoothText(w * 0.72, h * 0.7, "VU", label, LabelArgb);
        cache.SelectFont(label);
        cache.SetBackgroundColour(Black);
        cache.SetTextColour(White);
        cache.TextOut(static_cast<int>(w * 0.21875), static_cast<int>(h * 0.7), "VU");
        cache.TextOut(static_cast<int>(w * 0.72), static_cast<int>(h * 0.7), "VU");
    }
}

} // namespace

double StepNeedle(double needle, int target) {
    if (needle < target) {
        return target - needle > 4 ? needle + 4 : (needle + target) * 0.5;
    }
    return needle - 2;
}

NeedleEnd NeedleEndPoint(const AnalogLayout& layout, int pivotX, double value) {
    const double angle = (value + 35) * AngleStep;
    return {pivotX + static_cast<int>(layout.needleLength * std::cos(angle)),
            layout.pivotY + static_cast<int>(layout.needleLength * std::sin(angle))};
}

const SmoothPen& DrawAnalogBackground(Surface& target, AnalogState& state, int width, int height) {
    const int w = ClampViewDimension(width), h = ClampViewDimension(height);
    if (!state.hasCache || w != state.cachedWidth || h != state.cachedHeight) {
        state.cachedWidth = w;
        state.cachedHeight = h;
        DrawBackground(state, w, h);
        state.hasCache = true;
        ++state.backgroundBuilds;
    }
    target.BitBlt(0, 0, w, h, state.cache, 0, 0);
    return state.needlePen;
}

void DrawAnalog(Surface& target, AnalogState& state, const ChannelData& right,
                const ChannelData& left, int width, int height) {
    const SmoothPen& pen = DrawAnalogBackground(target, state, width, height);
    state.needleLeft = StepNeedle(state.needleLeft, MeterLevel(left) / 2);
    state.needleRight = StepNeedle(state.needleRight, MeterLevel(right) / 2);
    state.needleLeft = std::max(state.needleLeft, 0.0);
    state.needleRight = std::max(state.needleRight, 0.0);

    const AnalogLayout& layout = state.layout;
    const NeedleEnd leftEnd = NeedleEndPoint(layout, layout.pivotLeftX, state.needleLeft);
    target.SmoothLine(layout.pivotLeftX, layout.pivotY, leftEnd.x, leftEnd.y, pen);
    const NeedleEnd rightEnd = NeedleEndPoint(layout, layout.pivotRightX, state.needleRight);
    target.SmoothLine(layout.pivotRightX, layout.pivotY, rightEnd.x, rightEnd.y, pen);
}

} // namespace ondrel
