#pragma once

#include "views/Colour.h"
#include "views/Font.h"

#include <string_view>

namespace ondrel {

class Surface;

// Draws `text` (UTF-8) into `surface` with its cell's top-left corner at (x, y): the cell, as
// wide as the text's advance and as high as the font's line height, is filled with
// `background` and the text drawn on it in `foreground`, clipped at the surface's edges.
//
// A cell depends only on its text, font and colours, so each one is rendered once and kept;
// later calls copy the kept pixels and allocate nothing.
void DrawTextCell(Surface& surface, int x, int y, std::string_view text, const Font& font,
                  Colour foreground, Colour background);

// The width and height of the cell DrawTextCell would fill.
struct TextExtent {
    int width = 0;
    int height = 0;
};
TextExtent MeasureText(std::string_view text, const Font& font);

} // namespace ondrel
