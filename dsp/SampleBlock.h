#pragma once

// One capture buffer's samples after the input gain: 512 stereo frames as 1024 signed 32-bit
// integers, interleaved left, right.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ondrel {

inline constexpr size_t CaptureBufferBytes = 2048;
inline constexpr size_t FramesPerBlock = 512;
inline constexpr size_t SamplesPerBlock = 2 * FramesPerBlock;

using SampleBlock = std::array<int32_t, SamplesPerBlock>;

// Converts the 1024 little-endian signed 16-bit samples at `buffer` (CaptureBufferBytes bytes,
// all of them read whatever the device reported as recorded) into `block`: each sample times
// the gain Power × 0.01, formed in double precision and truncated toward zero. A product
// beyond the signed 32-bit range (only with an edited, absurd Power) saturates at the limit.
void ConvertCaptureBuffer(const unsigned char* buffer, int power, SampleBlock& block);

} // namespace ondrel
