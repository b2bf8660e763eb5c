#pragma once

#include <cstdint>

namespace ondrel {

// A 24-bit colour with red in the low byte: 0x00BBGGRR.
using Colour = uint32_t;

constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr unsigned RedOf(Colour c) {
    return c & 0xFF;
}
constexpr unsigned GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr unsigned BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

inline constexpr Colour Black = 0;
inline constexpr Colour White = Rgb(255, 255, 255);
// The look the views share: caption text and the divider between the channels.
inline constexpr Colour CaptionColour = 13158600; // RGB(200, 200, 200)
inline constexpr Colour DividerColour = 9868950;  // RGB(150, 150, 150)

} // namespace ondrel
