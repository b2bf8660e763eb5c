// Latency of the live path: from a tone's onset in the sound server to the first frame whose
// analysed values show it, beside a plain reference stream on the same source that only reads
// samples. Both record at once, so the difference is what the program adds on top of the
// server (the capture thread's hand-over, the GUI side's dispatch, the analysis).
//
//   ondrel-latency-bench TONE.wav [ROUNDS]     (PULSE_SERVER names a server with a null sink
//                                              "ondrel_test" whose monitor is the default)

#include "app/capture/CaptureBuffers.h"
#include "app/capture/PulseCaptureDevice.h"
#include "dsp/FramePipeline.h"
#include "settings/SettingsFile.h"

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace ondrel;
using Clock = std::chrono::steady_clock;
constexpr int ToneBin = 40;

class Frames : public CaptureTarget, public PaintTarget {
public:
    Frames(Settings& settings, const SineWindowTable& window) : pipeline(settings, window, *this) {}
    void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) override {
        pipeline.ProcessCaptureBuffer(device, header);
        const BinHistory& h = pipeline.binHistory();
        double level = 0;
        for (int k = ToneBin - 1; k <= ToneBin + 1; ++k) {
            level = std::max(level, std::fabs(h.left[k]));
        }
        if (armed && level > 5 && !seen) {
            seen = true;
            seenAt = Clock::now();
        }
    }
    void RequestPaint() override {}
    FramePipeline pipeline;
    bool armed = false;
    bool seen = false;
    Clock::time_point seenAt;
};

pid_t Play(const char* path) {
    const pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stderr);
        execlp("paplay", "paplay", "--device=ondrel_test", path, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ondrel-latency-bench TONE.wav [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;
    Settings settings;
    InitSettings(settings, "/nonexistent/Level.dat", 1080);
    settings.Mode = IDM_SPECTRUM_DETAIL;
    settings.LevelSmooth = 0;
    SineWindowTable window;
    BuildSineWindowTable(window);

    std::vector<double> programMs, referenceMs, addedMs;
    for (int round = 0; round < rounds; ++round) {
        Frames frames(settings, window);
        frames.pipeline.SetCurrentViewSize(&settings.Digital.DigitalSize);
        PulseCaptureDevice device;
        CaptureBuffers buffers;
        if (buffers.OpenCapture(device, frames) != CaptureOk) {
            std::fprintf(stderr, "ondrel-latency-bench: no sound server\n");
            return 1;
        }
        device.Start();

        // The reference: the same source read directly, in the same fragments.
        std::atomic<bool> referenceArmed{false}, referenceSeen{false}, stop{false};
        Clock::time_point referenceAt;
        std::thread reference([&] {
            const pa_sample_spec format{PA_SAMPLE_S16LE, 22050, 2};
            pa_buffer_attr attributes{static_cast<uint32_t>(-1), static_cast<uint32_t>(-1),
                                      static_cast<uint32_t>(-1), static_cast<uint32_t>(-1), 2048};
            int error = 0;
            pa_simple* s = pa_simple_new(nullptr, "ondrel-latency-reference", PA_STREAM_RECORD,
                                         nullptr, "reference", &format, nullptr, &attributes, &error);
            int16_t chunk[1024];
            while (s != nullptr && !stop && pa_simple_read(s, chunk, sizeof chunk, &error) >= 0) {
                if (!referenceArmed || referenceSeen) {
                    continue;
                }
                for (int i = 0; i < 1024; i += 2) {
                    if (std::abs(chunk[i]) > 2000) {
                        referenceAt = Clock::now();
                        referenceSeen = true;
                        break;
                    }
                }
            }
            if (s != nullptr) {
                pa_simple_free(s);
            }
        });

        auto pump = [&](double seconds, auto done) {
            const auto end = Clock::now() + std::chrono::duration<double>(seconds);
            while (Clock::now() < end && !done()) {
                pollfd fd{device.NotificationFd(), POLLIN, 0};
                if (poll(&fd, 1, 5) > 0) {
                    device.DispatchReady();
                }
            }
        };
        pump(1.0, [] { return false; }); // both streams running on silence
        frames.armed = true;
        referenceArmed = true;
        pid_t player = Play(argv[1]);
        pump(5.0, [&] { return frames.seen && referenceSeen; });
        kill(player, SIGTERM);
        waitpid(player, nullptr, 0);
        stop = true;
        reference.join();
        buffers.FreeCaptureBuffers(device);
        if (!frames.seen || !referenceSeen) {
            std::fprintf(stderr, "round %d: the tone was not seen\n", round + 1);
            continue;
        }
        const double added =
            std::chrono::duration<double, std::milli>(frames.seenAt - referenceAt).count();
        addedMs.push_back(added);
        std::printf("round %2d: first frame showing the tone %+.1f ms after the reference "
                    "stream's first samples of it\n",
                    round + 1, added);
        pump(0.3, [] { return false; });
    }
    if (addedMs.empty()) {
        return 1;
    }
    std::sort(addedMs.begin(), addedMs.end());
    std::printf("latency added beyond the sound server: median %.1f ms, worst %.1f ms over %zu "
                "rounds (goal: within 46 ms)\n",
                addedMs[addedMs.size() / 2], addedMs.back(), addedMs.size());
    return 0;
}
