#include "app/capture/PulseCaptureDevice.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <thread>
#include <unistd.h>

namespace ondrel {
namespace {

constexpr char ApplicationName[] = "Ondrel";
constexpr char StreamName[] = "Audio monitor input";
constexpr uint32_t FragmentBytes = 2048;
constexpr auto ReconnectInterval = std::chrono::milliseconds(500);
constexpr auto StopWait = std::chrono::seconds(2);

pa_simple* OpenStream(int& error) {
    const pa_sample_spec spec{PA_SAMPLE_S16LE, CaptureSampleRate, CaptureChannels};
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(-1);
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(-1);
    attributes.fragsize = FragmentBytes;
    return pa_simple_new(nullptr, ApplicationName, PA_STREAM_RECORD, nullptr, StreamName, &spec,
                         nullptr, &attributes, &error);
}

} // namespace

// Everything the capture thread touches, kept alive by the thread itself so that a thread
// that cannot be joined in time (a server that stopped answering) never outlives its state.
struct PulseCaptureDevice::Shared {
    // Buffers queued by the GUI thread (producer) for the capture thread (consumer).
    static constexpr size_t RingSize = 8;
    std::array<CaptureHeader*, RingSize> ring{};
    std::atomic<size_t> head{0}; // next to take, written by the consumer
    std::atomic<size_t> tail{0}; // next free slot, written by the producer

    std::mutex mutex; // orders filling a buffer against Stop
    std::condition_variable wake;
    bool stopping = false;
    bool exited = false;
    std::atomic<int> reconnects{0};

    pa_simple* stream = nullptr;
    int pipe[2] = {-1, -1};
    std::thread thread;

    ~Shared() {
        if (stream != nullptr) {
            pa_simple_free(stream);
        }
        for (int fd : pipe) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }

    CaptureHeader* Take() {
        const size_t h = head.load(std::memory_order_relaxed);
        if (h == tail.load(std::memory_order_acquire)) {
            return nullptr;
        }
        CaptureHeader* header = ring[h % RingSize];
        head.store(h + 1, std::memory_order_release);
        return header;
    }

    void Run() {
        unsigned char chunk[FragmentBytes];
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (stopping) {
                    break;
                }
                if (stream == nullptr) {
                    wake.wait_for(lock, ReconnectInterval, [this] { return stopping; });
                    if (stopping) {
                        break;
                    }
                }
            }
            if (stream == nullptr) {
                int error = 0;
                stream = OpenStream(error);
                if (stream == nullptr) {
                    continue;
                }
                ++reconnects;
            }
            int error = 0;
            if (pa_simple_read(stream, chunk, sizeof chunk, &error) < 0) {
                pa_simple_free(stream); // the server went away: try again shortly
                stream = nullptr;
                continue;
            }
            std::lock_guard lock(mutex);
            if (stopping) {
                break;
            }
            CaptureHeader* header = Take();
            if (header == nullptr) {
                continue; // no buffer queued: this sound is lost, as on a device
            }
            const size_t filled = std::min<size_t>(sizeof chunk, header->bufferLength);
            std::memcpy(header->data, chunk, filled);
            header->bytesRecorded = static_cast<uint32_t>(filled);
            [[maybe_unused]] const ssize_t written = write(pipe[1], &header, sizeof header);
        }
        std::lock_guard lock(mutex);
        exited = true;
        wake.notify_all();
    }
};

PulseCaptureDevice::PulseCaptureDevice() : shared_(std::make_shared<Shared>()) {}

PulseCaptureDevice::~PulseCaptureDevice() {
    Stop();
}

int PulseCaptureDevice::CodeForPulseError(int error) {
    switch (error) {
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_INVALIDSERVER:
    case PA_ERR_TIMEOUT:
    case PA_ERR_CONNECTIONTERMINATED:
    case PA_ERR_VERSION:
        return MMSYSERR_NODRIVER;
    case PA_ERR_NOENTITY:
        return MMSYSERR_BADDEVICEID;
    case PA_ERR_ACCESS:
    case PA_ERR_AUTHKEY:
    case PA_ERR_BUSY:
    case PA_ERR_EXIST:
        return MMSYSERR_ALLOCATED;
    case PA_ERR_INVALID:
    case PA_ERR_NOTSUPPORTED:
    case PA_ERR_NOTIMPLEMENTED:
        return WAVERR_BADFORMAT;
    default:
        return MMSYSERR_ERROR;
    }
}

int PulseCaptureDevice::Open(CaptureTarget& target) {
    Shared& s = *shared_;
    if (s.stream != nullptr || s.thread.joinable()) {
        return MMSYSERR_ALLOCATED;
    }
    int error = 0;
    try {
        s.stream = OpenStream(error);
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    }
    if (s.stream == nullptr) {
        return CodeForPulseError(error);
    }
    if (s.pipe[0] < 0 && pipe2(s.pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        pa_simple_free(s.stream);
        s.stream = nullptr;
        return MMSYSERR_NOMEM;
    }
    target_ = &target;
    return CaptureOk;
}

void PulseCaptureDevice::AddBuffer(CaptureHeader& header) {
    Shared& s = *shared_;
    const size_t t = s.tail.load(std::memory_order_relaxed);
    if (target_ == nullptr || t - s.head.load(std::memory_order_acquire) == Shared::RingSize) {
        return;
    }
    s.ring[t % Shared::RingSize] = &header;
    s.tail.store(t + 1, std::memory_order_release);
}

void PulseCaptureDevice::Start() {
    if (target_ == nullptr || shared_->thread.joinable()) {
        return;
    }
    std::shared_ptr<Shared> shared = shared_;
    shared_->thread = std::thread([shared] { shared->Run(); });
}

void PulseCaptureDevice::Stop() {
    Shared& s = *shared_;
    {
        std::lock_guard lock(s.mutex);
        s.stopping = true;
        // Whatever is still queued is the program's again.
        s.head.store(s.tail.load());
    }
    s.wake.notify_all();
    if (s.thread.joinable()) {
        std::unique_lock lock(s.mutex);
        const bool exited = s.wake.wait_for(lock, StopWait, [&s] { return s.exited; });
        lock.unlock();
        if (exited) {
            s.thread.join();
        } else {
            s.thread.detach(); // blocked in the server; it holds its own state alive
        }
    }
    // Buffers handed back but not yet dispatched are not handed out any more.
    if (s.pipe[0] >= 0) {
        CaptureHeader* header = nullptr;
        while (read(s.pipe[0], &header, sizeof header) == sizeof header) {
        }
    }
    target_ = nullptr;
}

int PulseCaptureDevice::NotificationFd() const {
    return shared_->pipe[0];
}

void PulseCaptureDevice::DispatchReady() {
    Shared& s = *shared_;
    CaptureHeader* header = nullptr;
    while (target_ != nullptr && s.pipe[0] >= 0 &&
           read(s.pipe[0], &header, sizeof header) == sizeof header) {
        target_->OnCaptureBuffer(*this, *header);
    }
}

int PulseCaptureDevice::reconnects() const {
    return shared_->reconnects.load();
}

} // namespace ondrel
