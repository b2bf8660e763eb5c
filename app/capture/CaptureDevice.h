#pragma once

// The wave-in layer: what the program needs of a capture device, whatever records the sound.
//
// The program opens the device with a target for its notifications, prepares and adds two
// buffers, and starts it. The device fills the buffers it holds in the order they were added
// and hands each filled one back to the target, on the GUI thread, with OnCaptureBuffer; the
// program copies the samples out and adds the buffer again. A buffer belongs to the device
// from AddBuffer until it comes back. Stop ends recording: when it returns, the device holds
// no buffer and will never write one again, so the buffers may be released.
//
// The format is fixed: PCM, 2 channels, 22050 frames per second, 16-bit little-endian
// samples, interleaved left, right; a buffer of 2048 bytes holds 512 frames.

#include <cstdint>

namespace ondrel {

// Results of Open, with the waveform-audio codes the program has messages for.
inline constexpr int CaptureOk = 0;
inline constexpr int MMSYSERR_ERROR = 1;
inline constexpr int MMSYSERR_BADDEVICEID = 2;
inline constexpr int MMSYSERR_ALLOCATED = 4;
inline constexpr int MMSYSERR_NODRIVER = 6;
inline constexpr int MMSYSERR_NOMEM = 7;
inline constexpr int WAVERR_BADFORMAT = 32;

inline constexpr int CaptureChannels = 2;
inline constexpr int CaptureSampleRate = 22050;
inline constexpr int CaptureBitsPerSample = 16;

// One buffer's header: the data pointer is the only field the frame pipeline reads.
struct CaptureHeader {
    unsigned char* data = nullptr;
    uint32_t bufferLength = 0;  // bytes the device may fill
    uint32_t bytesRecorded = 0; // bytes it filled; the program does not rely on it
    uint32_t flags = 0;
    bool prepared = false;
};

class CaptureDevice;

class CaptureTarget {
public:
    virtual ~CaptureTarget() = default;
    // A filled buffer, handed back by `device`.
    virtual void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) = 0;
};

class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    // Opens the device for the fixed format; CaptureOk or an error code.
    virtual int Open(CaptureTarget& target) = 0;
    virtual void Prepare(CaptureHeader& header) = 0;
    virtual void AddBuffer(CaptureHeader& header) = 0;
    virtual void Start() = 0;
    virtual void Unprepare(CaptureHeader& header) = 0;
    virtual void Stop() = 0;
};

} // namespace ondrel
