#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace ondrel {

// Reads the sample data of a WAV file in the capture format: 16-bit PCM, 2 channels,
// 22050 Hz. Accepts plain PCM and WAVE_FORMAT_EXTENSIBLE with a PCM sub-format, skips chunks it
// does not know, and reads a data chunk of unknown length (as written to a pipe) to the end of
// the input.
class WavReader {
public:
    WavReader() = default;
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    // Opens `path` ("-" reads standard input) and reads up to the start of the sample data.
    // On failure returns false and sets `error` to one line naming what was wrong.
    bool Open(const std::string& path, std::string& error);

    // Reads up to `bytes` bytes of sample data; fewer at its end, 0 after it.
    size_t Read(unsigned char* out, size_t bytes);

private:
    bool Fail(std::string& error, const std::string& what);

    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    std::string name_;
    unsigned long long remaining_ = 0;
    bool untilEnd_ = false;
};

} // namespace ondrel
