#pragma once

#include "app/capture/QueuedCaptureDevice.h"
#include "app/capture/WavReader.h"

#include <string>

namespace ondrel {

// A capture device that plays a WAV file into the buffers, one 2048-byte buffer per Pump,
// as fast as the caller pumps: the offline renderer's clock is the file, not the sound card.
class WavCaptureDevice : public QueuedCaptureDevice {
public:
    // Opens the file ("-" for standard input); false with a one-line error when it is not a
    // WAV file in the capture format.
    bool OpenFile(const std::string& path, std::string& error) { return reader_.Open(path, error); }

    // Fills the oldest queued buffer with the next 2048 bytes of the file (a short last
    // buffer keeps its zeroed tail) and hands it back. False at the end of the file.
    bool Pump();

private:
    WavReader reader_;
    unsigned char chunk_[2048] = {};
};

} // namespace ondrel
