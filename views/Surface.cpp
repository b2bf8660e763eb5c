#include "views/Surface.h"

#include "views/SurfaceText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ondrel {
namespace {

// Floor of a / b for b > 0.
long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && (a < 0)) {
        --q;
    }
    return q;
}

// The minor-axis coordinate of a line at `step` pixels along its major axis: the nearest
// pixel to the exact line, halves rounded up.
long long MinorAt(long long step, long long major, long long minor) {
    return FloorDiv(2 * step * minor + major, 2 * major);
}

// The steps 0 to `last` along a line's major axis whose coordinate origin + direction × step
// lies on the surface, 0 to limit - 1: first > last when none does.
struct StepRange {
    long long first;
    long long last;
};
StepRange VisibleSteps(long long origin, long long direction, long long last, long long limit) {
    if (direction > 0) {
        return {std::max(0LL, -origin), std::min(last, limit - 1 - origin)};
    }
    return {std::max(0LL, origin - (limit - 1)), std::min(last, origin)};
}

} // namespace

void Surface::Resize(int width, int height) {
    painter_.Reset();
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_, PixelOf(Black));
    pen_ = Pen{};
    brush_ = White;
    curX_ = curY_ = 0;
    font_ = DefaultGuiFont();
    textColour_ = Black;
    backgroundColour_ = White;
    stretchMode_ = StretchMode::Plain;
}

Colour Surface::GetPixel(int x, int y) const {
    if (!Inside(x, y)) {
        return Black;
    }
    return ColourOf(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void Surface::SetPixel(int x, int y, Colour colour) {
    Plot(x, y, PixelOf(colour));
}

void Surface::FillRect(int left, int top, int right, int bottom, Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    const uint32_t pixel = PixelOf(colour);
    for (int y = top; y < bottom; ++y) {
        uint32_t* row = pixels_.data() + static_cast<size_t>(y) * width_;
        std::fill(row + left, row + std::max(left, right), pixel);
    }
}

void Surface::LineTo(int x, int y) {
    const uint32_t pixel = PixelOf(pen_.colour);
    if (pen_.width <= 1) {
        ThinLine(curX_, curY_, x, y, pixel);
    } else {
        WideLine(curX_, curY_, x, y, pixel);
    }
    curX_ = x;
    curY_ = y;
}

// Walks only the part of the major axis that lies on the surface, so that a line far off the
// surface (a gain that throws a trace many views away) costs no more than one across it.
void Surface::ThinLine(int x0, int y0, int x1, int y1, uint32_t pixel) {
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    if (dx == 0 && dy == 0) {
        return;
    }
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long direction = major > 0 ? 1 : -1;
    const long long length = std::llabs(major); // pixels drawn: the last one is left out
    const long long origin = xMajor ? x0 : y0;
    const long long limit = xMajor ? width_ : height_;
    const StepRange steps = VisibleSteps(origin, direction, length - 1, limit);
    for (long long step = steps.first; step <= steps.last; ++step) {
        const long long along = origin + direction * step;
        const long long across = (xMajor ? y0 : x0) + MinorAt(step, length, minor);
        if (across < 0 || across >= (xMajor ? height_ : width_)) {
            continue;
        }
        if (xMajor) {
            Plot(static_cast<int>(along), static_cast<int>(across), pixel);
        } else {
            Plot(static_cast<int>(across), static_cast<int>(along), pixel);
        }
    }
}

void Surface::WideLine(int x0, int y0, int x1, int y1, uint32_t pixel) {
    const int w = pen_.width;
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long direction = major >= 0 ? 1 : -1;
    const long long length = std::llabs(major);
    const long long origin = xMajor ? x0 : y0;
    const long long limit = xMajor ? width_ : height_;
    const long long acrossLimit = xMajor ? height_ : width_;
    const StepRange steps = VisibleSteps(origin, direction, length, limit);
    for (long long step = steps.first; step <= steps.last; ++step) {
        const long long along = origin + direction * step;
        const long long centre =
            (xMajor ? y0 : x0) + (length == 0 ? 0 : MinorAt(step, length, minor));
        const long long from = std::max(centre - w / 2, 0LL);
        const long long to = std::min(centre - w / 2 + w, acrossLimit);
        for (long long across = from; across < to; ++across) {
            if (xMajor) {
                Plot(static_cast<int>(along), static_cast<int>(across), pixel);
            } else {
                Plot(static_cast<int>(across), static_cast<int>(along), pixel);
            }
        }
    }
    // Round ends: discs of the pen's width around both end points, centred like the spans.
    const double offset = w / 2.0 - w / 2;
    const double cx0 = x0 + (xMajor ? 0.5 : offset), cy0 = y0 + (xMajor ? offset : 0.5);
    const double cx1 = x1 + (xMajor ? 0.5 : offset), cy1 = y1 + (xMajor ? offset : 0.5);
    Disc(cx0, cy0, w / 2.0, pixel);
    Disc(cx1, cy1, w / 2.0, pixel);
}

void Surface::Disc(double cx, double cy, double radius, uint32_t pixel) {
    const int left = static_cast<int>(std::max(std::floor(cx - radius), 0.0));
    const int right = static_cast<int>(std::min(std::ceil(cx + radius), double(width_)));
    const int top = static_cast<int>(std::max(std::floor(cy - radius), 0.0));
    const int bottom = static_cast<int>(std::min(std::ceil(cy + radius), double(height_)));
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const double ex = x + 0.5 - cx, ey = y + 0.5 - cy;
            if (ex * ex + ey * ey <= radius * radius) {
                Plot(x, y, pixel);
            }
        }
    }
}

