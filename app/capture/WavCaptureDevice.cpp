#include "app/capture/WavCaptureDevice.h"

namespace ondrel {

bool WavCaptureDevice::Pump() {
    const size_t got = reader_.Read(chunk_, sizeof chunk_);
    if (got == 0) {
        return false;
    }
    return Deliver(chunk_, got);
}

} // namespace ondrel
