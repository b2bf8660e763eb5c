#pragma once

#include "dsp/ChannelData.h"
#include "views/Surface.h"

namespace ondrel {

// Where the decibel meter's lamps stand, for one view size.
struct DecibelLayout {
    int spacing = 0;   // step from one lamp's box to the next: trunc(H × 0.1571428)
    int lampSize = 0;  // width and height of a lamp's box: trunc(spacing × 0.363636)
    int lampCount = 0; // lamps per row
    int rowTopL = 0;   // top of the "L" caption: trunc(H × 0.15)
    int rowTopR = 0;   // top of the "R" caption: trunc(H × 0.65)
};

// The decibel meter's state for the whole run: the layout and the background (black, the
// captions and every lamp dark), drawn once per view size.
struct DecibelState {
    DecibelLayout layout;
    Surface cache; // (W + 20) × (H + 20)
    bool hasCache = false;
    int cachedWidth = 0;
    int cachedHeight = 0;
    int backgroundBuilds = 0; // how often the background was drawn
};

inline constexpr char DecibelTitle[] = "Brenlow Software Ondrel - Decibel Emulator";

// Rebuilds the background if the size changed, then copies it to `target`.
void DrawDecibelBackground(Surface& target, DecibelState& state, int width, int height);

// The two rows of lamps, left above right, lit in proportion to each channel's level.
// The right channel comes first.
void DrawDecibel(Surface& target, DecibelState& state, const ChannelData& right,
                 const ChannelData& left, int width, int height);

} // namespace ondrel
