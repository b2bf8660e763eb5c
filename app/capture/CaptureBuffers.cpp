#include "app/capture/CaptureBuffers.h"

#include <cstring>

namespace ondrel {

int CaptureBuffers::OpenCapture(CaptureDevice& device, CaptureTarget& target) {
    const int result = device.Open(target);
    if (result != CaptureOk) {
        return result;
    }
    open_ = true;
    for (size_t i = 0; i < CaptureBufferCount; ++i) {
        blocks_[i] = std::make_unique<unsigned char[]>(CaptureBlockBytes);
        std::memset(blocks_[i].get(), 0, CaptureZeroedBytes);
        headers_[i] = CaptureHeader{};
        headers_[i].data = blocks_[i].get();
        headers_[i].bufferLength = CaptureBufferLength;
        device.Prepare(headers_[i]);
        device.AddBuffer(headers_[i]);
    }
    return result;
}

void CaptureBuffers::FreeCaptureBuffers(CaptureDevice& device) {
    if (!open_) {
        return;
    }
    open_ = false;
    // A buffer still queued must not be freed while the device may write into it.
    device.Stop();
    for (size_t i = 0; i < CaptureBufferCount; ++i) {
        device.Unprepare(headers_[i]);
        headers_[i].data = nullptr;
        blocks_[i].reset();
    }
}

void RequeueCaptureBuffer(CaptureDevice& device, CaptureHeader& header) {
    std::memset(header.data, 0, CaptureZeroedBytes);
    device.Prepare(header);
    device.AddBuffer(header);
}

} // namespace ondrel
