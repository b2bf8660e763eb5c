// ondrel-demo-signal: writes a ten-second demo recording in the capture format (16-bit PCM,
// 2 channels, 22050 Hz): a sweep, noise, a moment of silence, then steady tones, so that every
// view has something to show. With --tone, a steady tone at one transform bin instead
// (k × 22050 / 512 Hz) on the left channel, silence on the right, for tests.
//
//   ondrel-demo-signal OUT.wav
//   ondrel-demo-signal --tone BIN SECONDS OUT.wav

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;

void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v & 0xFFFF));
    Put16(s, static_cast<uint16_t>(v >> 16));
}

int16_t Sample(double v) {
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
}

} // namespace

int main(int argc, char** argv) {
    const bool tone = argc == 5 && std::string(argv[1]) == "--tone";
    if (argc != 2 && !tone) {
        std::fprintf(stderr, "usage: ondrel-demo-signal OUT.wav\n"
                             "       ondrel-demo-signal --tone BIN SECONDS OUT.wav\n");
        return 2;
    }
    const char* outPath = argv[argc - 1];
    constexpr double Pi = std::numbers::pi;
    std::mt19937 random(2026);
    std::normal_distribution<double> noise(0.0, 0.12);
    std::vector<int16_t> samples;
    if (tone) {
        const int bin = std::atoi(argv[2]);
        const int seconds = std::atoi(argv[3]);
        for (int i = 0; i < seconds * Rate; ++i) {
            samples.push_back(Sample(0.25 * std::sin(2 * Pi * bin * i / 512.0)));
            samples.push_back(0);
        }
    }
    double phase = 0;
    for (int i = 0; !tone && i < 10 * Rate; ++i) {
        const double t = static_cast<double>(i) / Rate;
        double left = 0, right = 0;
        if (t < 3) { // logarithmic sweep from 100 Hz to 8 kHz
            const double f = 100 * std::pow(80.0, t / 3);
            phase += 2 * Pi * f / Rate;
            left = right = 0.5 * std::sin(phase);
        } else if (t < 5) { // white noise, louder on the left
            left = noise(random);
            right = 0.5 * noise(random);
        } else if (t < 6) { // silence
        } else {            // steady tones: 440 Hz on the left, 1 kHz and 3 kHz on the right
            left = 0.6 * std::sin(2 * Pi * 440 * t);
            right = 0.35 * std::sin(2 * Pi * 1000 * t) + 0.2 * std::sin(2 * Pi * 3000 * t);
        }
        samples.push_back(Sample(left));
        samples.push_back(Sample(right));
    }

    std::string file = "RIFF";
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Put32(file, 36 + dataBytes);
    file += "WAVEfmt ";
    Put32(file, 16);
    Put16(file, 1);
    Put16(file, 2);
    Put32(file, Rate);
    Put32(file, Rate * 4);
    Put16(file, 4);
    Put16(file, 16);
    file += "data";
    Put32(file, dataBytes);
    for (int16_t s : samples) {
        Put16(file, static_cast<uint16_t>(s));
    }
    std::FILE* out = std::fopen(outPath, "wb");
    if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "ondrel-demo-signal: cannot write %s\n", outPath);
        return 2;
    }
    return 0;
}
