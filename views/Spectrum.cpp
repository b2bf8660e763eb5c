#include "views/Spectrum.h"

#include "views/Captions.h"
#include "views/ViewLimits.h"

#include <algorithm>
#include <cmath>

namespace ondrel {
namespace {

// A channel term trunc(k × t) taken modulo 256.
unsigned Term(double k, double t) {
    return static_cast<unsigned>(static_cast<int>(k * t)) & 0xFF;
}

void GroupBands(ChannelData& left, ChannelData& right, int n) {
    double leftSum = 0, rightSum = 0;
    const double share = 1.0 / n;
    for (int j = 1; j < 256; ++j) {
        leftSum += std::fabs(left[j]);
        rightSum += std::fabs(right[j]);
        if (j % n == 0) {
            const double leftAverage = leftSum * share, rightAverage = rightSum * share;
            for (int i = j - n; i <= j - 2; ++i) {
                left[i] = leftAverage;
                right[i] = rightAverage;
            }
            left[j - 1] = 0;
            right[j - 1] = 0;
            leftSum = rightSum = 0;
        }
    }
}

// trunc(magnitude × scale), lowered to h; NaN draws no bar.
int BarHeight(double value, double scale, int h) {
    const double pixels = std::fabs(value) * scale;
    if (pixels >= h) {
        return h;
    }
    return pixels >= 0 ? static_cast<int>(pixels) : 0;
}

void RebuildCache(SpectrumState& s, int style, int w, int h) {
    s.cachedStyle = style;
    s.cachedWidth = w;
    s.cachedHeight = h;
    s.pixelsPerBin = std::max(w / 256, 1);
    s.barScale = h * 0.078125;
    s.peakFall = h * 0.005;
    s.gradientColumn.assign(static_cast<size_t>(h), PixelOf(Black));
    s.hasGradientColumn = true;
    // Only every second row takes a colour; row h - 0 lies below the column.
    for (int i = 0; i < h; i += 2) {
        const Colour colour = SpectrumColor(s, style, i, h, true);
        if (i > 0) {
            s.gradientColumn[h - i] = PixelOf(colour);
        }
    }
}

void DrawHalf(Surface& target, SpectrumState& s, const ChannelData& values, double* peaks,
              int style, int w, int h, bool mirrored, int start) {
    const uint32_t* column = s.gradientColumn.data();
    Colour peakColour = Black;
    for (int i = 0; 2 * i < w; ++i) {
        const int k = std::min(i / s.pixelsPerBin, 255);
        const int v = BarHeight(values[k], s.barScale, h);
        if (i % s.pixelsPerBin == 0) {
            peaks[k] = std::max(static_cast<double>(v), peaks[k] - s.peakFall);
            peakColour = SpectrumColor(s, style, static_cast<int>(peaks[k]), h, false);
        }
        const int x = mirrored ? start - i : start + i;
        if (x >= 0 && x < target.width()) {
            uint32_t* pixels = target.pixels();
            const int bottom = std::min(h, target.height());
            for (int row = h - v; row < bottom; ++row) {
                pixels[static_cast<size_t>(row) * target.width() + x] = column[row];
            }
        }
        target.SetPixel(x, h - static_cast<int>(peaks[k]), peakColour);
    }
}

} // namespace

Colour SpectrumColor(SpectrumState& s, int style, int value, int height, bool rebuildLevels) {
    if (rebuildLevels && style == 0) {
        s.classicLevel[0] = static_cast<int>(0.484375 * height);
        s.classicLevel[1] = static_cast<int>(0.5 * height);
        s.classicLevel[2] = static_cast<int>(0.734375 * height);
        s.classicLevel[3] = static_cast<int>(0.75 * height);
        s.classicColor[0] = White;
        s.classicColor[1] = Rgb(220, 220, 0);
        s.classicColor[2] = White;
        s.classicColor[3] = Rgb(220, 0, 0);
    }
    if (style == 0) {
        for (int j = 3; j >= 0; --j) {
            if (value >= s.classicLevel[j]) {
                return s.classicColor[j];
            }
        }
        return Rgb(40, 200, 40);
    }
    if (style == 3) {
        return Rgb(247, 112, 7);
    }
    if (style == 4) {
        return Rgb(69, 110, 216);
    }
    if (height <= 0 || style < 0 || style > 8) {
        return Black;
    }
    const double t = static_cast<double>(value) / height;
    switch (style) {
    case 1: {
        const unsigned g = (105 + Term(150, t)) & 0xFF;
        return Rgb(g, g, g);
    }
    case 2: {
        const unsigned g = (35 + Term(220, t)) & 0xFF;
        return Rgb(g, g, g);
    }
    case 5:
        return Rgb(55 + Term(200, t), 85 + Term(100, t), 250 - Term(200, t));
    case 6:
        return Rgb(50 + Term(200, t), 50 + Term(100, t), 250 - Term(150, t));
    case 7:
        return Rgb(Term(255, t), 100, 255 - Term(255, t));
    case 8:
        return Rgb(0, 255 - Term(200, t), 150 + Term(100, t));
    default:
        return Black;
    }
}

void DrawSpectrum(Surface& target, SpectrumState& s, ChannelData& left, ChannelData& right,
                  const DigitalSettings& digital) {
    const int w = ClampViewDimension(digital.DigitalSize.Width);
    const int h = ClampViewDimension(digital.DigitalSize.Height);
    const int half = w / 2;
    const int style = digital.ColorStyle;

    if (digital.BandSize > 0) {
        GroupBands(left, right, digital.BandSize);
    }
    if (style != s.cachedStyle || w != s.cachedWidth || h != s.cachedHeight ||
        !s.hasGradientColumn) {
        RebuildCache(s, style, w, h);
    }

    target.FillRect(0, 0, w, h, Black);
    if (w > 200 && h > 80) {
        DrawChannelCaptions(target, static_cast<int>(0.1 * w), 10, static_cast<int>(0.583 * w), 10);
    }
    DrawHalf(target, s, left, s.peakLeft, style, w, h, digital.LeftReversal,
             digital.LeftReversal ? half : 0);
    DrawHalf(target, s, right, s.peakRight, style, w, h, digital.RightReversal,
             digital.RightReversal ? 2 * half : half);

    target.SelectPen(Pen{2, DividerColour});
    target.MoveTo(half, h);
    target.LineTo(half, 0);
}

} // namespace ondrel
