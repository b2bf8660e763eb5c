#include "views/Scope.h"

#include "ViewTestSupport.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using test::AllPixels;
using test::AnyPixel;

SampleBlock Constant(int32_t left, int32_t right) {
    SampleBlock block;
    for (size_t i = 0; i < FramesPerBlock; ++i) {
        block[2 * i] = left;
        block[2 * i + 1] = right;
    }
    return block;
}

TEST(DrawScope, SilenceGivesTwoFlatLinesAndTheDivider) {
    Surface s(462, 228);
    s.FillRect(0, 0, 462, 228, Rgb(9, 9, 9));
    DrawScope(s, Constant(0, 0), 362, 128);
    // Left line from x = 0 to x_255 = 181 (its last pixel left out), then the divider over
    // columns 180 and 181, the right line from 181 to 362.
    EXPECT_TRUE(AllPixels(s, 0, 64, 180, 65, White));
    EXPECT_TRUE(AllPixels(s, 182, 64, 362, 65, White));
    EXPECT_TRUE(AllPixels(s, 180, 0, 182, 128, DividerColour));
    EXPECT_FALSE(AnyPixel(s, 0, 30, 180, 64, White));
    EXPECT_FALSE(AnyPixel(s, 0, 65, 180, 128, White));
    EXPECT_EQ(s.GetPixel(362, 64), Rgb(9, 9, 9)); // nothing beyond the view
    // Captions at (72, 10) and (253, 10).
    EXPECT_TRUE(AnyPixel(s, 72, 10, 140, 25, CaptionColour));
    EXPECT_TRUE(AnyPixel(s, 253, 10, 330, 25, CaptionColour));
    EXPECT_FALSE(AnyPixel(s, 0, 0, 71, 40, CaptionColour));
}

TEST(DrawScope, VerticalMappingTruncatesTowardZero) {
    struct Case {
        int32_t sample;
        int y;
    };
    const Case cases[] = {{511, 64},    {-511, 64},  {512, 65}, {-512, 63},
                          {32767, 127}, {-32768, 0}, {100, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        Surface s(462, 228);
        DrawScope(s, Constant(c.sample, 0), 362, 128);
        EXPECT_EQ(s.GetPixel(50, c.y), White);
        EXPECT_EQ(s.GetPixel(50, c.y == 64 ? 63 : 64), Black);
    }
}

TEST(DrawScope, CaptionsOnlyAbove300By100AndTheSecondHalfNeverShows) {
    struct Case {
        int w, h;
        bool captions;
    };
    const Case cases[] = {{300, 128, false}, {362, 100, false}, {301, 101, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Surface s(c.w + 100, c.h + 100);
        DrawScope(s, Constant(0, 0), c.w, c.h);
        EXPECT_EQ(AnyPixel(s, 0, 0, c.w, 30, CaptionColour), c.captions);
    }
    SampleBlock block = Constant(0, 0);
    Surface plain(462, 228), changed(462, 228);
    DrawScope(plain, block, 362, 128);
    for (size_t i = 512; i < block.size(); ++i) {
        block[i] = 30000;
    }
    DrawScope(changed, block, 362, 128);
    EXPECT_TRUE(std::equal(plain.pixels(), plain.pixels() + 462 * 228, changed.pixels()));
}

TEST(DrawScope, HugeGainAndBadSizesAreClipped) {
    Surface s(462, 228);
    DrawScope(s, Constant(327680, -327680), 362, 128);
    DrawScope(s, Constant(INT32_MAX, INT32_MIN), 362, 128);
    for (auto [w, h] : {std::pair{0, 0}, {-5, -5}, {100000, 100000}, {1, 1}}) {
        DrawScope(s, Constant(INT32_MAX, INT32_MIN), w, h);
    }
    Surface tiny(1, 1);
    DrawScope(tiny, Constant(1000, -1000), 362, 128);
}

} // namespace
} // namespace ondrel
