#include "views/Surface.h"
#include "views/SurfaceText.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace ondrel {
namespace {

constexpr Colour Red = Rgb(255, 0, 0);

// Every pixel of `s` that is not black, as "x,y" strings, to compare small pictures.
std::vector<std::pair<int, int>> Lit(const Surface& s) {
    std::vector<std::pair<int, int>> lit;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.GetPixel(x, y) != Black) {
                lit.emplace_back(x, y);
            }
        }
    }
    return lit;
}

using Points = std::vector<std::pair<int, int>>;

TEST(Surface, NewSurfaceIsBlackAndColoursKeepRedInTheLowByte) {
    Surface s(4, 3);
    EXPECT_TRUE(Lit(s).empty());
    s.SetPixel(1, 2, Rgb(1, 2, 3));
    EXPECT_EQ(s.GetPixel(1, 2), 0x030201u);
    EXPECT_EQ(s.pixels()[2 * 4 + 1], 0xFF010203u);
}

TEST(Surface, FillRectIsHalfOpenAndClipped) {
    Surface s(5, 5);
    s.FillRect(1, 1, 3, 4, Red);
    EXPECT_EQ(Lit(s), (Points{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}}));
    s.FillRect(-100, -100, 100, 100, White);
    EXPECT_EQ(Lit(s).size(), 25u);
    s.FillRect(4, 4, 2, 2, Black); // empty when right < left
    EXPECT_EQ(s.GetPixel(3, 3), White);
}

TEST(Surface, ThinLinesLeaveOutTheirLastPixel) {
    struct Case {
        const char* name;
        int x0, y0, x1, y1;
        Points expected;
    };
    const Case cases[] = {
        {"right", 1, 1, 4, 1, {{1, 1}, {2, 1}, {3, 1}}},
        {"left", 4, 1, 1, 1, {{2, 1}, {3, 1}, {4, 1}}},
        {"down", 2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}}},
        {"up", 2, 3, 2, 0, {{2, 1}, {2, 2}, {2, 3}}},
        {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {"zero length", 2, 2, 2, 2, {}},
        {"shallow", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {"clipped at both ends", -3, 2, 9, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {"far outside", INT_MIN, 1, INT_MAX, 1, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"steep far off", 2, -2000000000, 2, 2000000000, {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}}},
        {"entirely off", -10, -10, -1, 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface s(5, 5);
        s.SelectPen(Pen{1, White});
        s.MoveTo(c.x0, c.y0);
        s.LineTo(c.x1, c.y1);
        EXPECT_EQ(Lit(s), c.expected);
    }
}

TEST(Surface, WidePensAreCentredOnTheLine) {
    struct Case {
        int width;
        int first, last; // rows covered by a horizontal line at y = 10
    };
    const Case cases[] = {{2, 9, 10}, {5, 8, 12}, {8, 6, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Surface s(40, 20);
        s.SelectPen(Pen{c.width, Red});
        s.MoveTo(-10, 10);
        s.LineTo(50, 10);
        for (int y = 0; y < 20; ++y) {
            EXPECT_EQ(s.GetPixel(20, y), (y >= c.first && y <= c.last) ? Red : Black) << y;
        }
        // The same pen drawn vertically covers the same columns around x = 10.
        Surface v(20, 40);
        v.SelectPen(Pen{c.width, Red});
        v.MoveTo(10, 50);
        v.LineTo(10, -10);
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(v.GetPixel(x, 20), (x >= c.first && x <= c.last) ? Red : Black) << x;
        }
    }
}

TEST(Surface, EllipseHasItsPenOnTheBorderAndItsBrushInside) {
    Surface s(40, 40);
    s.SelectPen(Pen{2, Red});
    s.SelectBrush(White);
    s.Ellipse(10, 10, 30, 30);
    EXPECT_EQ(s.GetPixel(20, 20), White);
    EXPECT_EQ(s.GetPixel(10, 20), Red);
    EXPECT_EQ(s.GetPixel(29, 20), Red);
    EXPECT_EQ(s.GetPixel(20, 10), Red);
    EXPECT_EQ(s.GetPixel(11, 11), Black); // outside the curve, inside the box corner
    EXPECT_EQ(s.GetPixel(5, 20), Black);
    s.Ellipse(-1000, -1000, 100000, 100000); // clipped, no crash
}

TEST(Surface, BitBltIsCorrectForOverlappingBlocksOnOneSurface) {
    auto numbered = [] {
        Surface s(6, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                s.SetPixel(x, y, static_cast<Colour>(1 + x + 10 * y));
            }
        }
        return s;
    };
    struct Case {
        const char* name;
        int x, y, sx, sy;
        int px, py; // a target pixel and the source pixel it must now hold
        int qx, qy;
    };
    const Case cases[] = {
        {"left by one", 0, 0, 1, 0, 0, 0, 1, 0},
        {"right by one", 1, 0, 0, 0, 5, 3, 4, 3},
        {"up by one", 0, 0, 0, 1, 2, 0, 2, 1},
        {"down by one", 0, 1, 0, 0, 2, 3, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Surface before = numbered();
        Surface s = numbered();
        s.BitBlt(c.x, c.y, 6, 4, s, c.sx, c.sy);
        EXPECT_EQ(s.GetPixel(c.px, c.py), before.GetPixel(c.qx, c.qy));
        // Every copied pixel moved by the same offset.
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const int fx = x - c.x + c.sx, fy = y - c.y + c.sy;
                const bool copied = fx >= 0 && fx < 6 && fy >= 0 && fy < 4 && x >= c.x && y >= c.y;
                EXPECT_EQ(s.GetPixel(x, y),
                          copied ? before.GetPixel(fx, fy) : before.GetPixel(x, y))
                    << x << "," << y;
            }
        }
    }
}

