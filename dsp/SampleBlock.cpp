#include "dsp/SampleBlock.h"

#include <cmath>
#include <limits>

namespace ondrel {
namespace {

int16_t ReadSample(const unsigned char* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

int32_t SaturatingTruncate(double value) {
    constexpr double Max = std::numeric_limits<int32_t>::max();
    constexpr double Min = std::numeric_limits<int32_t>::min();
    if (value >= Max) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= Min) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

} // namespace

void ConvertCaptureBuffer(const unsigned char* buffer, int power, SampleBlock& block) {
    const double gain = power * 0.01;
    // |sample| ≤ 32768, so below this gain every product fits and a plain truncation is exact.
    constexpr double SafeGain = 65535.0;
    if (std::fabs(gain) < SafeGain) {
        for (size_t i = 0; i < SamplesPerBlock; ++i) {
            block[i] = static_cast<int32_t>(ReadSample(buffer + 2 * i) * gain);
        }
        return;
    }
    for (size_t i = 0; i < SamplesPerBlock; ++i) {
        block[i] = SaturatingTruncate(ReadSample(buffer + 2 * i) * gain);
    }
}

} // namespace ondrel
