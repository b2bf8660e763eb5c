#include "dsp/LevelSmoothing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace ondrel {
namespace {

struct Case {
    int mode;
    int quantity;
    double history;
    double value;
    double expected;
};

double SmoothOne(const Case& c) {
    ChannelData left{}, right{};
    BinHistory history;
    left[17] = c.value;
    right[200] = c.value;
    history.left[17] = c.history;
    history.right[200] = c.history;
    SmoothBins(left, right, history, c.mode, c.quantity);
    EXPECT_EQ(left[17], right[200]);
    return left[17];
}

TEST(SmoothBins, FollowsTheModesFormulas) {
    const Case cases[] = {
        {1, 0, 100, 20, 70},
        {1, 1, 100, 20, 85},
        {1, 0, 100, 100, 100},
        {1, 0, 100, 120, 120},
        {1, 0, -3, -5, -1},
        {1, 0, 0, -7, 1.75},
        {2, 0, 10, 2, 9.5},
        {2, 1, 10, 2, 9.75},
        {2, 0, 0.3, 0, 0},
        {2, 0, 0, -7, 0},
        {2, 0, 3, -7, 2.5},
        {2, 0, 2, 5, 5},
        {0, 0, 100, 20, 20},
        {3, 0, 100, 20, 20},
        {-1, 0, 100, -20, -20},
        // Quantities only an edited settings file holds.
        {1, 2, 100, 20, 90},
        {1, -1, 100, 20, 20},
        {2, 2, 10, 2, 10},
        {2, -2, 10, 2, 9},
        {1, INT_MAX, 100, 20, 100 - 120 / (4.0 * INT_MAX + 4)},
        {1, INT_MIN, 100, 20, 100 - 120 / (4.0 * INT_MIN + 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " quantity " << c.quantity << " H "
                                        << c.history << " X " << c.value);
        EXPECT_DOUBLE_EQ(SmoothOne(c), c.expected);
    }
}

TEST(SmoothBins, SilenceDecaysGeometricallyOrLinearly) {
    BinHistory history;
    history.left.fill(100);
    history.right.fill(100);
    for (int frame = 0; frame < 3; ++frame) {
        ChannelData left{}, right{};
        SmoothBins(left, right, history, SmoothMeanFall, 0);
        history.left = left;
        history.right = right;
    }
    EXPECT_DOUBLE_EQ(history.left[0], 100 * 0.75 * 0.75 * 0.75);

    history.left.fill(1);
    for (int frame = 0; frame < 3; ++frame) {
        ChannelData left{}, right{};
        SmoothBins(left, right, history, SmoothFixedFall, 1);
        history.left = left;
    }
    EXPECT_DOUBLE_EQ(history.left[0], 0.25);
}

TEST(SmoothBins, ZeroDivisorNeverProducesInfinity) {
    ChannelData left, right;
    left.fill(-5);
    right.fill(0);
    BinHistory history;
    history.left.fill(5);
    history.right.fill(1e300);
    SmoothBins(left, right, history, SmoothMeanFall, -1);
    for (size_t k = 0; k < left.size(); ++k) {
        EXPECT_TRUE(std::isfinite(left[k]) && std::isfinite(right[k]));
    }
}

} // namespace
} // namespace ondrel
