#include "settings/SettingsFile.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace ondrel {
namespace {

// The longest value text a key read delivers: a 100-character buffer with its terminator.
constexpr size_t MaxValueLength = 99;

bool IsFolderWritable(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error) && access(folder.c_str(), W_OK) == 0;
}

std::filesystem::path UserConfigFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::filesystem::path(xdg) / "ondrel";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::filesystem::path(home) / ".config" / "ondrel";
    }
    return std::filesystem::temp_directory_path() / "ondrel";
}

void TransferBool(bool& value, ProfileFile& file, std::string_view section, std::string_view key,
                  int direction) {
    int temporary = value ? 1 : 0;
    TransferInt(temporary, file, section, key, direction);
    if (direction == TransferLoad) {
        value = temporary != 0;
    }
}

void TransferSize(ViewSize& size, ProfileFile& file, std::string_view keyX, std::string_view keyY,
                  int direction) {
    TransferInt(size.Width, file, "SIZE", keyX, direction);
    TransferInt(size.Height, file, "SIZE", keyY, direction);
}

} // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error);
    }
    return exe.parent_path();
}

std::filesystem::path SettingsPath() {
    return SettingsPathFor(ExecutableFolder());
}

std::filesystem::path SettingsPathFor(const std::filesystem::path& programFolder) {
    std::filesystem::path folder = programFolder / "Program Data";
    if (!IsFolderWritable(folder)) {
        folder = UserConfigFolder();
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    return folder / "Level.dat";
}

int ParseProfileInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude, stopping once it is past the range: the rest only saturates.
    long long magnitude = 0;
    constexpr long long Limit = static_cast<long long>(INT_MAX) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= Limit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        return magnitude >= Limit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

void TransferInt(int& value, ProfileFile& file, std::string_view section, std::string_view key,
                 int direction) {
    if (direction == TransferLoad) {
        std::string text = file.Get(section, key).value_or("ERR");
        if (text.size() > MaxValueLength) {
            text.resize(MaxValueLength);
        }
        if (text == "ERR") {
            return;
        }
        value = ParseProfileInt(text);
        return;
    }
    file.Set(section, key, std::to_string(value));
}

void InitSettings(Settings& settings, const std::filesystem::path& settingsPath,
                  int desktopBottom) {
    settings.MostTop = false;
    settings.NoFrame = false;
    settings.RedrawLow = false;
    settings.DecreaseQuantity = 0;
    settings.WinX = 50;
    // Computed wide so that an absurd desktop edge cannot overflow.
    long long winY = static_cast<long long>(desktopBottom) - 200;
    settings.WinY = static_cast<int>(winY < INT_MIN ? INT_MIN : winY);
    settings.Mode = IDM_DECIBEL;
    settings.Power = 100;
    settings.LevelSmooth = 1;
    settings.OnFilter = true;

    ProfileFile file = ProfileFile::Load(settingsPath);
    int small = 0;
    TransferInt(small, file, "MAIN", "SMALL", TransferLoad);
    if (small != 0) {
        settings.AnalogSize = {240, 60};
        settings.DecibelSize = {190, 34};
        settings.ScopeSize = {181, 64};
        settings.TraceSize = {120, 83};
        settings.Digital.DigitalSize = {180, 64};
    } else {
        settings.AnalogSize = {480, 120};
        settings.DecibelSize = {380, 70};
        settings.ScopeSize = {362, 128};
        settings.TraceSize = {360, 256};
        settings.Digital.DigitalSize = {360, 128};
    }
    settings.Digital.LeftReversal = false;
    settings.Digital.RightReversal = false;
    settings.Digital.ColorStyle = 0;
}

bool TransferSettings(Settings& settings, const std::filesystem::path& settingsPath,
                      int direction) {
    // A save starts from an empty document: only the keys below end up in the new file.
    ProfileFile file = direction == TransferLoad ? ProfileFile::Load(settingsPath) : ProfileFile();

    TransferInt(settings.Mode, file, "MAIN", "MODE", direction);
    TransferInt(settings.Power, file, "MAIN", "POWER", direction);
    TransferBool(settings.RedrawLow, file, "MAIN", "REDRAWLOW", direction);
    TransferInt(settings.WinX, file, "MAIN", "WIN_X", direction);
    TransferInt(settings.WinY, file, "MAIN", "WIN_Y", direction);
    TransferBool(settings.MostTop, file, "MAIN", "MostTop", direction);
    TransferBool(settings.NoFrame, file, "MAIN", "NoFrame", direction);
    TransferInt(settings.LevelSmooth, file, "MAIN", "LevelSmooth", direction);
    TransferInt(settings.DecreaseQuantity, file, "MAIN", "DecreaseQuantity", direction);
    TransferBool(settings.OnFilter, file, "MAIN", "OnFilter", direction);

    TransferSize(settings.AnalogSize, file, "ANALOGX", "ANALOGY", direction);
    TransferSize(settings.DecibelSize, file, "DECIBELX", "DECIBELY", direction);
    TransferSize(settings.ScopeSize, file, "SCOPEX", "SCOPEY", direction);
    TransferSize(settings.TraceSize, file, "TRACEX", "TRACEY", direction);
    TransferSize(settings.Digital.DigitalSize, file, "DIGITALX", "DIGITALY", direction);

    TransferBool(settings.Digital.LeftReversal, file, "DIGITAL", "LeftReversal", direction);
    TransferBool(settings.Digital.RightReversal, file, "DIGITAL", "RightReversal", direction);
    TransferInt(settings.Digital.ColorStyle, file, "DIGITAL", "ColorStyle", direction);

    if (direction == TransferLoad) {
        return true;
    }
    return file.SaveAtomically(settingsPath);
}

} // namespace ondrel
