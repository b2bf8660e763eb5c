#pragma once

#include "dsp/ChannelData.h"
#include "dsp/SampleBlock.h"

namespace ondrel {

// The rising sine window: entry i = 1.6 × sin(i × π/512), a quarter period of the sine, so the
// weights rise from 0 to almost 1.6 over the 256 analysed samples and do not come down again.
using SineWindowTable = std::array<double, TransformLength>;

void BuildSineWindowTable(SineWindowTable& table);

// Splits frames 0 to 255 of `block` into the two channels, scales them by 1/32767, weights
// them with `window` when `onFilter` is set, and sine-transforms each channel, left first.
// Frames 256 to 511 of the block are not read. All 256 elements of `left` and `right` are
// written. Allocates nothing.
void AnalyzeBlock(const SampleBlock& block, bool onFilter, const SineWindowTable& window,
                  ChannelData& left, ChannelData& right);

} // namespace ondrel