void Surface::Ellipse(int left, int top, int right, int bottom) {
    const double cx = (static_cast<double>(left) + right) / 2;
    const double cy = (static_cast<double>(top) + bottom) / 2;
    const double a = std::abs(static_cast<double>(right) - left) / 2;
    const double b = std::abs(static_cast<double>(bottom) - top) / 2;
    const double half = pen_.width / 2.0;
    const double outerA = a + half, outerB = b + half;
    const double innerA = a - half, innerB = b - half;
    const int x0 = static_cast<int>(std::max(std::floor(cx - outerA), 0.0));
    const int x1 = static_cast<int>(std::min(std::ceil(cx + outerA), double(width_)));
    const int y0 = static_cast<int>(std::max(std::floor(cy - outerB), 0.0));
    const int y1 = static_cast<int>(std::min(std::ceil(cy + outerB), double(height_)));
    const uint32_t penPixel = PixelOf(pen_.colour);
    const uint32_t brushPixel = PixelOf(brush_);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const double px = x + 0.5 - cx, py = y + 0.5 - cy;
            const double outer = (px * px) / (outerA * outerA) + (py * py) / (outerB * outerB);
            if (outer > 1.0) {
                continue;
            }
            const bool inside = innerA > 0 && innerB > 0 &&
                                (px * px) / (innerA * innerA) + (py * py) / (innerB * innerB) < 1.0;
            Plot(x, y, inside ? brushPixel : penPixel);
        }
    }
}

void Surface::TextOut(int x, int y, std::string_view text) {
    DrawTextCell(*this, x, y, text, font_, textColour_, backgroundColour_);
}

void Surface::BitBlt(int x, int y, int width, int height, const Surface& source, int sx, int sy) {
    // Clip the block so that both its source and its target pixels exist.
    long long tx = x, ty = y, fx = sx, fy = sy, w = width, h = height;
    auto clip = [&](long long& target, long long& from, long long& size, long long targetLimit,
                    long long sourceLimit) {
        if (target < 0) {
            from -= target;
            size += target;
            target = 0;
        }
        if (from < 0) {
            target -= from;
            size += from;
            from = 0;
        }
        size = std::min({size, targetLimit - target, sourceLimit - from});
    };
    clip(tx, fx, w, width_, source.width_);
    clip(ty, fy, h, height_, source.height_);
    if (w <= 0 || h <= 0) {
        return;
    }
    // Rows go bottom-up when the target lies below the source on one surface; memmove keeps
    // each row right whichever way it overlaps.
    const bool upward = (&source == this) && ty > fy;
    for (long long i = 0; i < h; ++i) {
        const long long row = upward ? h - 1 - i : i;
        const uint32_t* from = source.pixels_.data() + (fy + row) * source.width_ + fx;
        uint32_t* to = pixels_.data() + (ty + row) * width_ + tx;
        std::memmove(to, from, static_cast<size_t>(w) * sizeof(uint32_t));
    }
}

