#include "views/Scope.h"

#include "views/Captions.h"
#include "views/ViewLimits.h"

namespace ondrel {
namespace {

// ceil(i × w / 512), exact for the non-negative widths the views receive.
int ScopeX(int i, int w) {
    return static_cast<int>((static_cast<long long>(i) * w + 511) / 512);
}

// (s × h) / 65535 + mid, truncating toward zero; wide so that no gain can overflow it, then
// limited to a range that still lies off the view, which clips it.
int ScopeY(int32_t s, int h, int mid) {
    long long y = static_cast<long long>(s) * h / 65535 + mid;
    constexpr long long Far = 1 << 24;
    return static_cast<int>(y < -Far ? -Far : (y > Far ? Far : y));
}

} // namespace

void DrawScope(Surface& target, const SampleBlock& samples, int width, int height) {
    const int w = ClampViewDimension(width), h = ClampViewDimension(height);
    const int half = w / 2, mid = h / 2;

    target.FillRect(0, 0, w, h, Black);
    target.SelectPen(Pen{1, White});

    target.MoveTo(ScopeX(0, w), ScopeY(samples[0], h, mid));
    for (int i = 0; i < 256; ++i) {
        target.LineTo(ScopeX(i, w), ScopeY(samples[2 * i], h, mid));
    }
    target.MoveTo(half, ScopeY(samples[1], h, mid));
    for (int i = 1; i < 256; ++i) {
        target.LineTo(half + ScopeX(i, w), ScopeY(samples[2 * i + 1], h, mid));
    }

    target.SelectPen(Pen{2, DividerColour});
    target.MoveTo(half, h);
    target.LineTo(half, 0);

    if (w > 300 && h > 100) {
        DrawChannelCaptions(target, static_cast<int>(0.2 * w), 10, static_cast<int>(0.7 * w), 10);
    }
}

} // namespace ondrel
