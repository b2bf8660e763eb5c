#pragma once

// The main window's logic: its creation, size bookkeeping, paint copy and destruction, the
// commands of its menu, the frame modes, and the frames the capture device drives. It talks
// to the window system only through WindowSystem, so it runs the same under Qt and in tests.

#include "app/WindowSystem.h"
#include "app/capture/CaptureBuffers.h"
#include "dsp/FramePipeline.h"
#include "settings/Settings.h"

#include <filesystem>

namespace ondrel {

inline constexpr char MainWindowTitle[] = "Brenlow Software Ondrel３ Ver.1.41";

class MainWindow : public CaptureTarget, public PaintTarget {
public:
    MainWindow(Settings& settings, std::filesystem::path settingsPath,
               const SineWindowTable& window, CaptureDevice& device, WindowSystem& system);

    // The window's messages. OnCreate reports false when the capture device could not be
    // opened: the message (if any) was shown and the quit posted, and nothing else was set up.
    bool OnCreate();
    void OnDestroy();
    // False when the message goes to the platform's default handling (not a restore).
    bool OnSize(int sizeType);
    void OnPaint();
    void OnKeyDown(int key);
    void OnKeyUp(int key);
    void OnSystemCommand(int id);
    void OnLeftButtonDown();
    void OnRightButtonDown();
    // The proposed outer rectangle while the user drags `edge`; always handled.
    bool OnSizing(int edge, Rect& proposed);

    int HandleCommand(int command);
    void ApplyWindowFrame(int width, int height);
    void ExtendSystemMenu();

    // A filled capture buffer: one frame.
    void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) override;
    void RequestPaint() override { system_.PostPaint(); }

    FramePipeline& pipeline() { return pipeline_; }
    bool paintToggle() const { return paintToggle_; }

private:
    Settings& settings_;
    std::filesystem::path settingsPath_;
    CaptureDevice& device_;
    WindowSystem& system_;
    FramePipeline pipeline_;
    CaptureBuffers buffers_;
    bool paintToggle_ = false;
};

} // namespace ondrel
