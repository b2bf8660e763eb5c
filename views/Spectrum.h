#pragma once

#include "dsp/ChannelData.h"
#include "settings/Settings.h"
#include "views/Surface.h"

#include <vector>

namespace ondrel {

// The spectrum analyzer's state for the whole run: the gradient column and scale factors built
// for one colour style and size, and the held peaks, which are never reset.
struct SpectrumState {
    int cachedStyle = 0;
    int cachedWidth = 0;
    int cachedHeight = 0;
    bool hasGradientColumn = false;
    std::vector<uint32_t> gradientColumn; // h pixel words, row 0 at the top; new rows black
    int pixelsPerBin = 1;
    double barScale = 0;
    double peakFall = 0;
    int classicLevel[4] = {};
    Colour classicColor[4] = {};
    double peakLeft[256] = {};
    double peakRight[256] = {};
};

// The colour of style `style` at `value` pixels above the bottom of a view `height` high;
// refills the classic style's thresholds when `rebuildLevels` is set and the style is 0.
// Unknown styles give black.
Colour SpectrumColor(SpectrumState& state, int style, int value, int height, bool rebuildLevels);

// Draws both channels' coefficients as bars with peak-hold dots into (0,0)-(w,h) of `target`,
// w × h being digital.DigitalSize. With digital.BandSize N > 0, first averages the magnitudes
// of each band of N coefficients in place (so `left` and `right` are changed).
void DrawSpectrum(Surface& target, SpectrumState& state, ChannelData& left, ChannelData& right,
                  const DigitalSettings& digital);

} // namespace ondrel
