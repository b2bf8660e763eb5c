// Benchmarks of the renderers and of whole frames, at the default view sizes and at
// 1920 × 1080. Arguments: view identifier, width, height.

#include "app/capture/CaptureBuffers.h"
#include "app/capture/ScriptedCaptureDevice.h"
#include "dsp/FramePipeline.h"
#include "settings/SettingsFile.h"
#include "views/Analog.h"
#include "views/Decibel.h"
#include "views/Scope.h"
#include "views/Spectrum.h"
#include "views/Trace.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using namespace ondrel;

constexpr int FrameCount = 16; // distinct input buffers cycled through

// Buffers of a tone plus noise, so that bars, peaks and traces move from frame to frame.
std::vector<std::vector<unsigned char>> Inputs() {
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0, 2000);
    std::vector<std::vector<unsigned char>> inputs;
    for (int f = 0; f < FrameCount; ++f) {
        std::vector<unsigned char> bytes(CaptureBufferBytes);
        for (size_t i = 0; i < SamplesPerBlock; ++i) {
            const double t = static_cast<double>(f * 512 + i / 2) / 22050;
            const double v = 12000 * std::sin(2 * M_PI * (i % 2 ? 440 : 2500) * t) + noise(random);
            const auto s =
                static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0)));
            bytes[2 * i] = static_cast<unsigned char>(s & 0xFF);
            bytes[2 * i + 1] = static_cast<unsigned char>(s >> 8);
        }
        inputs.push_back(std::move(bytes));
    }
    return inputs;
}

struct Analysed {
    SampleBlock samples;
    ChannelData left, right;
};

std::vector<Analysed> AnalysedInputs() {
    SineWindowTable window;
    BuildSineWindowTable(window);
    std::vector<Analysed> frames;
    for (const auto& bytes : Inputs()) {
        Analysed a;
        ConvertCaptureBuffer(bytes.data(), 100, a.samples);
        AnalyzeBlock(a.samples, true, window, a.left, a.right);
        frames.push_back(a);
    }
    return frames;
}

void BM_DrawScope(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    const auto frames = AnalysedInputs();
    Surface target(w + 100, h + 100);
    size_t f = 0;
    for (auto _ : state) {
        DrawScope(target, frames[f++ % frames.size()].samples, w, h);
        benchmark::DoNotOptimize(target.pixels());
    }
}

void BM_DrawSpectrum(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    auto frames = AnalysedInputs();
    Surface target(w + 100, h + 100);
    SpectrumState spectrum;
    DigitalSettings digital;
    digital.DigitalSize = {w, h};
    digital.BandSize = BandSizeOf(static_cast<int>(state.range(0)));
    size_t f = 0;
    for (auto _ : state) {
        Analysed& a = frames[f++ % frames.size()];
        ChannelData left = a.left, right = a.right;
        DrawSpectrum(target, spectrum, left, right, digital);
        benchmark::DoNotOptimize(target.pixels());
    }
}

void BM_DrawTrace(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    const auto frames = AnalysedInputs();
    Surface target(w + 100, h + 100);
    target.SetStretchMode(StretchMode::WhiteOnBlack);
    TraceState trace;
    size_t f = 0;
    for (auto _ : state) {
        const Analysed& a = frames[f++ % frames.size()];
        DrawTrace(target, trace, a.left, a.right, w, h);
        benchmark::DoNotOptimize(target.pixels());
    }
}

// The meters in steady state: the background is drawn once for the size, then only copied.
// The counter background_builds shows it stays at 1.
void BM_DrawDecibel(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    const auto frames = AnalysedInputs();
    Surface target(w + 100, h + 100);
    DecibelState decibel;
    size_t f = 0;
    for (auto _ : state) {
        const Analysed& a = frames[f++ % frames.size()];
        DrawDecibel(target, decibel, a.right, a.left, w, h);
        benchmark::DoNotOptimize(target.pixels());
    }
    state.counters["background_builds"] = decibel.backgroundBuilds;
}

