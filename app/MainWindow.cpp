#include "app/MainWindow.h"

#include "app/capture/CaptureErrors.h"
#include "settings/SettingsFile.h"
#include "views/ViewLimits.h"

namespace ondrel {
namespace {

struct CommandItem {
    int id;
    const char* label;
};

constexpr CommandItem ViewItems[] = {
    {IDM_DECIBEL, "デシベルメータ (&D)"},
    {IDM_ANALOG, "アナログメータ (&A)"},
    {IDM_SPECTRUM_DETAIL, "スペクトラムアナライザ（詳細）(&H)"},
    {IDM_SPECTRUM, "スペクトラムアナライザ(&S)"},
    {IDM_SPECTRUM_SIMPLE, "スペクトラムアナライザ（簡易）(&E)"},
    {IDM_TRACE, "トレース表示 (&T)"},
    {IDM_SCOPE, "オシロスコープ (&O)"},
};
constexpr char MostTopLabel[] = "最前面に表示 (&T)";
constexpr char NoFrameLabel[] = "フレームなし (&F)";
constexpr char OptionsLabel[] = "オプション";

bool IsView(int mode) {
    return mode >= IDM_DECIBEL && mode <= IDM_SCOPE;
}

MenuItem Separator() {
    return MenuItem{0, "", false, true};
}

} // namespace

MainWindow::MainWindow(Settings& settings, std::filesystem::path settingsPath,
                       const SineWindowTable& window, CaptureDevice& device, WindowSystem& system)
    : settings_(settings), settingsPath_(std::move(settingsPath)), device_(device), system_(system),
      pipeline_(settings, window, *this) {}

bool MainWindow::OnCreate() {
    const int result = buffers_.OpenCapture(device_, *this);
    if (result != CaptureOk) {
        if (const char* message = CaptureErrorMessage(result)) {
            system_.ShowMessage(message);
        }
        system_.PostQuit();
        return false;
    }
    pipeline_.SetResizePending();
    ExtendSystemMenu();
    system_.RecomputeFrame(true);
    if (settings_.Mode != NoView) {
        HandleCommand(settings_.Mode);
    }
    device_.Start();
    return true;
}

void MainWindow::OnDestroy() {
    // Stops the device before its buffers go, so it never writes into freed memory.
    buffers_.FreeCaptureBuffers(device_);
    const Rect outer = system_.GetWindowRect();
    settings_.WinX = outer.left;
    settings_.WinY = outer.top;
    TransferSettings(settings_, settingsPath_, TransferSave);
    system_.PostQuit();
}

bool MainWindow::OnSize(int sizeType) {
    if (sizeType != SIZE_RESTORED) {
        return false;
    }
    const Rect client = system_.GetClientRect();
    if (ViewSize* size = ViewSizeOf(settings_, settings_.Mode)) {
        size->Width = client.right;
        size->Height = client.bottom;
        pipeline_.SetCurrentViewSize(size);
    }
    pipeline_.SetResizePending();
    return true;
}

void MainWindow::OnPaint() {
    const ViewSize* size = pipeline_.currentViewSize();
    if (size == nullptr) {
        return;
    }
    if (settings_.Mode == IDM_SCOPE || !settings_.RedrawLow || paintToggle_) {
        system_.CopyToWindow(pipeline_.backBuffer(), ClampViewDimension(size->Width),
                             ClampViewDimension(size->Height));
    }
    paintToggle_ = !paintToggle_;
}

void MainWindow::OnKeyDown(int key) {
    if (!settings_.NoFrame || key != VK_CONTROL) {
        return;
    }
    system_.SetStyle(system_.GetStyle() | WS_THICKFRAME);
    system_.RecomputeFrame(false);
}

void MainWindow::OnKeyUp(int key) {
    if (!settings_.NoFrame || key != VK_CONTROL) {
        return;
    }
    system_.SetStyle(system_.GetStyle() ^ WS_THICKFRAME);
    system_.RecomputeFrame(false);
    OnSize(SIZE_RESTORED);
}

void MainWindow::OnSystemCommand(int id) {
    const int command = id & 0xFFFF;
    if (command >= IDM_DECIBEL && command <= IDM_OPTIONS) {
        HandleCommand(command);
    }
    system_.DefaultSystemCommand(id);
}

void MainWindow::OnLeftButtonDown() {
    system_.SetMoveCursor();
    system_.StartSystemMove();
}

void MainWindow::OnRightButtonDown() {
    const int chosen = system_.TrackPopupMenu(system_.CursorPosition());
    system_.PostSystemCommand(chosen);
}

bool MainWindow::OnSizing(int edge, Rect& proposed) {
    if (settings_.Mode != IDM_ANALOG) {
        return true;
    }
    const Rect grown = system_.AdjustWindowRect(Rect{0, 0, 10, 10}, system_.GetStyle());
    const int frameWidth = grown.width() - 10, frameHeight = grown.height() - 10;
    int width = proposed.width() - frameWidth;
    int height = proposed.height() - frameHeight;
    switch (edge) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT:
        height = static_cast<int>(width * 0.25);
        break;
    case WMSZ_TOP:
    case WMSZ_BOTTOM:
        width = 4 * height;
        break;
    case WMSZ_TOPLEFT:
    case WMSZ_TOPRIGHT:
    case WMSZ_BOTTOMLEFT:
    case WMSZ_BOTTOMRIGHT:
        if (width > 4 * height) {
            height = static_cast<int>(width * 0.25);
        } else {
            width = 4 * height;
        }
        break;
    default:
        break;
    }
    proposed.right = proposed.left + frameWidth + width;
    proposed.bottom = proposed.top + frameHeight + height;
    return true;
}