TEST(Surface, StretchBltOrsDroppedRowsAndColumnsWhenShrinking) {
    Surface source(4, 4);
    source.SetPixel(1, 0, Rgb(0, 0, 60));
    source.SetPixel(0, 1, Rgb(40, 0, 0));
    source.SetPixel(3, 3, Rgb(0, 7, 0));
    Surface target(2, 2);
    target.SetStretchMode(StretchMode::WhiteOnBlack);
    target.StretchBlt(2, 2, source);
    EXPECT_EQ(target.GetPixel(0, 0), Rgb(40, 0, 60));
    EXPECT_EQ(target.GetPixel(1, 1), Rgb(0, 7, 0));
    EXPECT_EQ(target.GetPixel(1, 0), Black);

    Surface plain(2, 2);
    plain.StretchBlt(2, 2, source);
    EXPECT_EQ(plain.GetPixel(0, 0), Black); // only the kept pixel (0, 0)

    Surface larger(8, 8);
    larger.SetStretchMode(StretchMode::WhiteOnBlack);
    larger.StretchBlt(8, 8, source);
    EXPECT_EQ(larger.GetPixel(2, 0), Rgb(0, 0, 60));
    EXPECT_EQ(larger.GetPixel(3, 1), Rgb(0, 0, 60));
    EXPECT_EQ(larger.GetPixel(7, 7), Rgb(0, 7, 0));

    Surface small(1, 1);
    small.StretchBlt(500, 500, source); // clipped at the target's edges
}

TEST(Surface, TextCellIsOpaqueAndClipped) {
    Surface s(200, 40);
    s.FillRect(0, 0, 200, 40, White);
    s.SetTextColour(Rgb(200, 200, 200));
    s.SetBackgroundColour(Black);
    s.TextOut(10, 5, "Left Channel.");
    const TextExtent extent = MeasureText("Left Channel.", DefaultGuiFont());
    ASSERT_GT(extent.width, 40);
    ASSERT_GT(extent.height, 8);
    int black = 0, text = 0;
    for (int y = 5; y < 5 + extent.height; ++y) {
        for (int x = 10; x < 10 + extent.width; ++x) {
            const Colour c = s.GetPixel(x, y);
            black += c == Black;
            text += c == Rgb(200, 200, 200);
        }
    }
    EXPECT_GT(black, text);
    EXPECT_GT(text, 10);
    EXPECT_EQ(s.GetPixel(9, 5), White);
    EXPECT_EQ(s.GetPixel(10 + extent.width, 5), White);
    EXPECT_EQ(s.GetPixel(10, 5 + extent.height), White);
    s.TextOut(-30, -5, "Right Channel.");
    s.TextOut(190, 35, "Right Channel.");
    s.TextOut(INT_MAX, INT_MAX, "Right Channel.");
    s.TextOut(INT_MIN, INT_MIN, "Right Channel.");
}

} // namespace
} // namespace ondrel
