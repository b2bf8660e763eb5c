#pragma once

#include "dsp/ChannelData.h"

namespace ondrel {

// Smoothing modes (Settings::LevelSmooth).
inline constexpr int SmoothOff = 0;
inline constexpr int SmoothMeanFall = 1;  // fall by a share of the mean of old and new
inline constexpr int SmoothFixedFall = 2; // fall by a fixed step, never below zero

// Lets each value of `left` and `right` rise at once but fall back gently against the
// previous frame's values in `history`, comparing signed values index by index:
//
//   mode 1: where H > X, X = H - (H + X) / m with m = 4 × decreaseQuantity + 4;
//   mode 2: where H > X, X = H - d with d = 0.5 - 0.25 × decreaseQuantity; then X = max(X, 0).
//
// Any other mode leaves the values as they are. decreaseQuantity is 0 (fast) or 1 (slow) from
// the options window; other values, from an edited settings file, follow the same formulas,
// except that -1, which makes the mode 1 divisor zero, leaves the values unsmoothed.
// Allocates nothing.
void SmoothBins(ChannelData& left, ChannelData& right, const BinHistory& history, int levelSmooth,
                int decreaseQuantity);

} // namespace ondrel
