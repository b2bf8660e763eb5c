#pragma once

// The one record of every option of the program, its view and command identifiers.
// The record is filled with defaults and overlaid from the settings file at start-up
// (SettingsFile.h), changed in place by the commands and the options window, and written
// back once when the main window is destroyed.

#include <cstdint>

namespace ondrel {

// View identifiers (also the values of Settings::Mode) and command identifiers.
inline constexpr int IDM_DECIBEL = 101;
inline constexpr int IDM_ANALOG = 102;
inline constexpr int IDM_SPECTRUM_DETAIL = 103;
inline constexpr int IDM_SPECTRUM = 104;
inline constexpr int IDM_SPECTRUM_SIMPLE = 105;
inline constexpr int IDM_TRACE = 106;
inline constexpr int IDM_SCOPE = 107;
inline constexpr int IDM_MOSTTOP = 110;
inline constexpr int IDM_NOFRAME = 112;
inline constexpr int IDM_OPTIONS = 113;

// Mode value meaning that no view is current.
inline constexpr int NoView = -1;

// Width and height in pixels of one view's client area.
struct ViewSize {
    int Width = 0;
    int Height = 0;

    friend bool operator==(const ViewSize&, const ViewSize&) = default;
};

// Everything the spectrum analyzer needs, handed to its renderer by value every frame.
struct DigitalSettings {
    int BandSize = 0; // bins per band: 0, 5 or 15; set by the view commands, never stored
    ViewSize DigitalSize;
    bool LeftReversal = false;
    bool RightReversal = false;
    int ColorStyle = 0;
};

struct Settings {
    int Mode = 0;
    int Power = 0;
    int WinX = 0;
    int WinY = 0;
    bool MostTop = false;
    bool NoFrame = false;
    bool RedrawLow = false;
    bool OnFilter = false;
    int LevelSmooth = 0;
    int DecreaseQuantity = 0;
    ViewSize AnalogSize;
    ViewSize DecibelSize;
    ViewSize ScopeSize;
    ViewSize TraceSize;
    DigitalSettings Digital;
};

// The size pair that view `mode` keeps in `settings` (the three spectrum views share one), or
// nullptr for a Mode that is no view.
ViewSize* ViewSizeOf(Settings& settings, int mode);

// The bins per spectrum band that view `mode` shows: 0, 5 or 15 for the three spectrum views,
// -1 for every other Mode (which leaves BandSize as it is).
int BandSizeOf(int mode);

} // namespace ondrel
