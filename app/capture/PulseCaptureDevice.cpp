#include "app/capture/PulseCaptureDevice.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

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

} // namespace

// Everything the capture thread touches, kept alive by the thread itself so that a thread
// that cannot be joined in time never outlives its state.
//
// The thread runs its own PulseAudio main loop: the server's packets arrive in the read
// callback on this thread, are gathered into whole 2048-byte buffers and handed on, with no
// further thread in between.
struct PulseCaptureDevice::Shared {
    // Buffers queued by the GUI thread (producer) for the capture thread (consumer).
    static constexpr size_t RingSize = 8;
    std::array<CaptureHeader*, RingSize> ring{};
    std::atomic<size_t> head{0}; // next to take, written by the consumer
    std::atomic<size_t> tail{0}; // next free slot, written by the producer

    std::mutex mutex; // orders filling a buffer and the main loop's life against Stop
    std::condition_variable wake;
    bool stopping = false;
    bool exited = false;
    std::atomic<int> reconnects{0};

    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    bool failed = false; // the connection broke: reconnect

    unsigned char chunk[FragmentBytes] = {};
    size_t filled = 0;

    int pipe[2] = {-1, -1};
    std::thread thread;

    ~Shared() {
        Disconnect();
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

    // A whole buffer of sound: into the oldest queued buffer, or lost if none is queued.
    void Deliver() {
        std::lock_guard lock(mutex);
        if (stopping) {
            return;
        }
        CaptureHeader* header = Take();
        if (header == nullptr) {
            return;
        }
        const size_t bytes = std::min<size_t>(sizeof chunk, header->bufferLength);
        std::memcpy(header->data, chunk, bytes);
        header->bytesRecorded = static_cast<uint32_t>(bytes);
        [[maybe_unused]] const ssize_t written = write(pipe[1], &header, sizeof header);
    }

    void Append(const unsigned char* data, size_t bytes) {
        while (bytes > 0) {
            const size_t step = std::min(bytes, sizeof chunk - filled);
            if (data != nullptr) {
                std::memcpy(chunk + filled, data, step);
                data += step;
            } else {
                std::memset(chunk + filled, 0, step); // a hole in the stream reads as silence
            }
            filled += step;
            bytes -= step;
            if (filled == sizeof chunk) {
                Deliver();
                filled = 0;
            }
        }
    }

    static void OnRead(pa_stream* s, size_t, void* self) {
        auto& shared = *static_cast<Shared*>(self);
        while (pa_stream_readable_size(s) > 0) {
            const void* data = nullptr;
            size_t bytes = 0;
            if (pa_stream_peek(s, &data, &bytes) < 0 || bytes == 0) {
                break;
            }
            shared.Append(static_cast<const unsigned char*>(data), bytes);
            pa_stream_drop(s);
        }
    }

    static void OnContextState(pa_context* c, void* self) {
        const pa_context_state_t state = pa_context_get_state(c);
        if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
            static_cast<Shared*>(self)->failed = true;
        }
    }

    static void OnStreamState(pa_stream* s, void* self) {
        const pa_stream_state_t state = pa_stream_get_state(s);
        if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
            static_cast<Shared*>(self)->failed = true;
        }
    }

    // Connects to the server and opens the record stream, running the main loop on the
    // calling thread until both are ready. Returns 0 or the PulseAudio error.
    int Connect() {
        pa_mainloop* newLoop = pa_mainloop_new();
        if (newLoop == nullptr) {
            return PA_ERR_INTERNAL;
        }
        {
            std::lock_guard lock(mutex);
            loop = newLoop;
        }
        failed = false;
        filled = 0;
        context = pa_context_new(pa_mainloop_get_api(loop), ApplicationName);
        if (context == nullptr) {
            Disconnect();
            return PA_ERR_INTERNAL;
        }
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
            const int error = pa_context_errno(context);
            Disconnect();
            return error;
        }
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state) || pa_mainloop_iterate(loop, 1, nullptr) < 0) {
                const int error = pa_context_errno(context);
                Disconnect();
                return error != 0 ? error : PA_ERR_CONNECTIONREFUSED;
            }
        }
        const pa_sample_spec format{PA_SAMPLE_S16LE, CaptureSampleRate, CaptureChannels};
        stream = pa_stream_new(context, StreamName, &format, nullptr);
        if (stream == nullptr) {
            const int error = pa_context_errno(context);
            Disconnect();
            return error;
        }
        pa_stream_set_read_callback(stream, &Shared::OnRead, this);
        pa_buffer_attr attributes;
        attributes.maxlength = static_cast<uint32_t>(-1);
        attributes.tlength = static_cast<uint32_t>(-1);
        attributes.prebuf = static_cast<uint32_t>(-1);
        attributes.minreq = static_cast<uint32_t>(-1);
        attributes.fragsize = FragmentBytes;
        if (pa_stream_connect_record(stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
            const int error = pa_context_errno(context);
            Disconnect();
            return error;
        }
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(stream);
            if (state == PA_STREAM_READY) {
                break;
            }
            if (!PA_STREAM_IS_GOOD(state) || pa_mainloop_iterate(loop, 1, nullptr) < 0) {
                const int error = pa_context_errno(context);
                Disconnect();
                return error != 0 ? error : PA_ERR_UNKNOWN;
            }
        }
        pa_context_set_state_callback(context, &Shared::OnContextState, this);
        pa_stream_set_state_callback(stream, &Shared::OnStreamState, this);
        return 0;
    }

    void Disconnect() {
        if (stream != nullptr) {
            pa_stream_set_read_callback(stream, nullptr, nullptr);
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
            stream = nullptr;
        }
        if (context != nullptr) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
        pa_mainloop* old = nullptr;
        {
            std::lock_guard lock(mutex);
            old = loop;
            loop = nullptr;
        }
        if (old != nullptr) {
            pa_mainloop_free(old);
        }
    }

    void Run() {
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (stopping) {
                    break;
                }
                if (loop == nullptr) {
                    wake.wait_for(lock, ReconnectInterval, [this] { return stopping; });
                    if (stopping) {
                        break;
                    }
                }
            }
            if (loop == nullptr) {
                if (Connect() != 0) {
                    continue;
                }
                ++reconnects;
            }
            if (pa_mainloop_iterate(loop, 1, nullptr) < 0 || failed) {
                Disconnect(); // the server went away: try again shortly
            }
        }
        Disconnect();
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
    if (s.loop != nullptr || s.thread.joinable()) {
        return MMSYSERR_ALLOCATED;
    }
    int error = 0;
    try {
        error = s.Connect();
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    }
    if (error != 0) {
        return CodeForPulseError(error);
    }
    if (s.pipe[0] < 0 && pipe2(s.pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s.Disconnect();
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
        if (s.loop != nullptr) {
            pa_mainloop_wakeup(s.loop);
        }
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
