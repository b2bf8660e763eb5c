#pragma once

#include <algorithm>

namespace ondrel {

// The largest view width or height drawn. Sizes come from the settings file unchecked; an
// edited file can hold 0, negative or absurd sizes, and the views draw them clamped to
// 0 to MaxViewDimension so that a frame never allocates more than a few tens of megabytes.
inline constexpr int MaxViewDimension = 4096;

constexpr int ClampViewDimension(int size) {
    return std::clamp(size, 0, MaxViewDimension);
}

} // namespace ondrel
