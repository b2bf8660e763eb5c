#pragma once

#include "dsp/ChannelData.h"
#include "views/Surface.h"

namespace ondrel {

// Where the analog meter's dials stand, for one view size.
struct AnalogLayout {
    int pivotLeftX = 0;      // trunc(W × 0.25)
    int pivotRightX = 0;     // trunc(W × 0.75)
    int pivotY = 0;          // trunc(H × 1.25), below the bottom edge
    double needleLength = 0; // H × -1.125: negative, so needles and arcs point upward
};

// The analog meter's state for the whole run: the layout, the background (dial discs,
// scale arcs, captions) drawn once per view size with its needle pen, and the needles'
// positions, which survive size changes and other views.
struct AnalogState {
    AnalogLayout layout;
    Surface cache; // W × H
    bool hasCache = false;
    int cachedWidth = 0;
    int cachedHeight = 0;
    int backgroundBuilds = 0;
    SmoothPen needlePen;
    double needleLeft = 0; // needle units, 0 to 128
    double needleRight = 0;
};

// Moves a needle one frame toward `target` (0 to 128): up by at most 4 (halving the gap
// once it is 4 or less), down by 2 when at or above it. The caller clamps at 0.
double StepNeedle(double needle, int target);

// The end point of a needle at `value` from a pivot, as the dial draws it.
struct NeedleEnd {
    int x;
    int y;
};
NeedleEnd NeedleEndPoint(const AnalogLayout& layout, int pivotX, double value);

// Rebuilds the background if the size changed, copies it to `target`, and returns the
// needle pen of this size.
const SmoothPen& DrawAnalogBackground(Surface& target, AnalogState& state, int width, int height);

// Both VU dials with their needles, left dial on the left. The right channel comes first.
void DrawAnalog(Surface& target, AnalogState& state, const ChannelData& right,
                const ChannelData& left, int width, int height);

} // namespace ondrel
