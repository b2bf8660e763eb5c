#pragma once

#include "dsp/ChannelData.h"

#include <algorithm>
#include <cmath>

namespace ondrel {

// The meters' level of one channel: S = the sum of the truncated magnitudes of its 256
// values, level = min(256, trunc(S × 25/32)). A value that is not a number counts as 0; the
// sum is held in double precision, exact for every sum that can stay below the limit.
inline int MeterLevel(const ChannelData& values) {
    double sum = 0;
    for (double v : values) {
        const double term = std::trunc(std::fabs(v));
        if (term > 0) {
            sum += term;
        }
    }
    const double level = sum * 0.78125;
    return level >= 256 ? 256 : static_cast<int>(level);
}

} // namespace ondrel
