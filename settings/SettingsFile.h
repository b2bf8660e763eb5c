#pragma once

// Persistence of the Settings record in the settings file "Level.dat".
//
// The file lives in the folder "Program Data" beside the program's executable. When that
// folder cannot be created or written (a program installed read-only, say under /usr), it
// lives in $XDG_CONFIG_HOME/ondrel (by default ~/.config/ondrel) instead, so that settings
// still persist.

#include "settings/ProfileFile.h"
#include "settings/Settings.h"

#include <filesystem>
#include <string_view>

namespace ondrel {

inline constexpr int TransferSave = 0;
inline constexpr int TransferLoad = 1;

// The settings file's path, its folder created if needed: "<exe folder>/Program Data/Level.dat",
// or the per-user fallback described above.
std::filesystem::path SettingsPath();

// The same for a program living in `programFolder`.
std::filesystem::path SettingsPathFor(const std::filesystem::path& programFolder);

// The folder of the running executable, from /proc/self/exe.
std::filesystem::path ExecutableFolder();

// Fills every field but Digital.BandSize with its default. `desktopBottom` is the bottom edge
// of the desktop in screen coordinates (WinY defaults to 200 pixels above it). The key
// "MAIN"/"SMALL" of the file at `settingsPath`, when present and not 0, selects the small
// default sizes.
void InitSettings(Settings& settings, const std::filesystem::path& settingsPath, int desktopBottom);

// Moves every stored field between the record and the file. TransferLoad overlays the record
// with each key present in the file (missing keys keep what the record holds; values are not
// range-checked). TransferSave replaces the file with exactly the stored keys, in their fixed
// order; the old file stays untouched if the new one cannot be written, and false is returned.
bool TransferSettings(Settings& settings, const std::filesystem::path& settingsPath, int direction);

// Reads (TransferLoad) or writes (any other direction) one integer key of `file`. A read of a
// missing key, or of the text "ERR", leaves `value` unchanged.
void TransferInt(int& value, ProfileFile& file, std::string_view section, std::string_view key,
                 int direction);

// The C library's wcstol rules for base 10, limited to the signed 32-bit range: leading white
// space, an optional sign, digits up to the first non-digit; no digits give 0; a number beyond
// the range gives the nearest limit.
int ParseProfileInt(std::string_view text);

} // namespace ondrel
