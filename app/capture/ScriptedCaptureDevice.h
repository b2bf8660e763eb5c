#pragma once

#include "app/capture/CaptureBuffers.h"
#include "app/capture/QueuedCaptureDevice.h"

#include <cstddef>

namespace ondrel {

// A capture device for tests: it opens with a result the test chooses, records what it is
// asked to do, and hands back whatever samples the test delivers.
class ScriptedCaptureDevice : public QueuedCaptureDevice {
public:
    explicit ScriptedCaptureDevice(int openResult = CaptureOk) : openResult_(openResult) {}

    void AddBuffer(CaptureHeader& header) override {
        ++addCount;
        for (size_t i = 0; i < CaptureZeroedBytes; ++i) {
            if (header.data[i] != 0) {
                ++addedDirty;
                break;
            }
        }
        QueuedCaptureDevice::AddBuffer(header);
    }
    void Prepare(CaptureHeader& header) override {
        ++prepareCount;
        QueuedCaptureDevice::Prepare(header);
    }
    void Stop() override {
        ++stopCount;
        QueuedCaptureDevice::Stop();
    }

    int addCount = 0;
    int addedDirty = 0; // buffers added whose first 2058 bytes were not all zero
    int prepareCount = 0;
    int stopCount = 0;

protected:
    int OpenResult() override { return openResult_; }

private:
    int openResult_;
};

} // namespace ondrel
