#pragma once

#include "dsp/ChannelData.h"
#include "views/Surface.h"

namespace ondrel {

// The trace's history: 640 columns (frames) of 512 rows, kept for the whole run once made.
struct TraceState {
    static constexpr int HistoryWidth = 640;
    static constexpr int HistoryHeight = 512;
    bool created = false;
    Surface history;
};

// The colour of one coefficient: a ramp from black through blue and cyan to white.
Colour TraceColour(double coefficient);

// Scrolls the history one column to the left, writes this frame's coefficients into its
// newest column (left channel in the upper half, right in the lower), and scales the whole
// history onto (0,0)-(w,h) of `target` by the target's stretch mode, then the captions.
void DrawTrace(Surface& target, TraceState& state, const ChannelData& left,
               const ChannelData& right, int width, int height);

} // namespace ondrel
