#include "settings/Settings.h"

namespace ondrel {

ViewSize* ViewSizeOf(Settings& settings, int mode) {
    switch (mode) {
    case IDM_DECIBEL:
        return &settings.DecibelSize;
    case IDM_ANALOG:
        return &settings.AnalogSize;
    case IDM_SPECTRUM_DETAIL:
    case IDM_SPECTRUM:
    case IDM_SPECTRUM_SIMPLE:
        return &settings.Digital.DigitalSize;
    case IDM_TRACE:
        return &settings.TraceSize;
    case IDM_SCOPE:
        return &settings.ScopeSize;
    default:
        return nullptr;
    }
}

int BandSizeOf(int mode) {
    switch (mode) {
    case IDM_SPECTRUM_DETAIL:
        return 0;
    case IDM_SPECTRUM:
        return 5;
    case IDM_SPECTRUM_SIMPLE:
        return 15;
    default:
        return -1;
    }
}

} // namespace ondrel
