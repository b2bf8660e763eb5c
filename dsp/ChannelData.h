#pragma once

#include <array>
#include <cstddef>

namespace ondrel {

// Length of the sine transform, and so the number of analysed frames per channel.
inline constexpr size_t TransformLength = 256;

// One channel's 256 doubles: time samples going into the sine transform, coefficients coming
// out of it (index k = 1 to 255 the coefficient of k × 43.07 Hz, index 0 that of 11025 Hz).
using ChannelData = std::array<double, TransformLength>;

// The previous analysed frame's final values, the memory of the level smoothing.
struct BinHistory {
    ChannelData left{};
    ChannelData right{};
};

} // namespace ondrel
