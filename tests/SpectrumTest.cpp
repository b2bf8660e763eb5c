#include "views/Spectrum.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using test::AnyPixel;

constexpr Colour Green = Rgb(40, 200, 40);
constexpr Colour Yellow = Rgb(220, 220, 0);
constexpr Colour Red = Rgb(220, 0, 0);

DigitalSettings Digital(int w, int h, int style = 0) {
    DigitalSettings d;
    d.DigitalSize = {w, h};
    d.ColorStyle = style;
    return d;
}

// Draws one frame with every coefficient of both channels at `level`.
void DrawLevel(Surface& s, SpectrumState& state, double level, const DigitalSettings& d) {
    ChannelData left, right;
    left.fill(level);
    right.fill(level);
    DrawSpectrum(s, state, left, right, d);
}

TEST(DrawSpectrum, ClassicGradientRowsAtHeight128) {
    Surface s(460, 228);
    SpectrumState state;
    DrawLevel(s, state, 12.8, Digital(360, 128));
    EXPECT_EQ(state.classicLevel[0], 62);
    EXPECT_EQ(state.classicLevel[3], 96);
    // Column 5 is a full bar: rows counted up from the bottom edge (row 128 - i).
    struct Row {
        int above;
        Colour colour;
    };
    const Row rows[] = {{2, Green},   {60, Green}, {62, White},  {64, Yellow},
                        {92, Yellow}, {94, White}, {96, Red},    {126, Red},
                        {1, Black},   {61, Black}, {127, Black}, {63, Black}};
    for (const Row& r : rows) {
        EXPECT_EQ(s.GetPixel(5, 128 - r.above), r.colour) << r.above;
    }
}

TEST(DrawSpectrum, BandGroupingAveragesMagnitudesShiftedOneDown) {
    for (int n : {5, 15}) {
        SCOPED_TRACE(n);
        ChannelData left, right;
        for (size_t k = 0; k < 256; ++k) {
            left[k] = (k % 2 == 0 ? -1.0 : 1.0) * static_cast<double>(k);
            right[k] = 2.0 * static_cast<double>(k);
        }
        Surface s(460, 228);
        SpectrumState state;
        DigitalSettings d = Digital(360, 128);
        d.BandSize = n;
        DrawSpectrum(s, state, left, right, d);
        for (int band = 0; band * n + n <= 255; ++band) {
            const int first = band * n + 1, last = band * n + n;
            const double mean = (first + last) / 2.0;
            for (int i = band * n; i <= band * n + n - 2; ++i) {
                ASSERT_NEAR(left[i], mean, 1e-9) << i;
                ASSERT_NEAR(right[i], 2 * mean, 1e-9) << i;
            }
            ASSERT_EQ(left[band * n + n - 1], 0.0);
        }
        EXPECT_EQ(left[255], -255.0 * -1); // index 255 keeps its own value
        EXPECT_EQ(left[254], 0.0);
    }
}

TEST(DrawSpectrum, PeaksFallByPeakFallPerFrame) {
    Surface s(460, 228);
    SpectrumState state;
    const DigitalSettings d = Digital(360, 128);
    DrawLevel(s, state, 20.0, d);
    EXPECT_EQ(state.peakLeft[7], 128.0);
    EXPECT_EQ(s.GetPixel(7, 0), Red); // the peak sits on the bar's top row
    DrawLevel(s, state, 0.0, d);
    EXPECT_DOUBLE_EQ(state.peakLeft[7], 128 - 0.64);
    EXPECT_EQ(s.GetPixel(7, 1), Red); // 127.36 truncates to 127: row 1
    for (int frame = 1; frame < 200; ++frame) {
        DrawLevel(s, state, 0.0, d);
    }
    EXPECT_NEAR(state.peakLeft[7], 0.0, 1e-9);
    // A bar below 1 / barScale draws nothing; a peak of 0 lies on row h, below the view.
    DrawLevel(s, state, 0.09, d);
    EXPECT_FALSE(AnyPixel(s, 0, 0, 180, 128, Green));
}

