// Benchmarks of the numeric core. The sine transform runs beside FFTW's RODFT10 (the same
// unnormalised type-II sine transform) for 256 points, planned once with FFTW_MEASURE, and
// the run ends with the ratio of the two mean times.

#include "dsp/ChannelAnalysis.h"
#include "dsp/LevelSmoothing.h"
#include "dsp/SampleBlock.h"
#include "dsp/SineTransform.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

using namespace ondrel;

ChannelData RandomChannel() {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    ChannelData x;
    for (double& v : x) {
        v = uniform(random);
    }
    return x;
}

std::vector<unsigned char> RandomBuffer() {
    std::mt19937 random(43);
    std::vector<unsigned char> buffer(CaptureBufferBytes);
    for (unsigned char& b : buffer) {
        b = static_cast<unsigned char>(random());
    }
    return buffer;
}

// Mean seconds per iteration of the two transforms, filled in by the benchmarks themselves.
double g_sineTransformSeconds = 0;
double g_fftwSeconds = 0;

void BM_SineTransform(benchmark::State& state) {
    const ChannelData input = RandomChannel();
    ChannelData a;
    for (auto _ : state) {
        a = input;
        SineTransform(a);
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FftwRodft10(benchmark::State& state) {
    double* in = fftw_alloc_real(TransformLength);
    double* out = fftw_alloc_real(TransformLength);
    fftw_plan plan =
        fftw_plan_r2r_1d(static_cast<int>(TransformLength), in, out, FFTW_RODFT10, FFTW_MEASURE);
    const ChannelData input = RandomChannel();
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), in);
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

void BM_SineTransformDirect(benchmark::State& state) {
    const ChannelData input = RandomChannel();
    ChannelData a;
    for (auto _ : state) {
        a = input;
        SineTransformDirect(a);
        benchmark::DoNotOptimize(a.data());
    }
}

void BM_ConvertCaptureBuffer(benchmark::State& state) {
    const std::vector<unsigned char> buffer = RandomBuffer();
    SampleBlock block;
    for (auto _ : state) {
        ConvertCaptureBuffer(buffer.data(), 100, block);
        benchmark::DoNotOptimize(block.data());
    }
}

void BM_AnalyzeBlock(benchmark::State& state) {
    const std::vector<unsigned char> buffer = RandomBuffer();
    SampleBlock block;
    ConvertCaptureBuffer(buffer.data(), 100, block);
    SineWindowTable window;
    BuildSineWindowTable(window);
    ChannelData left, right;
    for (auto _ : state) {
        AnalyzeBlock(block, true, window, left, right);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
}

void BM_SmoothBins(benchmark::State& state) {
    const ChannelData input = RandomChannel();
    BinHistory history;
    history.left = RandomChannel();
    history.right = history.left;
    ChannelData left, right;
    for (auto _ : state) {
        left = input;
        right = input;
        SmoothBins(left, right, history, static_cast<int>(state.range(0)), 0);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
}

BENCHMARK(BM_SineTransform);
BENCHMARK(BM_FftwRodft10);
BENCHMARK(BM_SineTransformDirect);
BENCHMARK(BM_ConvertCaptureBuffer);
BENCHMARK(BM_AnalyzeBlock);
BENCHMARK(BM_SmoothBins)->Arg(SmoothMeanFall)->Arg(SmoothFixedFall);

// Captures the two transforms' times and every frame-sized run while the normal console
// output goes on.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct FrameRun {
        std::string name;
        double seconds;
    };
    std::vector<FrameRun> frameRuns;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const double seconds = run.GetAdjustedRealTime() / 1e9;
            if (name == "BM_SineTransform") {
                g_sineTransformSeconds = seconds;
            } else if (name == "BM_FftwRodft10") {
                g_fftwSeconds = seconds;
            } else if (name.rfind("BM_Draw", 0) == 0 || name.rfind("BM_Frame", 0) == 0 ||
                       name.rfind("BM_AnalogBackground", 0) == 0) {
                frameRuns.push_back({name, seconds});
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// "BM_Frame/104/360/128" -> "frame, view 104, 360 x 128".
std::string Describe(const std::string& name) {
    std::string parts[4];
    size_t i = 0, start = 0;
    for (size_t slash; i < 3 && (slash = name.find('/', start)) != std::string::npos; ++i) {
        parts[i] = name.substr(start, slash - start);
        start = slash + 1;
    }
    parts[i] = name.substr(start);
    const std::string what = parts[0].substr(3);
    return what + " " + parts[1] + " at " + parts[2] + " x " + parts[3];
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!reporter.frameRuns.empty()) {
        constexpr double BufferPeriod = 512.0 / 22050; // 23.2 ms
        std::printf("\n%-40s %12s %12s\n", "per frame (view id, size)", "time", "of 23.2 ms");
        for (const auto& run : reporter.frameRuns) {
            std::printf("%-40s %9.1f us %11.3f%%\n", Describe(run.name).c_str(), run.seconds * 1e6,
                        100 * run.seconds / BufferPeriod);
        }
    }
    if (g_sineTransformSeconds > 0 && g_fftwSeconds > 0) {
        std::printf("\nSineTransform %.1f ns, FFTW RODFT10 %.1f ns, ratio %.2f (goal <= 1.00)\n",
                    g_sineTransformSeconds * 1e9, g_fftwSeconds * 1e9,
                    g_sineTransformSeconds / g_fftwSeconds);
    }
    return 0;
}
