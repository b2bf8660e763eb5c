#pragma once

#include "app/capture/CaptureDevice.h"

#include <array>
#include <cstddef>
#include <memory>

namespace ondrel {

inline constexpr size_t CaptureBufferCount = 2;
inline constexpr size_t CaptureBlockBytes = 2148;  // each buffer's allocation
inline constexpr size_t CaptureZeroedBytes = 2058; // zeroed before every queueing
inline constexpr uint32_t CaptureBufferLength = 2048;

// The two buffers that circulate between the program and the capture device.
class CaptureBuffers {
public:
    // Opens `device` for `target` and, when that succeeds, queues both buffers (each zeroed,
    // prepared, added, in array order). Returns the device's open result.
    int OpenCapture(CaptureDevice& device, CaptureTarget& target);

    // Ends recording, so the device can no longer write into the buffers, then unprepares
    // and frees them. Safe to call when nothing was opened, and more than once.
    void FreeCaptureBuffers(CaptureDevice& device);

    CaptureHeader& header(size_t i) { return headers_[i]; }

private:
    std::array<CaptureHeader, CaptureBufferCount> headers_{};
    std::array<std::unique_ptr<unsigned char[]>, CaptureBufferCount> blocks_;
    bool open_ = false;
};

// Gives a filled buffer back to the device: zeroes its first 2058 bytes, prepares it again and
// adds it, so that any part of it the device does not fill reads as silence.
void RequeueCaptureBuffer(CaptureDevice& device, CaptureHeader& header);

} // namespace ondrel
