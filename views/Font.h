#pragma once

// A font as the views ask for it, by the classic font parameters. The stock GUI font is
// DejaVu Sans with 11-pixel characters; fonts asked for without a face name map to the same
// installed face, so pictures are identical on every machine of the project.

#include <string>

namespace ondrel {

struct Font {
    // As the classic font call takes it: above 0 the height of the character cell (internal
    // leading included), below 0 the height of the characters alone, in pixels.
    int height = -11;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // The stock GUI font draws crisp, one colour per pixel, as classic desktop text does;
    // anti-aliased glyphs are asked for with the anti-aliased quality.
    bool antialiased = false;
    std::string face; // empty: the project's fixed face

    friend bool operator==(const Font&, const Font&) = default;
};

inline Font DefaultGuiFont() {
    return Font{};
}

// Font qualities of the classic font call that ask for anti-aliased glyphs.
inline constexpr int ANTIALIASED_QUALITY = 4;
inline constexpr int CLEARTYPE_QUALITY = 5;

// The classic font call's 14 parameters. Width, escapement, orientation, character set,
// precisions and pitch and family do not change the face drawn here: every request maps to
// the fixed face, at the asked height, weight and style.
inline Font CreateFont(int height, int /*width*/, int /*escapement*/, int /*orientation*/,
                       int weight, bool italic, bool underline, bool strikeOut, int /*charSet*/,
                       int /*outPrecision*/, int /*clipPrecision*/, int quality,
                       int /*pitchAndFamily*/, const char* faceName) {
    Font font;
    font.height = height == 0 ? DefaultGuiFont().height : height;
    font.weight = weight == 0 ? 400 : weight;
    font.italic = italic;
    font.underline = underline;
    font.strikeOut = strikeOut;
    font.antialiased = quality == ANTIALIASED_QUALITY || quality == CLEARTYPE_QUALITY;
    font.face = faceName != nullptr ? faceName : "";
    return font;
}

} // namespace ondrel
