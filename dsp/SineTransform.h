#pragma once

#include "dsp/ChannelData.h"

namespace ondrel {

// The 256-point discrete sine transform of type II, without normalisation, in place:
//
//     S[k] = sum over j = 0..255 of x[j] × sin(π × (j + 1/2) × k / 256),   k = 1..256,
//
// stored as a[k] = S[k] for k = 1..255 and a[0] = S[256] (the alternating sum of the input).
//
// Computed in O(n log n) through a 256-point real FFT, itself a 128-point complex FFT: the
// input's odd samples are negated (which turns the sine transform into a cosine transform read
// backwards), reordered so that the cosine transform becomes a real FFT, and the FFT's output
// is rotated into the coefficients. The tables depend only on the length and are built once,
// on the first call. Agrees with a direct evaluation of the definition to about 1e-15 of the
// largest coefficient. Allocates nothing.
void SineTransform(ChannelData& a);

// The definition evaluated directly, 256 × 256 products: the reference for tests and the
// benchmark's baseline.
void SineTransformDirect(ChannelData& a);

} // namespace ondrel
