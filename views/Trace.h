#pragma once

#include "dsp/ChannelData.h"
#include "views/Surface.h"

namespace ondrel {

// The trace's history: the last 640 frames as columns of 512 rows, kept for the whole run
// once made. Column 639 is the newest frame, column 0 the oldest.
//
// Scrolling the picture by a column every frame would move all of it; instead the columns
// live in a ring, held twice side by side in a 1280-column picture, so the 640 columns in
// age order are always one contiguous window of it. The pixels shown are exactly those of a
// picture scrolled in place.
struct TraceState {
    static constexpr int HistoryWidth = 640;
    static constexpr int HistoryHeight = 512;

    bool created = false;
    Surface ring;   // 2 × 640 columns
    int newest = 0; // ring column of the newest frame, 0 to 639

    // The pixel at (x, y) of the 640 × 512 history in age order.
    Colour HistoryPixel(int x, int y) const;
};

// The colour of one coefficient: a ramp from black through blue and cyan to white.
Colour TraceColour(double coefficient);

// Moves the history on by one frame, writes this frame's coefficients into its newest column
// (left channel in the upper half, right in the lower, a grey divider between the halves in
// every older column), and scales the whole history onto (0,0)-(w,h) of `target` by the
// target's stretch mode, then the captions.
void DrawTrace(Surface& target, TraceState& state, const ChannelData& left,
               const ChannelData& right, int width, int height);

} // namespace ondrel
