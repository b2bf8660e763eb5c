#pragma once

// The frame pipeline: one call per filled capture buffer turns it into one drawn frame.
//
// ProcessCaptureBuffer, in this order: rebuilds the BackBuffer if a resize is pending
// (w + 100 by h + 100 for the current view size, or a 1 × 1 placeholder while there is none);
// converts the buffer with the gain; hands the buffer back to the device; returns if a frame is
// already in progress; analyses and smooths both channels unless the oscilloscope is current
// (no smoothing for the trace) and copies them into BinHistory; calls the current view's
// renderer; asks for a paint.

#include "app/capture/CaptureDevice.h"
#include "dsp/ChannelAnalysis.h"
#include "dsp/ChannelData.h"
#include "settings/Settings.h"
#include "views/Analog.h"
#include "views/Decibel.h"
#include "views/Spectrum.h"
#include "views/Surface.h"
#include "views/Trace.h"

namespace ondrel {

// Whoever shows the BackBuffer: told after every drawn frame.
class PaintTarget {
public:
    virtual ~PaintTarget() = default;
    virtual void RequestPaint() = 0;
};

// Every renderer's state, one per run.
struct ViewStates {
    DecibelState decibel;
    AnalogState analog;
    SpectrumState spectrum;
    TraceState trace;
};

class FramePipeline {
public:
    // `settings` is read on every frame; `window` must outlive the pipeline.
    FramePipeline(Settings& settings, const SineWindowTable& window, PaintTarget& paint);
    virtual ~FramePipeline() = default;

    void ProcessCaptureBuffer(CaptureDevice& device, CaptureHeader& header);

    // The shell's size bookkeeping: the ViewSize in Settings that the window last reported
    // (or none), and the request to rebuild the BackBuffer on the next frame.
    void SetCurrentViewSize(const ViewSize* size) { currentViewSize_ = size; }
    const ViewSize* currentViewSize() const { return currentViewSize_; }
    void SetResizePending() { resizePending_ = true; }
    bool resizePending() const { return resizePending_; }

    const Surface& backBuffer() const { return backBuffer_; }
    const BinHistory& binHistory() const { return binHistory_; }
    ViewStates& views() { return views_; }
    // How many times the BackBuffer was built at a view's size.
    int backBufferBuilds() const { return backBufferBuilds_; }

protected:
    // Step 7: the renderer for `mode`. Virtual so that a test can stand in for a renderer
    // during which another buffer arrives.
    virtual void DrawView(int mode, const SampleBlock& samples, ChannelData& left,
                          ChannelData& right);

private:
    void RefreshBackBuffer();

    Settings& settings_;
    const SineWindowTable& window_;
    PaintTarget& paint_;

    Surface backBuffer_;
    const ViewSize* currentViewSize_ = nullptr;
    bool resizePending_ = true;
    bool frameBusy_ = false;
    int backBufferBuilds_ = 0;
    BinHistory binHistory_;
    ViewStates views_;
};

} // namespace ondrel
