#include "dsp/FramePipeline.h"

#include "app/capture/CaptureBuffers.h"
#include "dsp/LevelSmoothing.h"
#include "dsp/SampleBlock.h"
#include "views/Scope.h"
#include "views/ViewLimits.h"

namespace ondrel {

// The margin the BackBuffer has beyond the view on the right and at the bottom.
constexpr int BackBufferMargin = 100;

FramePipeline::FramePipeline(Settings& settings, const SineWindowTable& window, PaintTarget& paint)
    : settings_(settings), window_(window), paint_(paint) {}

void FramePipeline::RefreshBackBuffer() {
    if (resizePending_) {
        resizePending_ = false;
        if (currentViewSize_ != nullptr) {
            backBuffer_.Resize(ClampViewDimension(currentViewSize_->Width) + BackBufferMargin,
                               ClampViewDimension(currentViewSize_->Height) + BackBufferMargin);
            backBuffer_.SetStretchMode(StretchMode::WhiteOnBlack);
            ++backBufferBuilds_;
        }
    }
    if (currentViewSize_ == nullptr) {
        backBuffer_.Resize(1, 1); // same size every time: no allocation
    }
}

void FramePipeline::ProcessCaptureBuffer(CaptureDevice& device, CaptureHeader& header) {
    RefreshBackBuffer();

    SampleBlock samples;
    ConvertCaptureBuffer(header.data, settings_.Power, samples);
    RequeueCaptureBuffer(device, header);

    if (frameBusy_) {
        return;
    }
    frameBusy_ = true;
    const int mode = settings_.Mode;

    ChannelData left, right;
    if (mode != IDM_SCOPE) {
        AnalyzeBlock(samples, settings_.OnFilter, window_, left, right);
        if (mode != IDM_TRACE && settings_.LevelSmooth != SmoothOff) {
            SmoothBins(left, right, binHistory_, settings_.LevelSmooth, settings_.DecreaseQuantity);
        }
        binHistory_.left = left;
        binHistory_.right = right;
    }

    DrawView(mode, samples, left, right);

    frameBusy_ = false;
    paint_.RequestPaint();
}

void FramePipeline::DrawView(int mode, const SampleBlock& samples, ChannelData& left,
                             ChannelData& right) {
    switch (mode) {
    case IDM_DECIBEL:
        DrawDecibel(backBuffer_, views_.decibel, right, left, settings_.DecibelSize.Width,
                    settings_.DecibelSize.Height);
        break;
    case IDM_ANALOG:
        DrawAnalog(backBuffer_, views_.analog, right, left, settings_.AnalogSize.Width,
                   settings_.AnalogSize.Height);
        break;
    case IDM_SPECTRUM_DETAIL:
    case IDM_SPECTRUM:
    case IDM_SPECTRUM_SIMPLE:
        DrawSpectrum(backBuffer_, views_.spectrum, left, right, settings_.Digital);
        break;
    case IDM_TRACE:
        DrawTrace(backBuffer_, views_.trace, left, right, settings_.TraceSize.Width,
                  settings_.TraceSize.Height);
        break;
    case IDM_SCOPE:
        DrawScope(backBuffer_, samples, settings_.ScopeSize.Width, settings_.ScopeSize.Height);
        break;
    default:
        break; // no view: nothing is drawn
    }
}

} // namespace ondrel