TEST(DrawSpectrum, MirroredHalvesAtEvenAndOddWidths) {
    struct Case {
        int w;
        bool leftMirror, rightMirror;
        int leftX, rightX; // where coefficient 2 of each channel stands
    };
    const Case cases[] = {
        {360, false, false, 2, 182},
        {360, true, false, 178, 182},
        {360, false, true, 2, 358},
        {361, true, true, 178, 358},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " " << c.leftMirror << c.rightMirror);
        ChannelData left{}, right{};
        left[2] = 12.8;
        right[2] = 12.8;
        Surface s(c.w + 100, 228);
        SpectrumState state;
        DigitalSettings d = Digital(c.w, 128);
        d.LeftReversal = c.leftMirror;
        d.RightReversal = c.rightMirror;
        DrawSpectrum(s, state, left, right, d);
        EXPECT_EQ(s.GetPixel(c.leftX, 30), Red);
        EXPECT_EQ(s.GetPixel(c.rightX, 30), Red);
        EXPECT_FALSE(AnyPixel(s, 0, 30, c.leftX, 31, Red));
        EXPECT_FALSE(AnyPixel(s, c.leftX + 1, 30, c.rightX, 31, Red));
        EXPECT_FALSE(AnyPixel(s, c.rightX + 1, 30, c.w, 31, Red));
    }
    // An even width mirrored leaves x = 0 black.
    ChannelData left, right;
    left.fill(12.8);
    right.fill(12.8);
    Surface s(460, 228);
    SpectrumState state;
    DigitalSettings d = Digital(360, 128);
    d.LeftReversal = true;
    DrawSpectrum(s, state, left, right, d);
    EXPECT_EQ(s.GetPixel(0, 30), Black);
    EXPECT_EQ(s.GetPixel(1, 30), Red);
}

TEST(DrawSpectrum, WideViewsUseSeveralColumnsPerCoefficient) {
    ChannelData left{}, right{};
    left[148] = 12.8;
    left[150] = 12.8; // beyond the 150 coefficients a 600-wide half shows
    Surface s(700, 228);
    SpectrumState state;
    DrawSpectrum(s, state, left, right, Digital(600, 128));
    EXPECT_EQ(state.pixelsPerBin, 2);
    EXPECT_EQ(s.GetPixel(296, 30), Red);
    EXPECT_EQ(s.GetPixel(297, 30), Red);
    EXPECT_EQ(s.GetPixel(295, 30), Black);
    EXPECT_EQ(s.GetPixel(298, 30), Black);
    EXPECT_EQ(s.GetPixel(300, 30), DividerColour);
    EXPECT_FALSE(AnyPixel(s, 301, 30, 600, 31, Red));
}

TEST(DrawSpectrum, ColourStylesAndCaptionThresholds) {
    SpectrumState state;
    struct Case {
        int style, value;
        Colour colour;
    };
    const Case cases[] = {
        {1, 0, Rgb(105, 105, 105)},
        {1, 128, Rgb(255, 255, 255)},
        {2, 64, Rgb(145, 145, 145)},
        {3, 10, Rgb(247, 112, 7)},
        {4, 10, Rgb(69, 110, 216)},
        {5, 0, Rgb(55, 85, 250)},
        {5, 128, Rgb(255, 185, 50)},
        {6, 128, Rgb(250, 150, 100)},
        {7, 64, Rgb(127, 100, 128)},
        {8, 128, Rgb(0, 55, 250)},
        {9, 64, Black},
        {-5, 64, Black},
        {99, 64, Black},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpectrumColor(state, c.style, c.value, 128, false), c.colour)
            << c.style << " " << c.value;
    }

    for (auto [w, h, captions] : {std::tuple{201, 81, true}, {200, 128, false}, {360, 80, false}}) {
        Surface s(w + 100, h + 100);
        SpectrumState fresh;
        DrawLevel(s, fresh, 0.0, Digital(w, h));
        EXPECT_EQ(AnyPixel(s, 0, 0, w, 30, CaptionColour), captions) << w << "x" << h;
    }

    Surface s(460, 228);
    SpectrumState unknown;
    DrawLevel(s, unknown, 12.8, Digital(360, 128, 99));
    EXPECT_FALSE(AnyPixel(s, 0, 30, 179, 128, Red));
    EXPECT_TRUE(test::AllPixels(s, 0, 30, 179, 128, Black));
}

TEST(DrawSpectrum, RebuildsOnlyWhenStyleOrSizeChangeAndSurvivesBadSizes) {
    Surface s(460, 228);
    SpectrumState state;
    DrawLevel(s, state, 1.0, Digital(360, 128));
    const uint32_t* column = state.gradientColumn.data();
    DrawLevel(s, state, 1.0, Digital(360, 128));
    EXPECT_EQ(state.gradientColumn.data(), column);
    DrawLevel(s, state, 1.0, Digital(360, 128, 5));
    EXPECT_EQ(state.cachedStyle, 5);
    for (auto [w, h] : {std::pair{0, 0}, {-5, -7}, {100000, 100000}, {1, 1}, {511, 3}}) {
        DrawLevel(s, state, 1e308, Digital(w, h));
        ChannelData nan;
        nan.fill(std::numeric_limits<double>::quiet_NaN());
        ChannelData inf;
        inf.fill(std::numeric_limits<double>::infinity());
        DrawSpectrum(s, state, nan, inf, Digital(w, h));
        EXPECT_LE(state.cachedHeight, 4096);
    }
}

} // namespace
} // namespace ondrel
