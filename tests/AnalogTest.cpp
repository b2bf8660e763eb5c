#include "views/Analog.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ondrel {
namespace {

ChannelData Level(double sumOfMagnitudes) {
    ChannelData v{};
    v[0] = sumOfMagnitudes;
    return v;
}

TEST(StepNeedle, RisesByFourThenHalvesAndFallsByTwo) {
    double needle = 0;
    for (int frame = 1; frame <= 31; ++frame) {
        needle = StepNeedle(needle, 128);
        ASSERT_EQ(needle, 4.0 * frame);
    }
    const double halving[] = {126, 127, 127.5, 127.75};
    for (double expected : halving) {
        needle = StepNeedle(needle, 128);
        EXPECT_EQ(needle, expected);
    }
    EXPECT_EQ(StepNeedle(50, 50), 48); // reached: drops 2, then approaches again
    EXPECT_EQ(StepNeedle(48, 50), 49);
}

TEST(DrawAnalog, SilenceBringsTheNeedlesDownByTwoToZero) {
    Surface target(580, 220);
    AnalogState state;
    state.needleLeft = 7;
    state.needleRight = 1;
    const double expected[] = {5, 3, 1, 0, 0};
    for (double value : expected) {
        DrawAnalog(target, state, Level(0), Level(0), 480, 120);
        EXPECT_EQ(state.needleLeft, value);
        EXPECT_EQ(state.needleRight, 0.0);
    }
}

TEST(DrawAnalog, LayoutFollowsTheViewSize) {
    struct Case {
        int w, h;
        int pivotLeft, pivotRight, pivotY;
        double length;
        float penWidth;
        NeedleEnd atZero;
    };
    const Case cases[] = {
        {480, 120, 120, 360, 150, -135, 1.92f, {5, 80}},
        {800, 200, 200, 600, 250, -225, 3.2f, {9, 133}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Surface target(c.w + 100, c.h + 100);
        AnalogState state;
        DrawAnalog(target, state, Level(0), Level(0), c.w, c.h);
        EXPECT_EQ(state.layout.pivotLeftX, c.pivotLeft);
        EXPECT_EQ(state.layout.pivotRightX, c.pivotRight);
        EXPECT_EQ(state.layout.pivotY, c.pivotY);
        EXPECT_DOUBLE_EQ(state.layout.needleLength, c.length);
        EXPECT_FLOAT_EQ(state.needlePen.width, c.penWidth);
        const NeedleEnd end = NeedleEndPoint(state.layout, c.pivotLeft, 0);
        EXPECT_EQ(end.x, c.atZero.x);
        EXPECT_EQ(end.y, c.atZero.y);
    }
    AnalogState state;
    Surface target(580, 220);
    DrawAnalog(target, state, Level(0), Level(0), 480, 120);
    const NeedleEnd full = NeedleEndPoint(state.layout, 120, 128);
    EXPECT_EQ(full.x, 232);
    EXPECT_EQ(full.y, 76);
}

// Red dominates green and blue by far: the needle's colour, ARGB(255, 250, 100, 100),
// anti-aliased over black.
bool Reddish(Colour c) {
    return RedOf(c) > 120 && RedOf(c) > GreenOf(c) + 60;
}

TEST(DrawAnalog, PaintsArcsAndNeedlesNearTheirGeometry) {
    Surface target(580, 220);
    AnalogState state;
    DrawAnalog(target, state, Level(0), Level(0), 480, 120);
    // Scale points on the arc, radius 120.15 around (120, 150): angle (j + 30) × π/200.
    auto arc = [&](int j) {
        const double a = (j + 30) * M_PI / 200;
        return std::pair{static_cast<int>(std::lround(120 - 120.15 * std::cos(a))),
                         static_cast<int>(std::lround(150 - 120.15 * std::sin(a)))};
    };
    auto near = [&](std::pair<int, int> p, auto test) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (test(target.GetPixel(p.first + dx, p.second + dy))) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(near(arc(30), [](Colour c) { return GreenOf(c) > 120 && RedOf(c) < 100; }));
    EXPECT_TRUE(near(arc(85), [](Colour c) { return GreenOf(c) > 120 && RedOf(c) > 120; }));
    EXPECT_TRUE(near(arc(99), [](Colour c) { return RedOf(c) > 120 && GreenOf(c) < 60; }));
    EXPECT_TRUE(near(arc(120), [](Colour c) { return RedOf(c) > 120 && GreenOf(c) < 60; }));
    EXPECT_FALSE(near({60, 100}, [](Colour c) { return c != Black; })); // inside the dial

    // The needle at rest points from the pivot to (5, 80); its middle is on the line.
    EXPECT_TRUE(near({(120 + 5) / 2, (150 + 80) / 2}, Reddish));
    EXPECT_TRUE(near({8, 82}, Reddish));
    EXPECT_FALSE(near({232, 76}, Reddish));

    // Captions above height 60, "VU" in white.
    EXPECT_TRUE(test::AnyPixel(target, 81, 50, 180, 70, Rgb(240, 240, 240)));
    EXPECT_TRUE(test::AnyPixel(target, 105, 84, 140, 110, White));
    Surface low(580, 160);
    AnalogState lowState;
    DrawAnalog(low, lowState, Level(0), Level(0), 240, 60);
    EXPECT_FALSE(test::AnyPixel(low, 0, 0, 240, 60, White));
}

TEST(DrawAnalog, NeedlesSurviveSizeChangesAndBackgroundIsDrawnOncePerSize) {
    Surface target(900, 300);
    AnalogState state;
    for (int frame = 0; frame < 10; ++frame) {
        DrawAnalog(target, state, Level(400), Level(400), 480, 120);
    }
    EXPECT_EQ(state.needleLeft, 40);
    EXPECT_EQ(state.backgroundBuilds, 1);
    DrawAnalog(target, state, Level(400), Level(400), 800, 200);
    EXPECT_EQ(state.needleLeft, 44);
    EXPECT_EQ(state.backgroundBuilds, 2);
    for (auto [w, h] : {std::pair{0, 0}, {-3, -3}, {100000, 100000}, {1, 1}}) {
        DrawAnalog(target, state, Level(1e300), Level(std::nan("")), w, h);
        EXPECT_LE(state.cache.width(), 4096);
    }
}

} // namespace
} // namespace ondrel
