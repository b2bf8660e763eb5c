#include "dsp/LevelSmoothing.h"

namespace ondrel {
namespace {

void MeanFall(ChannelData& x, const ChannelData& h, double divisor) {
    for (size_t k = 0; k < x.size(); ++k) {
        if (h[k] > x[k]) {
            x[k] = h[k] - (h[k] + x[k]) / divisor;
        }
    }
}

void FixedFall(ChannelData& x, const ChannelData& h, double step) {
    for (size_t k = 0; k < x.size(); ++k) {
        if (h[k] > x[k]) {
            x[k] = h[k] - step;
        }
        if (x[k] < 0) {
            x[k] = 0;
        }
    }
}

} // namespace

void SmoothBins(ChannelData& left, ChannelData& right, const BinHistory& history, int levelSmooth,
                int decreaseQuantity) {
    // Formed in double precision, so that no stored quantity can overflow an int.
    const double quantity = decreaseQuantity;
    if (levelSmooth == SmoothMeanFall) {
        const double divisor = 4.0 * quantity + 4.0;
        if (divisor == 0.0) {
            return; // a zero divisor would turn every falling value into an infinity
        }
        MeanFall(left, history.left, divisor);
        MeanFall(right, history.right, divisor);
    } else if (levelSmooth == SmoothFixedFall) {
        const double step = 0.5 - 0.25 * quantity;
        FixedFall(left, history.left, step);
        FixedFall(right, history.right, step);
    }
}

} // namespace ondrel
