#include "views/Decibel.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ondrel {
namespace {

constexpr Colour LitGreen = Rgb(24, 240, 24), LitYellow = Rgb(242, 242, 0), LitRed = Rgb(242, 0, 0);
constexpr Colour DarkGreen = Rgb(5, 40, 5), DarkYellow = Rgb(55, 55, 0), DarkRed = Rgb(55, 0, 0);

ChannelData Level(double sumOfMagnitudes) {
    ChannelData v{};
    v[0] = sumOfMagnitudes;
    return v;
}

// The colour at the centre of lamp i of a row.
Colour LampCentre(const Surface& s, const DecibelLayout& layout, int i, int rowTop) {
    return s.GetPixel(22 + i * layout.spacing + layout.lampSize / 2, rowTop + 6);
}

TEST(DrawDecibel, LayoutsFollowTheViewSize) {
    struct Case {
        int w, h;
        int spacing, lampSize, lampCount, centreL, centreR;
    };
    const Case cases[] = {
        {380, 70, 10, 3, 34, 16, 51}, {400, 100, 15, 5, 24, 21, 71}, {190, 34, 5, 1, 30, 11, 28},
        {380, 6, 0, 0, 0, 6, 9},      {40, 70, 10, 3, 0, 16, 51},    {30, 70, 10, 3, -1, 16, 51},
        {0, 0, 0, 0, 0, 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Surface target(c.w + 100, c.h + 100);
        DecibelState state;
        DrawDecibel(target, state, Level(0), Level(0), c.w, c.h);
        EXPECT_EQ(state.layout.spacing, c.spacing);
        EXPECT_EQ(state.layout.lampSize, c.lampSize);
        EXPECT_EQ(state.layout.lampCount, c.lampCount);
        EXPECT_EQ(state.layout.rowTopL + 6, c.centreL);
        EXPECT_EQ(state.layout.rowTopR + 6, c.centreR);
    }
}

TEST(DrawDecibel, SilenceShowsDarkLampsAndFullLevelLightsEveryLamp) {
    Surface target(480, 170);
    DecibelState state;
    DrawDecibel(target, state, Level(0), Level(0), 380, 70);
    const DecibelLayout& layout = state.layout;
    for (int i = 0; i < 34; ++i) {
        const Colour dark = i < 17 ? DarkGreen : (i < 28 ? DarkYellow : DarkRed);
        EXPECT_EQ(LampCentre(target, layout, i, layout.rowTopL), dark) << i;
        EXPECT_EQ(LampCentre(target, layout, i, layout.rowTopR), dark) << i;
    }
    // The title at (50, 27) and the captions, white on black.
    EXPECT_TRUE(test::AnyPixel(target, 50, 27, 120, 40, White));
    EXPECT_FALSE(test::AnyPixel(target, 0, 27, 49, 40, White));
    EXPECT_TRUE(test::AnyPixel(target, 10, 10, 20, 22, White));
    EXPECT_TRUE(test::AnyPixel(target, 10, 45, 20, 57, White));

    DrawDecibel(target, state, Level(328), Level(328), 380, 70); // S >= 328: level 256
    for (int i = 0; i < 34; ++i) {
        const Colour lit = i < 17 ? LitGreen : (i < 28 ? LitYellow : LitRed);
        EXPECT_EQ(LampCentre(target, layout, i, layout.rowTopL), lit) << i;
        EXPECT_EQ(LampCentre(target, layout, i, layout.rowTopR), lit) << i;
    }
    EXPECT_EQ(state.backgroundBuilds, 1);
}

TEST(DrawDecibel, LampsLightInProportionPerChannel) {
    Surface target(480, 170);
    DecibelState state;
    // Left: S = 128 gives level 100, 34 × 100 / 256 = 13.3, so 14 lamps. Right: silence.
    ChannelData left{};
    for (size_t k = 0; k < 128; ++k) {
        left[k] = k % 2 ? -1.9 : 1.2; // each term truncates to 1
    }
    DrawDecibel(target, state, Level(0), left, 380, 70);
    const DecibelLayout& layout = state.layout;
    EXPECT_EQ(LampCentre(target, layout, 13, layout.rowTopL), LitGreen);
    EXPECT_EQ(LampCentre(target, layout, 14, layout.rowTopL), DarkGreen);
    EXPECT_EQ(LampCentre(target, layout, 0, layout.rowTopR), DarkGreen);
}

TEST(DrawDecibel, OneOrTwoLampRowsShareTheirYellowAndRedLamp) {
    for (int lamps : {1, 2}) {
        SCOPED_TRACE(lamps);
        const int w = 40 + 10 * lamps; // spacing 10 at height 70
        Surface target(w + 100, 170);
        DecibelState state;
        DrawDecibel(target, state, Level(0), Level(0), w, 70);
        const DecibelLayout& layout = state.layout;
        ASSERT_EQ(layout.lampCount, lamps);
        // The last lamp is where both the yellow and the red band begin: dark yellow in the
        // background, red when lit.
        EXPECT_EQ(LampCentre(target, layout, lamps - 1, layout.rowTopL), DarkYellow);
        DrawDecibel(target, state, Level(328), Level(328), w, 70);
        EXPECT_EQ(LampCentre(target, layout, lamps - 1, layout.rowTopL), LitRed);
    }
}

TEST(DrawDecibel, BackgroundIsRebuiltOnlyForANewSize) {
    Surface target(500, 300);
    DecibelState state;
    DrawDecibel(target, state, Level(0), Level(0), 380, 70);
    DrawDecibel(target, state, Level(50), Level(0), 380, 70);
    EXPECT_EQ(state.backgroundBuilds, 1);
    DrawDecibel(target, state, Level(0), Level(0), 380, 71);
    EXPECT_EQ(state.backgroundBuilds, 2);
    DrawDecibel(target, state, Level(0), Level(0), 381, 71);
    EXPECT_EQ(state.backgroundBuilds, 3);
    for (auto [w, h] : {std::pair{-5, -5}, {100000, 100000}, {0, 0}}) {
        DrawDecibel(target, state, Level(1e300), Level(std::nan("")), w, h);
        EXPECT_LE(state.cache.width(), 4116);
    }
}

} // namespace
} // namespace ondrel
