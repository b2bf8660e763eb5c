#pragma once

#include "views/Surface.h"

namespace ondrel {

inline constexpr char LeftCaption[] = "Left Channel.";
inline constexpr char RightCaption[] = "Right Channel.";

// The views' shared channel captions: the stock GUI font, text RGB(200, 200, 200) on black.
inline void DrawChannelCaptions(Surface& target, int leftX, int leftY, int rightX, int rightY) {
    target.SelectFont(DefaultGuiFont());
    target.SetTextColour(CaptionColour);
    target.SetBackgroundColour(Black);
    target.TextOut(leftX, leftY, LeftCaption);
    target.TextOut(rightX, rightY, RightCaption);
}

} // namespace ondrel
