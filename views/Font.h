#pragma once

// A font as the views ask for it. The stock GUI font is DejaVu Sans at 11 pixels; fonts asked
// for without a face name map to the same installed face, so pictures are identical on every
// machine of the project.

#include <cstdint>

namespace ondrel {

struct Font {
    int pixelHeight = 11; // character height in pixels
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    // The stock GUI font draws crisp, one colour per pixel, as classic desktop text does;
    // anti-aliased text is asked for explicitly.
    bool antialiased = false;

    friend bool operator==(const Font&, const Font&) = default;
};

inline Font DefaultGuiFont() {
    return Font{};
}

} // namespace ondrel
