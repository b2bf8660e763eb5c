#pragma once

#include "app/capture/CaptureDevice.h"

#include <array>
#include <cstddef>

namespace ondrel {

// The common part of the capture backends that run on the GUI thread itself (the WAV file and
// the scripted one): the buffers added to the device wait in a queue, in order, until Deliver
// fills the oldest one and hands it back to the target, as a device would.
class QueuedCaptureDevice : public CaptureDevice {
public:
    int Open(CaptureTarget& target) override;
    void Prepare(CaptureHeader& header) override { header.prepared = true; }
    void AddBuffer(CaptureHeader& header) override;
    void Start() override { started_ = true; }
    void Unprepare(CaptureHeader& header) override { header.prepared = false; }
    void Stop() override;

    // Copies `count` bytes (at most the buffer's length) into the oldest queued buffer and
    // hands it back to the target. False, and nothing done, when the device is not recording
    // or holds no buffer.
    bool Deliver(const unsigned char* bytes, size_t count);

    size_t queued() const { return count_; }
    bool started() const { return started_; }

protected:
    // The result Open reports; the scripted backend sets its own.
    virtual int OpenResult() { return CaptureOk; }

private:
    static constexpr size_t Capacity = 8;
    CaptureTarget* target_ = nullptr;
    std::array<CaptureHeader*, Capacity> queue_{};
    size_t head_ = 0;
    size_t count_ = 0;
    bool started_ = false;
};

} // namespace ondrel