void Surface::StretchBlt(int width, int height, const Surface& source, int sx, int sy, int sw,
                         int sh) {
    if (width <= 0 || height <= 0 || sw <= 0 || sh <= 0 || sx < 0 || sy < 0 ||
        sw > source.width_ - sx || sh > source.height_ - sy || &source == this) {
        return;
    }
    StretchTables& t = stretch_;
    if (t.sourceWidth != sw || t.sourceHeight != sh || t.width != width || t.height != height) {
        // Target index d takes the source indices s with floor(s × D / S) = d when shrinking,
        // and the one source index floor(d × S / D) otherwise.
        auto build = [](std::vector<int>& start, int target, int from) {
            start.resize(static_cast<size_t>(target) + 1);
            for (int d = 0; d <= target; ++d) {
                const long long scaled = static_cast<long long>(d) * from;
                start[d] = static_cast<int>(target < from ? (scaled + target - 1) / target
                                                          : scaled / target);
            }
        };
        build(t.columnStart, width, sw);
        build(t.rowStart, height, sh);
        t.row.resize(sw);
        t.sourceWidth = sw;
        t.sourceHeight = sh;
        t.width = width;
        t.height = height;
    }
    const bool orMode = stretchMode_ == StretchMode::WhiteOnBlack;
    const bool shrinkX = width < sw && orMode, shrinkY = height < sh && orMode;
    const int rows = std::min(height, height_), columns = std::min(width, width_);
    auto sourceRow = [&](int r) {
        return source.pixels_.data() + static_cast<size_t>(sy + r) * source.width_ + sx;
    };
    for (int dy = 0; dy < rows; ++dy) {
        uint32_t* target = pixels_.data() + static_cast<size_t>(dy) * width_;
        const int rowBegin = t.rowStart[dy];
        const int rowEnd = shrinkY ? t.rowStart[dy + 1] : rowBegin + 1;
        if (dy > 0 && !shrinkY && rowBegin == t.rowStart[dy - 1]) {
            // An enlarged row repeats the one above it.
            std::copy(target - width_, target - width_ + columns, target);
            continue;
        }
        // Up to two source rows are ORed on the fly; more go through the row accumulator.
        const uint32_t* first = sourceRow(rowBegin);
        const uint32_t* last = sourceRow(rowEnd - 1);
        if (rowEnd - rowBegin > 2) {
            uint32_t* accumulated = t.row.data();
            std::copy(first, first + sw, accumulated);
            for (int r = rowBegin + 1; r < rowEnd; ++r) {
                const uint32_t* more = sourceRow(r);
                for (int i = 0; i < sw; ++i) {
                    accumulated[i] |= more[i];
                }
            }
            first = last = accumulated;
        }
        const int* columnStart = t.columnStart.data();
        if (shrinkX && sw <= 2 * width) {
            // At most two source columns per target column: OR the first and the last.
            for (int dx = 0; dx < columns; ++dx) {
                const int a = columnStart[dx], b = columnStart[dx + 1] - 1;
                target[dx] = first[a] | first[b] | last[a] | last[b];
            }
        } else if (shrinkX) {
            for (int dx = 0; dx < columns; ++dx) {
                uint32_t pixel = first[columnStart[dx]] | last[columnStart[dx]];
                for (int c = columnStart[dx] + 1; c < columnStart[dx + 1]; ++c) {
                    pixel |= first[c] | last[c];
                }
                target[dx] = pixel;
            }
        } else {
            for (int dx = 0; dx < columns; ++dx) {
                target[dx] = first[columnStart[dx]] | last[columnStart[dx]];
            }
        }
    }
}

} // namespace ondrel
