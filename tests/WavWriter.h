#pragma once

// Writes small WAV files for the tests, in the capture format or deliberately not.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace ondrel::test {

struct WavFormat {
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 22050;
    uint16_t bits = 16;
};

inline void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v & 0xFFFF));
    Put16(s, static_cast<uint16_t>(v >> 16));
}

// A whole WAV file holding `samples` (interleaved 16-bit values).
inline std::string WavBytes(const std::vector<int16_t>& samples, WavFormat f = {}) {
    std::string data;
    for (int16_t v : samples) {
        Put16(data, static_cast<uint16_t>(v));
    }
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(36 + data.size()));
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, f.tag);
    Put16(s, f.channels);
    Put32(s, f.rate);
    Put32(s, f.rate * f.channels * f.bits / 8);
    Put16(s, static_cast<uint16_t>(f.channels * f.bits / 8));
    Put16(s, f.bits);
    s += "data";
    Put32(s, static_cast<uint32_t>(data.size()));
    return s + data;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace ondrel::test
