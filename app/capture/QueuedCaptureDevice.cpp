#include "app/capture/QueuedCaptureDevice.h"

#include <algorithm>
#include <cstring>

namespace ondrel {

int QueuedCaptureDevice::Open(CaptureTarget& target) {
    const int result = OpenResult();
    if (result == CaptureOk) {
        target_ = &target;
    }
    return result;
}

void QueuedCaptureDevice::AddBuffer(CaptureHeader& header) {
    if (target_ == nullptr || count_ == Capacity) {
        return;
    }
    queue_[(head_ + count_) % Capacity] = &header;
    ++count_;
}

void QueuedCaptureDevice::Stop() {
    started_ = false;
    head_ = 0;
    count_ = 0;
}

bool QueuedCaptureDevice::Deliver(const unsigned char* bytes, size_t count) {
    if (!started_ || count_ == 0 || target_ == nullptr) {
        return false;
    }
    CaptureHeader& header = *queue_[head_];
    head_ = (head_ + 1) % Capacity;
    --count_;
    const size_t filled = std::min<size_t>(count, header.bufferLength);
    std::memcpy(header.data, bytes, filled);
    header.bytesRecorded = static_cast<uint32_t>(filled);
    target_->OnCaptureBuffer(*this, header);
    return true;
}

} // namespace ondrel
