#pragma once

#include "dsp/SampleBlock.h"
#include "views/Surface.h"

namespace ondrel {

// The oscilloscope: frames 0 to 255 of the block as a white trace per channel, left in the
// left half and right in the right half, a grey divider between them, and captions when the
// view is larger than 300 × 100. Keeps nothing between frames.
void DrawScope(Surface& target, const SampleBlock& samples, int width, int height);

} // namespace ondrel
