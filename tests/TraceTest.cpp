#include "views/Trace.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using test::AllPixels;
using test::AnyPixel;

TEST(TraceColour, RampsFromBlackThroughBlueAndCyanToWhite) {
    struct Case {
        double c;
        Colour colour;
    };
    const Case cases[] = {
        {0, Black},
        {1, Rgb(0, 0, 60)},
        {-1, Rgb(0, 0, 60)},
        {1e-9, Rgb(0, 0, 1)},
        {4.25, Rgb(0, 0, 255)},
        {5, Rgb(0, 45, 255)},
        {8.5, Rgb(0, 255, 255)},
        {10, Rgb(90, 255, 255)},
        {13, White},
        {1e300, White},
        {std::numeric_limits<double>::infinity(), White},
        {std::numeric_limits<double>::quiet_NaN(), Black},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TraceColour(c.c), c.colour) << c.c;
    }
}

// The 640 × 512 history in age order, as a picture.
Surface HistoryOf(const TraceState& state) {
    Surface s(640, 512);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 640; ++x) {
            s.SetPixel(x, y, state.HistoryPixel(x, y));
        }
    }
    return s;
}

// Coefficient k of the left channel at 1 + k / 100 and of the right at 3 + k / 100, so each
// row of the history tells which coefficient it shows.
void Frame(ChannelData& left, ChannelData& right) {
    for (size_t k = 0; k < 256; ++k) {
        left[k] = 1.0 + static_cast<double>(k) / 100;
        right[k] = 3.0 + static_cast<double>(k) / 100;
    }
}

TEST(DrawTrace, FirstFrameHoldsTheNewestColumnAndTheDivider) {
    ChannelData left, right;
    Frame(left, right);
    TraceState state;
    Surface target(740, 612);
    target.SetStretchMode(StretchMode::WhiteOnBlack);
    DrawTrace(target, state, left, right, 640, 512);
    const Surface history = HistoryOf(state);
    EXPECT_TRUE(AllPixels(history, 0, 255, 639, 260, DividerColour));
    EXPECT_TRUE(AllPixels(history, 0, 0, 639, 255, Black));
    EXPECT_TRUE(AllPixels(history, 0, 260, 639, 512, Black));
    EXPECT_EQ(history.GetPixel(639, 0), Black);
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(history.GetPixel(639, 256 - k), TraceColour(left[k])) << k;
    }
    for (int k = 1; k < 256; ++k) {
        ASSERT_EQ(history.GetPixel(639, 512 - k), TraceColour(right[k])) << k;
    }
    // At its own size the view is the history, with the captions over it.
    for (int y = 30; y < 512; y += 7) {
        for (int x = 600; x < 640; ++x) {
            ASSERT_EQ(target.GetPixel(x, y), history.GetPixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_TRUE(AnyPixel(target, 20, 12, 90, 26, CaptionColour));
    EXPECT_TRUE(AnyPixel(target, 20, 267, 90, 281, CaptionColour)); // (512 - 6) / 2 + 14
}

TEST(DrawTrace, ScrollsOneColumnPerFrameAndKeepsItsHistory) {
    ChannelData left, right;
    Frame(left, right);
    ChannelData quiet{}, loud;
    loud.fill(13);
    TraceState state;
    Surface target(460, 356);
    target.SetStretchMode(StretchMode::WhiteOnBlack);
    DrawTrace(target, state, loud, loud, 360, 256);
    DrawTrace(target, state, left, right, 360, 256);
    // The loud column moved to 638; the divider now covers its rows 255 to 259.
    EXPECT_EQ(state.HistoryPixel(638, 100), White);
    EXPECT_EQ(state.HistoryPixel(638, 257), DividerColour);
    EXPECT_EQ(state.HistoryPixel(638, 0), Black);
    EXPECT_EQ(state.HistoryPixel(639, 100), TraceColour(left[156]));

    // Another view's time adds nothing; the next trace frame goes on from the same history.
    const Surface kept = HistoryOf(state);
    DrawTrace(target, state, quiet, quiet, 360, 256);
    const Surface after = HistoryOf(state);
    for (int y = 0; y < 512; ++y) {
        const bool divider = y >= 255 && y < 260;
        for (int x = 0; x < 639; ++x) {
            ASSERT_EQ(after.GetPixel(x, y),
                      divider && x == 638 ? DividerColour : kept.GetPixel(x + 1, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(state.HistoryPixel(637, 100), White);
}

TEST(DrawTrace, ShrunkViewOrsTheDroppedPixelsAndCaptionsNeedHeight) {
    ChannelData quiet{}, left{}, right{};
    left[100] = 13; // row 156 of the history only
    TraceState state;
    Surface target(460, 356);
    target.SetStretchMode(StretchMode::WhiteOnBlack);
    DrawTrace(target, state, left, right, 360, 256);
    // Row 156 and column 639 map to row 78 and column 359: OR keeps the lone white pixel.
    EXPECT_EQ(target.GetPixel(359, 78), White);
    EXPECT_TRUE(AnyPixel(target, 20, 12, 90, 26, CaptionColour));
    EXPECT_TRUE(AnyPixel(target, 20, 139, 90, 153, CaptionColour));

    Surface low(460, 180);
    low.SetStretchMode(StretchMode::WhiteOnBlack);
    DrawTrace(low, state, quiet, quiet, 360, 80);
    EXPECT_FALSE(AnyPixel(low, 0, 0, 360, 80, CaptionColour));

    for (auto [w, h] : {std::pair{0, 0}, {-1, -1}, {100000, 100000}}) {
        DrawTrace(low, state, quiet, quiet, w, h);
    }
}

} // namespace
} // namespace ondrel
