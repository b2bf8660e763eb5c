#include "dsp/ChannelAnalysis.h"

#include "dsp/SineTransform.h"

#include <cmath>
#include <numbers>

namespace ondrel {

void BuildSineWindowTable(SineWindowTable& table) {
    // π/512 is held as the nearest double; scaling π by a power of two keeps it exact.
    constexpr double Step = std::numbers::pi / 512;
    for (size_t i = 0; i < TransformLength; ++i) {
        table[i] = std::sin(static_cast<double>(i) * Step) * 1.6;
    }
}

void AnalyzeBlock(const SampleBlock& block, bool onFilter, const SineWindowTable& window,
                  ChannelData& left, ChannelData& right) {
    // The nearest double to 1/32767: a sample of 32767 becomes exactly 1.0.
    constexpr double Scale = 1.0 / 32767.0;
    for (size_t i = 0; i < TransformLength; ++i) {
        left[i] = block[2 * i] * Scale;
        right[i] = block[2 * i + 1] * Scale;
    }
    if (onFilter) {
        for (size_t k = 0; k < TransformLength; ++k) {
            left[k] = left[k] * window[k];
            right[k] = right[k] * window[k];
        }
    }
    SineTransform(left);
    SineTransform(right);
}

} // namespace ondrel
