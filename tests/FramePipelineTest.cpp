#include "dsp/FramePipeline.h"

#include "AllocationCounter.h"
#include "app/capture/CaptureBuffers.h"
#include "app/capture/ScriptedCaptureDevice.h"
#include "dsp/LevelSmoothing.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace ondrel {
namespace {

std::vector<unsigned char> RandomBuffer(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(CaptureBufferBytes);
    for (unsigned char& b : bytes) {
        b = static_cast<unsigned char>(random());
    }
    return bytes;
}

// The coefficients AnalyzeBlock gives for `bytes` at unity gain with the window on.
BinHistory Analysed(const std::vector<unsigned char>& bytes) {
    SampleBlock block;
    ConvertCaptureBuffer(bytes.data(), 100, block);
    SineWindowTable window;
    BuildSineWindowTable(window);
    BinHistory h;
    AnalyzeBlock(block, true, window, h.left, h.right);
    return h;
}

class CountingPaint : public PaintTarget {
public:
    void RequestPaint() override { ++paints; }
    int paints = 0;
};

// A pipeline whose renderer step can run extra work, as a renderer during which the next
// buffer arrives would.
class HookedPipeline : public FramePipeline {
public:
    using FramePipeline::FramePipeline;
    std::function<void()> duringDraw;

protected:
    void DrawView(int mode, const SampleBlock& samples, ChannelData& left,
                  ChannelData& right) override {
        if (duringDraw) {
            auto hook = std::move(duringDraw);
            duringDraw = nullptr;
            hook();
        }
        FramePipeline::DrawView(mode, samples, left, right);
    }
};

class FramePipelineTest : public ::testing::Test, public CaptureTarget {
protected:
    FramePipelineTest() {
        InitSettings(settings, "/nonexistent/Level.dat", 1080);
        BuildSineWindowTable(window);
        EXPECT_EQ(buffers.OpenCapture(device, *this), CaptureOk);
        device.Start();
    }
    ~FramePipelineTest() override { buffers.FreeCaptureBuffers(device); }

    void OnCaptureBuffer(CaptureDevice& from, CaptureHeader& header) override {
        pipeline.ProcessCaptureBuffer(from, header);
    }
    void Deliver(const std::vector<unsigned char>& bytes) {
        ASSERT_TRUE(device.Deliver(bytes.data(), bytes.size()));
    }
    void ShowView(int mode, ViewSize& size) {
        settings.Mode = mode;
        pipeline.SetCurrentViewSize(&size);
        pipeline.SetResizePending();
    }

