#include "app/capture/WavReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ondrel {
namespace {

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool ReadExactly(std::FILE* file, unsigned char* out, size_t bytes) {
    return std::fread(out, 1, bytes, file) == bytes;
}

bool Skip(std::FILE* file, unsigned long long bytes) {
    unsigned char scratch[4096];
    while (bytes > 0) {
        const size_t step =
            static_cast<size_t>(std::min<unsigned long long>(bytes, sizeof scratch));
        if (!ReadExactly(file, scratch, step)) {
            return false;
        }
        bytes -= step;
    }
    return true;
}

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;

} // namespace

WavReader::~WavReader() {
    if (ownsFile_ && file_ != nullptr) {
        std::fclose(file_);
    }
}

bool WavReader::Fail(std::string& error, const std::string& what) {
    error = name_ + ": " + what;
    return false;
}

bool WavReader::Open(const std::string& path, std::string& error) {
    name_ = path == "-" ? "standard input" : path;
    if (path == "-") {
        file_ = stdin;
    } else {
        file_ = std::fopen(path.c_str(), "rb");
        if (file_ == nullptr) {
            return Fail(error, std::string("cannot open: ") + std::strerror(errno));
        }
        ownsFile_ = true;
    }

    unsigned char riff[12];
    if (!ReadExactly(file_, riff, sizeof riff)) {
        return Fail(error, "truncated header: shorter than a RIFF/WAVE header");
    }
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return Fail(error, "not a WAV file (no RIFF/WAVE header)");
    }

    bool haveFormat = false;
    for (;;) {
        unsigned char chunk[8];
        if (!ReadExactly(file_, chunk, sizeof chunk)) {
            return Fail(error, haveFormat ? "truncated header: no data chunk"
                                          : "truncated header: no fmt chunk");
        }
        const uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > 1024) {
                return Fail(error, "malformed fmt chunk of " + std::to_string(size) + " bytes");
            }
            std::vector<unsigned char> fmt(size + (size & 1));
            if (!ReadExactly(file_, fmt.data(), fmt.size())) {
                return Fail(error, "truncated header: fmt chunk cut short");
            }
            uint16_t tag = Le16(fmt.data());
            if (tag == FormatExtensible && size >= 40) {
                tag = Le16(fmt.data() + 24); // first bytes of the sub-format GUID
            }
            const uint16_t channels = Le16(fmt.data() + 2);
            const uint32_t rate = Le32(fmt.data() + 4);
            const uint16_t bits = Le16(fmt.data() + 14);
            if (tag != FormatPcm) {
                return Fail(error,
                            "unsupported format " + std::to_string(tag) + ": expected 16-bit PCM");
            }
            if (bits != 16) {
                return Fail(error, std::to_string(bits) + "-bit samples: expected 16-bit PCM");
            }
            if (channels != 2) {
                return Fail(error, std::to_string(channels) + " channels: expected 2");
            }
            if (rate != 22050) {
                return Fail(error, std::to_string(rate) + " Hz: expected 22050 Hz");
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                return Fail(error, "malformed file: data chunk before the fmt chunk");
            }
            // Writers that stream to a pipe cannot know the length and leave it at its maximum
            // (or 0); read such data to the end of the input.
            untilEnd_ = size == 0xFFFFFFFFu || size == 0;
            remaining_ = size;
            return true;
        } else if (!Skip(file_, static_cast<unsigned long long>(size) + (size & 1))) {
            return Fail(error, "truncated header: chunk cut short");
        }
    }
}

size_t WavReader::Read(unsigned char* out, size_t bytes) {
    if (file_ == nullptr) {
        return 0;
    }
    if (!untilEnd_) {
        bytes = static_cast<size_t>(std::min<unsigned long long>(bytes, remaining_));
    }
    size_t got = 0;
    while (got < bytes) {
        const size_t n = std::fread(out + got, 1, bytes - got, file_);
        if (n == 0) {
            break;
        }
        got += n;
    }
    remaining_ -= std::min<unsigned long long>(remaining_, got);
    return got;
}

} // namespace ondrel