void BM_DrawAnalog(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    const auto frames = AnalysedInputs();
    Surface target(w + 100, h + 100);
    AnalogState analog;
    size_t f = 0;
    for (auto _ : state) {
        const Analysed& a = frames[f++ % frames.size()];
        DrawAnalog(target, analog, a.right, a.left, w, h);
        benchmark::DoNotOptimize(target.pixels());
    }
    state.counters["background_builds"] = analog.backgroundBuilds;
}

// For contrast: what a frame would cost if the background were drawn every time.
void BM_AnalogBackgroundEveryFrame(benchmark::State& state) {
    const int w = static_cast<int>(state.range(1)), h = static_cast<int>(state.range(2));
    Surface target(w + 101, h + 100);
    AnalogState analog;
    int flip = 0;
    for (auto _ : state) {
        DrawAnalogBackground(target, analog, w + (flip ^= 1), h);
        benchmark::DoNotOptimize(target.pixels());
    }
}

class NoPaint : public PaintTarget {
public:
    void RequestPaint() override {}
};

class Frames : public CaptureTarget {
public:
    explicit Frames(FramePipeline& pipeline) : pipeline_(pipeline) {}
    void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) override {
        pipeline_.ProcessCaptureBuffer(device, header);
    }

private:
    FramePipeline& pipeline_;
};

// One whole ProcessCaptureBuffer: conversion, requeue, analysis, smoothing, renderer.
void BM_Frame(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    Settings settings;
    InitSettings(settings, "/nonexistent/Level.dat", 1080);
    settings.Mode = mode;
    settings.Digital.BandSize = std::max(BandSizeOf(mode), 0);
    ViewSize& size = *ViewSizeOf(settings, mode);
    size = {static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    SineWindowTable window;
    BuildSineWindowTable(window);
    NoPaint paint;
    FramePipeline pipeline(settings, window, paint);
    pipeline.SetCurrentViewSize(&size);
    Frames frames(pipeline);
    ScriptedCaptureDevice device;
    CaptureBuffers buffers;
    buffers.OpenCapture(device, frames);
    device.Start();
    const auto inputs = Inputs();
    size_t f = 0;
    for (auto _ : state) {
        const auto& bytes = inputs[f++ % inputs.size()];
        device.Deliver(bytes.data(), bytes.size());
    }
    buffers.FreeCaptureBuffers(device);
}

void Sizes(benchmark::internal::Benchmark* b, int mode, int w, int h) {
    b->Args({mode, w, h})->Args({mode, 1920, 1080});
}

BENCHMARK(BM_DrawDecibel)->Apply([](auto* b) { Sizes(b, IDM_DECIBEL, 380, 70); });
BENCHMARK(BM_DrawAnalog)->Args({IDM_ANALOG, 480, 120})->Args({IDM_ANALOG, 1920, 480});
BENCHMARK(BM_AnalogBackgroundEveryFrame)->Args({IDM_ANALOG, 480, 120});
BENCHMARK(BM_DrawScope)->Apply([](auto* b) { Sizes(b, IDM_SCOPE, 362, 128); });
BENCHMARK(BM_DrawSpectrum)->Apply([](auto* b) {
    Sizes(b, IDM_SPECTRUM_DETAIL, 360, 128);
    Sizes(b, IDM_SPECTRUM, 360, 128);
    Sizes(b, IDM_SPECTRUM_SIMPLE, 360, 128);
});
BENCHMARK(BM_DrawTrace)->Apply([](auto* b) { Sizes(b, IDM_TRACE, 360, 256); });
BENCHMARK(BM_Frame)->Apply([](auto* b) {
    Sizes(b, IDM_DECIBEL, 380, 70);
    b->Args({IDM_ANALOG, 480, 120})->Args({IDM_ANALOG, 1920, 480});
    Sizes(b, IDM_SPECTRUM_DETAIL, 360, 128);
    Sizes(b, IDM_SPECTRUM, 360, 128);
    Sizes(b, IDM_SPECTRUM_SIMPLE, 360, 128);
    Sizes(b, IDM_TRACE, 360, 256);
    Sizes(b, IDM_SCOPE, 362, 128);
});

} // namespace