int MainWindow::HandleCommand(int command) {
    if (command == IDM_OPTIONS) {
        system_.ShowOptionsWindow();
        return settings_.Mode;
    }
    if (command == IDM_MOSTTOP) {
        settings_.MostTop = !settings_.MostTop;
        system_.SetTopMost(settings_.MostTop);
        system_.SetMenuCheck(IDM_MOSTTOP, settings_.MostTop);
        return settings_.Mode;
    }
    if (command == IDM_NOFRAME) {
        settings_.NoFrame = !settings_.NoFrame;
        system_.SetMenuCheck(IDM_NOFRAME, settings_.NoFrame);
        if (settings_.Mode == NoView) {
            return NoView;
        }
        // Only a view is re-applied: a Mode naming a command (possible only from an edited
        // settings file) would otherwise make this call itself without end.
        return IsView(settings_.Mode) ? HandleCommand(settings_.Mode) : settings_.Mode;
    }

    for (const CommandItem& item : ViewItems) {
        system_.SetMenuCheck(item.id, false);
    }
    settings_.Mode = command;
    system_.SetMenuCheck(command, true);
    if (const int bandSize = BandSizeOf(command); bandSize >= 0) {
        settings_.Digital.BandSize = bandSize;
    }
    if (const ViewSize* size = ViewSizeOf(settings_, command)) {
        ApplyWindowFrame(size->Width, size->Height);
    }
    system_.PostResize();
    return settings_.Mode;
}

void MainWindow::ApplyWindowFrame(int width, int height) {
    system_.SetStyle(settings_.NoFrame ? FramelessStyle : FramedStyle);
    const Rect outer = system_.AdjustWindowRect(
        Rect{0, 0, ClampViewDimension(width), ClampViewDimension(height)}, system_.GetStyle());
    system_.ResizeWindow(outer.width(), outer.height(), settings_.MostTop);
    system_.RecomputeFrame(true);
}

void MainWindow::ExtendSystemMenu() {
    system_.InsertMenuItem(0, Separator());
    int position = 0;
    for (const CommandItem& item : ViewItems) {
        system_.InsertMenuItem(position++, MenuItem{item.id, item.label, false, false});
    }
    system_.InsertMenuItem(7, Separator());
    system_.InsertMenuItem(8, MenuItem{IDM_MOSTTOP, MostTopLabel, settings_.MostTop, false});
    system_.InsertMenuItem(9, MenuItem{IDM_NOFRAME, NoFrameLabel, settings_.NoFrame, false});
    system_.InsertMenuItem(10, MenuItem{IDM_OPTIONS, OptionsLabel, false, false});
    system_.RemoveMenuItem(SC_RESTORE);
    system_.RemoveMenuItem(SC_MAXIMIZE);
    system_.InsertMenuItem(13, Separator());
}

void MainWindow::OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) {
    pipeline_.ProcessCaptureBuffer(device, header);
}

} // namespace ondrel