    Settings settings;
    SineWindowTable window;
    CountingPaint paint;
    HookedPipeline pipeline{settings, window, paint};
    ScriptedCaptureDevice device;
    CaptureBuffers buffers;
};

TEST_F(FramePipelineTest, EveryBufferGoesBackZeroedEvenWhenTheFrameIsBusy) {
    settings.LevelSmooth = SmoothOff;
    ShowView(IDM_SPECTRUM, settings.Digital.DigitalSize);
    const auto first = RandomBuffer(1), nested = RandomBuffer(2);
    pipeline.duringDraw = [&] { Deliver(nested); };
    Deliver(first);
    EXPECT_EQ(device.addCount, 4); // two at the open, then both buffers again
    EXPECT_EQ(device.addedDirty, 0);
    EXPECT_EQ(device.queued(), 2u);
    EXPECT_EQ(paint.paints, 1); // the nested buffer drew nothing and asked for no paint
    EXPECT_EQ(pipeline.binHistory().left, Analysed(first).left);
}

TEST_F(FramePipelineTest, ScopeLeavesTheHistoryAndTraceStoresItUnsmoothed) {
    settings.LevelSmooth = SmoothMeanFall;
    const auto loud = RandomBuffer(3), other = RandomBuffer(4);
    ShowView(IDM_TRACE, settings.TraceSize);
    Deliver(loud);
    EXPECT_EQ(pipeline.binHistory().left, Analysed(loud).left);
    Deliver(other);
    EXPECT_EQ(pipeline.binHistory().right, Analysed(other).right); // no smoothing in the trace

    ShowView(IDM_SCOPE, settings.ScopeSize);
    Deliver(loud);
    EXPECT_EQ(pipeline.binHistory().right, Analysed(other).right);

    // Back in a spectrum view the first frame is smoothed against the frame before the scope.
    ShowView(IDM_SPECTRUM_DETAIL, settings.Digital.DigitalSize);
    Deliver(loud);
    BinHistory expected = Analysed(loud);
    SmoothBins(expected.left, expected.right, Analysed(other), SmoothMeanFall, 0);
    EXPECT_EQ(pipeline.binHistory().left, expected.left);
    EXPECT_EQ(pipeline.binHistory().right, expected.right);
}

TEST_F(FramePipelineTest, ExactlyOneRebuildPerSizeChange) {
    ShowView(IDM_SCOPE, settings.ScopeSize);
    const auto bytes = RandomBuffer(5);
    Deliver(bytes);
    EXPECT_EQ(pipeline.backBufferBuilds(), 1);
    EXPECT_EQ(pipeline.backBuffer().width(), 462);
    EXPECT_EQ(pipeline.backBuffer().height(), 228);
    Deliver(bytes);
    Deliver(bytes);
    EXPECT_EQ(pipeline.backBufferBuilds(), 1);
    settings.ScopeSize = {200, 90};
    pipeline.SetResizePending();
    Deliver(bytes);
    Deliver(bytes);
    EXPECT_EQ(pipeline.backBufferBuilds(), 2);
    EXPECT_EQ(pipeline.backBuffer().width(), 300);
    EXPECT_EQ(pipeline.backBuffer().height(), 190);
    EXPECT_EQ(paint.paints, 5);
}

TEST_F(FramePipelineTest, WithoutAViewSizeThereIsAPlaceholderAndUnknownModesDrawNothing) {
    settings.Mode = 9999;
    const auto bytes = RandomBuffer(6);
    for (int i = 0; i < 3; ++i) {
        Deliver(bytes);
    }
    EXPECT_EQ(pipeline.backBuffer().width(), 1);
    EXPECT_EQ(pipeline.backBuffer().height(), 1);
    EXPECT_EQ(pipeline.backBuffer().GetPixel(0, 0), Black);
    EXPECT_EQ(paint.paints, 3);
    EXPECT_EQ(device.addCount, 5);
    EXPECT_EQ(pipeline.backBufferBuilds(), 0);
}

TEST_F(FramePipelineTest, ShortBufferReadsAsZerosInItsTail) {
    settings.LevelSmooth = SmoothOff;
    ShowView(IDM_SPECTRUM, settings.Digital.DigitalSize);
    Deliver(RandomBuffer(7)); // leaves noise in the first buffer
    Deliver(RandomBuffer(8));
    std::vector<unsigned char> bytes = RandomBuffer(9);
    ASSERT_TRUE(device.Deliver(bytes.data(), 100)); // the first buffer again, 100 bytes filled
    std::fill(bytes.begin() + 100, bytes.end(), 0);
    EXPECT_EQ(pipeline.binHistory().left, Analysed(bytes).left);
}

TEST_F(FramePipelineTest, BadSizesAreClampedForDrawing) {
    const auto bytes = RandomBuffer(10);
    for (ViewSize size : {ViewSize{0, 0}, ViewSize{-5, -9}, ViewSize{100000, 100000}}) {
        for (int mode : {IDM_DECIBEL, IDM_ANALOG, IDM_SCOPE, IDM_SPECTRUM, IDM_TRACE}) {
            SCOPED_TRACE(testing::Message() << mode << " " << size.Width << "x" << size.Height);
            settings.ScopeSize = settings.TraceSize = settings.Digital.DigitalSize = size;
            ShowView(mode, mode == IDM_SCOPE   ? settings.ScopeSize
                           : mode == IDM_TRACE ? settings.TraceSize
                                               : settings.Digital.DigitalSize);
            Deliver(bytes);
            EXPECT_LE(pipeline.backBuffer().width(), 4196);
            EXPECT_GE(pipeline.backBuffer().width(), 100);
        }
    }
    settings.Digital.ColorStyle = -5;
    settings.DecreaseQuantity = -1;
    settings.Power = INT32_MAX;
    ShowView(IDM_SPECTRUM, settings.Digital.DigitalSize);
    Deliver(bytes);
}

TEST_F(FramePipelineTest, SteadyFramesAllocateNothing) {
    std::vector<std::vector<unsigned char>> inputs;
    for (unsigned seed = 0; seed < 8; ++seed) {
        inputs.push_back(RandomBuffer(100 + seed));
    }
    struct View {
        int mode;
        ViewSize* size;
    };
    for (View view : {View{IDM_DECIBEL, &settings.DecibelSize},
                      View{IDM_ANALOG, &settings.AnalogSize}, View{IDM_SCOPE, &settings.ScopeSize},
                      View{IDM_SPECTRUM_DETAIL, &settings.Digital.DigitalSize},
                      View{IDM_SPECTRUM_SIMPLE, &settings.Digital.DigitalSize},
                      View{IDM_TRACE, &settings.TraceSize}}) {
        SCOPED_TRACE(view.mode);
        ShowView(view.mode, *view.size);
        settings.Digital.BandSize = view.mode == IDM_SPECTRUM_SIMPLE ? 15 : 0;
        for (int frame = 0; frame < 3; ++frame) {
            Deliver(inputs[frame]); // builds the BackBuffer and the view's caches
        }
        const size_t before = test::AllocationCount();
        for (int frame = 0; frame < 300; ++frame) {
            const auto& bytes = inputs[frame % inputs.size()];
            device.Deliver(bytes.data(), bytes.size());
        }
        EXPECT_EQ(test::AllocationCount() - before, 0u);
    }
}

} // namespace
} // namespace ondrel
