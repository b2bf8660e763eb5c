// The sound server's capture backend against a real, private PulseAudio server.

#include "app/capture/CaptureBuffers.h"
#include "app/capture/PulseCaptureDevice.h"
#include "dsp/ChannelAnalysis.h"

#include "PulseServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <poll.h>

namespace ondrel {
namespace {

using Clock = std::chrono::steady_clock;

// Counts frames and keeps the index of the largest left coefficient of the last one.
class Analyser : public CaptureTarget {
public:
    Analyser() { BuildSineWindowTable(window_); }
    void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) override {
        SampleBlock block;
        ConvertCaptureBuffer(header.data, 100, block);
        RequeueCaptureBuffer(device, header);
        ChannelData left, right;
        AnalyzeBlock(block, true, window_, left, right);
        peak = 0;
        for (size_t k = 1; k < left.size(); ++k) {
            if (std::fabs(left[k]) > std::fabs(left[peak])) {
                peak = k;
            }
        }
        level = std::fabs(left[peak]);
        ++frames;
    }
    int frames = 0;
    size_t peak = 0;
    double level = 0;

private:
    SineWindowTable window_;
};

// Runs the GUI side for `seconds`, or until `done` says so.
template <typename Done> void Pump(PulseCaptureDevice& device, double seconds, Done done) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end && !done()) {
        pollfd fd{device.NotificationFd(), POLLIN, 0};
        if (poll(&fd, 1, 50) > 0) {
            device.DispatchReady();
        }
    }
}

class PulseCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::PulseServer::Available()) {
            GTEST_SKIP() << "pulseaudio is not installed";
        }
        old_ = std::getenv("PULSE_SERVER") ? std::getenv("PULSE_SERVER") : "";
        ASSERT_TRUE(server.Start());
    }
    void TearDown() override {
        server.Stop();
        unsetenv("PULSE_SOURCE");
        old_.empty() ? unsetenv("PULSE_SERVER") : setenv("PULSE_SERVER", old_.c_str(), 1);
    }

    // A 20-second tone at bin k (k × 22050 / 512 Hz), half scale, on the left only.
    std::string Tone(int k) {
        const std::string path = (folder.path() / "tone.raw").string();
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 20 * 22050; ++i) {
            const auto v = static_cast<int16_t>(16384 * std::sin(2 * M_PI * k * i / 512.0));
            const int16_t frame[2] = {v, 0};
            out.write(reinterpret_cast<const char*>(frame), sizeof frame);
        }
        return path;
    }

    test::TempFolder folder;
    test::PulseServer server{folder.path() / "pulse"};
    std::string old_;
};

TEST_F(PulseCaptureTest, ToneReachesTheAnalysisAtItsBin) {
    PulseCaptureDevice device;
    Analyser analyser;
    CaptureBuffers buffers;
    ASSERT_EQ(buffers.OpenCapture(device, analyser), CaptureOk);
    device.Start();
    pid_t player = server.Play(Tone(40));
    // A sine transform puts a tone of sine phase at its bin and one of cosine phase into the
    // bins beside it; the phase of the recording against the blocks is the server's.
    auto atBin = [&] { return analyser.peak >= 39 && analyser.peak <= 41; };
    Pump(device, 8, [&] { return analyser.frames > 20 && atBin() && analyser.level > 30; });
    test::PulseServer::End(player);
    buffers.FreeCaptureBuffers(device);
    EXPECT_GT(analyser.frames, 20);
    EXPECT_TRUE(atBin()) << analyser.peak;
    EXPECT_GT(analyser.level, 30.0);
}

TEST_F(PulseCaptureTest, OpenErrorsMapToTheDeviceCodes) {
    {
        setenv("PULSE_SOURCE", "no_such_source", 1);
        PulseCaptureDevice device;
        Analyser analyser;
        EXPECT_EQ(device.Open(analyser), MMSYSERR_BADDEVICEID);
        unsetenv("PULSE_SOURCE");
    }
    server.Stop();
    PulseCaptureDevice device;
    Analyser analyser;
    EXPECT_EQ(device.Open(analyser), MMSYSERR_NODRIVER);
    // The server's answers that cannot be provoked here, by their PulseAudio numbers.
    const std::pair<int, int> codes[] = {
        {1, MMSYSERR_ALLOCATED},  // access
        {26, MMSYSERR_ALLOCATED}, // busy
        {3, WAVERR_BADFORMAT},    // invalid argument
        {19, WAVERR_BADFORMAT},   // not supported
        {7, MMSYSERR_ERROR},      // protocol
        {10, MMSYSERR_ERROR},     // internal
    };
    for (auto [error, code] : codes) {
        EXPECT_EQ(PulseCaptureDevice::CodeForPulseError(error), code) << error;
    }
}

TEST_F(PulseCaptureTest, SurvivesTheServerGoingAwayAndResumesWhenItIsBack) {
    PulseCaptureDevice device;
    Analyser analyser;
    CaptureBuffers buffers;
    ASSERT_EQ(buffers.OpenCapture(device, analyser), CaptureOk);
    device.Start();
    Pump(device, 5, [&] { return analyser.frames > 5; });
    ASSERT_GT(analyser.frames, 5);

    server.Stop();
    Pump(device, 1, [] { return false; });
    const int during = analyser.frames;
    Pump(device, 0.5, [] { return false; });
    EXPECT_LE(analyser.frames - during, 1); // frames stop while there is no server

    ASSERT_TRUE(server.Start());
    const auto back = Clock::now();
    Pump(device, 6, [&] { return analyser.frames > during + 5; });
    const double seconds = std::chrono::duration<double>(Clock::now() - back).count();
    EXPECT_GT(analyser.frames, during + 5);
    EXPECT_GE(device.reconnects(), 1);
    EXPECT_LT(seconds, 4.0);
    buffers.FreeCaptureBuffers(device);
}

} // namespace
} // namespace ondrel
