#pragma once

// The capture device on the desktop's sound server (PulseAudio, or PipeWire's PulseAudio
// service): the server's default source, recorded as 16-bit stereo at 22050 Hz.
//
// A capture thread reads the stream 2048 bytes at a time and fills the buffers queued to it,
// oldest first; sound that arrives while no buffer is queued is dropped. Each filled buffer
// is handed back through a pipe, so the GUI thread learns of it from NotificationFd and hands
// it to the target in DispatchReady, in order. The queue between the two threads is a
// single-producer, single-consumer ring of atomics; nothing in the frame path locks or
// allocates.
//
// When the server goes away while recording, the thread keeps trying to reconnect every
// half second; frames simply stop until a server is back.

#include "app/capture/CaptureDevice.h"

#include <memory>

namespace ondrel {

class PulseCaptureDevice : public CaptureDevice {
public:
    PulseCaptureDevice();
    ~PulseCaptureDevice() override;
    PulseCaptureDevice(const PulseCaptureDevice&) = delete;
    PulseCaptureDevice& operator=(const PulseCaptureDevice&) = delete;

    // Connects to the server and opens the record stream; CaptureOk or the waveform-audio
    // code standing for the server's answer (no server: MMSYSERR_NODRIVER; no such source:
    // MMSYSERR_BADDEVICEID; busy or refused: MMSYSERR_ALLOCATED; format refused:
    // WAVERR_BADFORMAT; out of memory: MMSYSERR_NOMEM; anything else: MMSYSERR_ERROR).
    int Open(CaptureTarget& target) override;
    void Prepare(CaptureHeader& header) override { header.prepared = true; }
    void AddBuffer(CaptureHeader& header) override;
    void Start() override;
    void Unprepare(CaptureHeader& header) override { header.prepared = false; }
    void Stop() override;

    // Readable whenever filled buffers wait to be handed back; -1 before Open succeeded.
    int NotificationFd() const;
    // Hands every filled buffer that is waiting to the target, in order. GUI thread only.
    void DispatchReady();

    // How many times the stream was opened again after losing the server.
    int reconnects() const;

    // The waveform-audio code for a PulseAudio error number.
    static int CodeForPulseError(int error);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    CaptureTarget* target_ = nullptr;
};

} // namespace ondrel
