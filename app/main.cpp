// Ondrel, the desktop audio monitor: the entry point.

#include "app/MainWindow.h"
#include "app/capture/PulseCaptureDevice.h"
#include "app/qt/QtMainWindow.h"
#include "dsp/ChannelAnalysis.h"
#include "options/OptionsWindow.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_signalPipe[1], &byte, 1);
}

// Keeping the window above others needs X11 (or XWayland): Wayland compositors ignore a
// client's wish to stay on top. Prefer xcb where both are there, unless the user chose.
bool ChoosePlatform() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    const bool haveWayland = wayland != nullptr && *wayland != '\0';
    const bool haveX11 = x11 != nullptr && *x11 != '\0';
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        if (!haveWayland && !haveX11) {
            return false;
        }
        if (haveX11) {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using namespace ondrel;
    if (!ChoosePlatform()) {
        std::fprintf(stderr, "ondrel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                             "'make demo' renders the views to pictures without one\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ondrel/ondrel.png")));
    QApplication::setQuitOnLastWindowClosed(false);

    // Settings first, before the window exists.
    Settings settings;
    const std::filesystem::path settingsPath = SettingsPath();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int desktopBottom = screen != nullptr ? screen->geometry().bottom() + 1 : 1080;
    InitSettings(settings, settingsPath, desktopBottom);
    TransferSettings(settings, settingsPath, TransferLoad);
    SineWindowTable window;
    BuildSineWindowTable(window);

    PulseCaptureDevice device;
    QtMainWindow qtWindow;
    MainWindow mainWindow(settings, settingsPath, window, device, qtWindow);
    qtWindow.SetLogic(&mainWindow);
    qtWindow.SetInitialPosition(settings.WinX, settings.WinY);
    if (!mainWindow.OnCreate()) {
        qtWindow.SetLogic(nullptr); // no view, no save: the program ends at the posted quit
        return QApplication::exec();
    }

    // The options window, hidden until command 113 shows it.
    std::unique_ptr<OptionsWindow> options = CreateOptionsWindow(settings);
    if (options == nullptr) {
        return 0;
    }
    qtWindow.SetShowOptions([&options] { options->ShowNormal(); });

    QSocketNotifier captured(device.NotificationFd(), QSocketNotifier::Read);
    QObject::connect(&captured, &QSocketNotifier::activated, &qtWindow,
                     [&device] { device.DispatchReady(); });

    // A logout or kill closes the window the normal way, so the settings are saved.
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            std::signal(signal, OnSignal);
        }
    }
    QSocketNotifier signalled(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, &qtWindow, [&qtWindow] {
        char byte;
        while (read(g_signalPipe[0], &byte, 1) == 1) {
        }
        qtWindow.close();
    });

    return QApplication::exec();
}
