#include "dsp/ChannelAnalysis.h"
#include "dsp/SineTransform.h"

#include <gtest/gtest.h>

#include <random>

namespace ondrel {
namespace {

SineWindowTable Window() {
    SineWindowTable table;
    BuildSineWindowTable(table);
    return table;
}

TEST(SineWindowTable, RisesOverAQuarterPeriod) {
    const SineWindowTable table = Window();
    EXPECT_EQ(table[0], 0.0);
    EXPECT_DOUBLE_EQ(table[64], 0.6122934917841437);
    EXPECT_DOUBLE_EQ(table[128], 1.131370849898476);
    EXPECT_DOUBLE_EQ(table[255], 1.5999698804521618);
    for (size_t i = 1; i < table.size(); ++i) {
        EXPECT_GT(table[i], table[i - 1]);
    }
}

SampleBlock RandomBlock(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> sample(-32768, 32767);
    SampleBlock block;
    for (int32_t& s : block) {
        s = sample(random);
    }
    return block;
}

TEST(AnalyzeBlock, ChannelsComeOnlyFromTheirOwnSamples) {
    SampleBlock block = RandomBlock(1);
    for (size_t i = 1; i < block.size(); i += 2) {
        block[i] = 0;
    }
    ChannelData left, right;
    AnalyzeBlock(block, true, Window(), left, right);
    for (double v : right) {
        EXPECT_EQ(v, 0.0);
    }
    double largest = 0;
    for (double v : left) {
        largest = std::max(largest, std::abs(v));
    }
    EXPECT_GT(largest, 1.0);
}

TEST(AnalyzeBlock, WindowAndScaleReachTheTransformAsStated) {
    const SineWindowTable window = Window();
    SampleBlock block = RandomBlock(2);
    for (bool onFilter : {false, true}) {
        SCOPED_TRACE(onFilter);
        ChannelData left, right, expectLeft, expectRight;
        AnalyzeBlock(block, onFilter, window, left, right);
        for (size_t i = 0; i < TransformLength; ++i) {
            expectLeft[i] = block[2 * i] * (1.0 / 32767);
            expectRight[i] = block[2 * i + 1] * (1.0 / 32767);
            if (onFilter) {
                expectLeft[i] *= window[i];
                expectRight[i] *= window[i];
            }
        }
        SineTransform(expectLeft);
        SineTransform(expectRight);
        EXPECT_EQ(left, expectLeft);
        EXPECT_EQ(right, expectRight);
    }
}

TEST(AnalyzeBlock, IgnoresTheFirstFrameWithTheWindowAndTheSecondHalfAlways) {
    const SineWindowTable window = Window();
    const SampleBlock block = RandomBlock(3);
    ChannelData left, right;
    AnalyzeBlock(block, true, window, left, right);

    SampleBlock changed = block;
    changed[0] = 32767;
    changed[1] = -32768;
    for (size_t i = 512; i < changed.size(); ++i) {
        changed[i] = 1000000;
    }
    ChannelData left2, right2;
    AnalyzeBlock(changed, true, window, left2, right2);
    EXPECT_EQ(left, left2);
    EXPECT_EQ(right, right2);
}

TEST(AnalyzeBlock, FullScaleWithoutWindowIsExactlyOneBeforeTheTransform) {
    SampleBlock block;
    block.fill(32767);
    ChannelData left, right;
    AnalyzeBlock(block, false, Window(), left, right);
    ChannelData ones;
    ones.fill(1.0);
    SineTransform(ones);
    EXPECT_EQ(left, ones);
}

} // namespace
} // namespace ondrel
