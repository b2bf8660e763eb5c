#pragma once

#include "views/Surface.h"

namespace ondrel::test {

// True when any pixel of the rectangle [left, right) × [top, bottom) has exactly `colour`.
inline bool AnyPixel(const Surface& s, int left, int top, int right, int bottom, Colour colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (s.GetPixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

// True when every pixel of the rectangle has exactly `colour`.
inline bool AllPixels(const Surface& s, int left, int top, int right, int bottom, Colour colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (s.GetPixel(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

} // namespace ondrel::test
