// ondrel-render: feeds a WAV file through the real capture layer (WAV backend), the real
// frame pipeline and the real renderers, one frame per 2048-byte buffer, exactly as the live
// program would, and writes the view as PNG pictures and, on request, the analysed values.

#include "app/capture/CaptureBuffers.h"
#include "app/capture/WavCaptureDevice.h"
#include "dsp/FramePipeline.h"
#include "settings/SettingsFile.h"
#include "views/ViewLimits.h"

#include <QGuiApplication>
#include <QImage>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace ondrel;

constexpr char Usage[] =
    "usage: ondrel-render [--view NAME] [--settings FILE] [--size WxH] [--frames N]\n"
    "                     [--out PATH] [--values FILE] INPUT.wav\n"
    "  NAME       decibel | analog | spectrum-detail | spectrum | spectrum-simple | trace | scope\n"
    "             (default: the view stored in the settings file, else decibel)\n"
    "  --settings a settings file in the program's own format (Level.dat); default: all defaults\n"
    "  --size     overrides the chosen view's stored size\n"
    "  --frames   stop after N frames\n"
    "  --out      a .png path: the view after the last frame; an existing directory: one PNG\n"
    "             per frame, frame-000001.png, frame-000002.png, ...\n"
    "  --values   CSV, one row per analysed frame: frame number, then the 256 left and the 256\n"
    "             right values as copied into the bin history, with 17 significant digits\n"
    "  INPUT      16-bit PCM WAV, 2 channels, 22050 Hz (\"-\" reads standard input)\n";

struct ViewName {
    const char* name;
    int mode;
    bool available;
};

constexpr ViewName Views[] = {
    {"decibel", IDM_DECIBEL, true},
    {"analog", IDM_ANALOG, true},
    {"spectrum-detail", IDM_SPECTRUM_DETAIL, true},
    {"spectrum", IDM_SPECTRUM, true},
    {"spectrum-simple", IDM_SPECTRUM_SIMPLE, true},
    {"trace", IDM_TRACE, true},
    {"scope", IDM_SCOPE, true},
};

const ViewName* FindView(std::string_view name) {
    for (const ViewName& view : Views) {
        if (name == view.name) {
            return &view;
        }
    }
    return nullptr;
}
const ViewName* FindView(int mode) {
    for (const ViewName& view : Views) {
        if (mode == view.mode) {
            return &view;
        }
    }
    return nullptr;
}

struct Options {
    std::string view;
    std::string settings;
    std::optional<ViewSize> size;
    long long frames = -1;
    std::string out;
    std::string values;
    std::string input;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "ondrel-render: %s\n", message.c_str());
    std::exit(2);
}

bool ParseInt(std::string_view text, long long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end;
}

ViewSize ParseSize(const std::string& text) {
    const size_t x = text.find('x');
    long long w = 0, h = 0;
    if (x == std::string::npos || !ParseInt(std::string_view(text).substr(0, x), w) ||
        !ParseInt(std::string_view(text).substr(x + 1), h)) {
        Fail("--size " + text + ": expected WIDTHxHEIGHT, e.g. 360x128");
    }
    if (w < 1 || h < 1 || w > MaxViewDimension || h > MaxViewDimension) {
        Fail("--size " + text + ": width and height must be 1 to " +
             std::to_string(MaxViewDimension));
    }
    return ViewSize{static_cast<int>(w), static_cast<int>(h)};
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                Fail(arg + " needs a value (see --help)");
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (arg == "--view") {
            options.view = value();
        } else if (arg == "--settings") {
            options.settings = value();
        } else if (arg == "--size") {
            options.size = ParseSize(value());
        } else if (arg == "--frames") {
            const std::string text = value();
            if (!ParseInt(text, options.frames) || options.frames < 0) {
                Fail("--frames " + text + ": expected a number of frames, 0 or more");
            }
        } else if (arg == "--out") {
            options.out = value();
        } else if (arg == "--values") {
            options.values = value();
        } else if (arg.size() > 1 && arg[0] == '-') {
            Fail("unknown option " + arg + " (see --help)");
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            Fail("more than one input file: " + options.input + " and " + arg);
        }
    }
    if (options.input.empty()) {
        Fail("no input file (see --help)");
    }
    return options;
}

QImage ViewPicture(const Surface& backBuffer, int w, int h) {
    const QImage whole(reinterpret_cast<const uchar*>(backBuffer.pixels()), backBuffer.width(),
                       backBuffer.height(), backBuffer.width() * 4, QImage::Format_RGB32);
    return whole.copy(0, 0, std::min(w, backBuffer.width()), std::min(h, backBuffer.height()));
}

class Renderer : public CaptureTarget, public PaintTarget {
public:
    Renderer(Settings& settings, const SineWindowTable& window, const Options& options)
        : settings_(settings), pipeline_(settings, window, *this), options_(options) {}

    void Run(WavCaptureDevice& device) {
        // The view's own size pair, as the window's resize would report it.
        pipeline_.SetCurrentViewSize(ViewSizeOf(settings_, settings_.Mode));
        pipeline_.SetResizePending();

        std::error_code error;
        perFrame_ = !options_.out.empty() && std::filesystem::is_directory(options_.out, error);
        if (!options_.out.empty() && !perFrame_ &&
            std::filesystem::path(options_.out).extension() != ".png") {
            Fail("--out " + options_.out + ": expected a .png file or an existing directory");
        }
        if (!options_.values.empty()) {
            values_ = std::fopen(options_.values.c_str(), "w");
            if (values_ == nullptr) {
                Fail("--values " + options_.values + ": cannot write: " + std::strerror(errno));
            }
        }

        CaptureBuffers buffers;
        if (buffers.OpenCapture(device, *this) != CaptureOk) {
            Fail("the WAV backend could not be opened");
        }
        device.Start();
        while ((options_.frames < 0 || frame_ < options_.frames) && device.Pump()) {
        }
        buffers.FreeCaptureBuffers(device);

        if (values_ != nullptr && std::fclose(values_) != 0) {
            Fail("--values " + options_.values + ": write failed");
        }
        if (frame_ == 0) {
            Fail(options_.input + ": no frames to render (the input holds no samples)");
        }
        if (!options_.out.empty() && !perFrame_) {
            Save(options_.out);
        }
    }

    void OnCaptureBuffer(CaptureDevice& device, CaptureHeader& header) override {
        ++frame_;
        pipeline_.ProcessCaptureBuffer(device, header);
        if (values_ != nullptr && settings_.Mode != IDM_SCOPE) {
            WriteValues();
        }
        if (perFrame_) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06lld.png", frame_);
            Save((std::filesystem::path(options_.out) / name).string());
        }
    }

    void RequestPaint() override {}

private:
    void WriteValues() {
        const BinHistory& history = pipeline_.binHistory();
        std::fprintf(values_, "%lld", frame_);
        for (double v : history.left) {
            std::fprintf(values_, ",%.17g", v);
        }
        for (double v : history.right) {
            std::fprintf(values_, ",%.17g", v);
        }
        std::fputc('\n', values_);
    }

    void Save(const std::string& path) {
        const ViewSize& size = *pipeline_.currentViewSize();
        const QImage picture = ViewPicture(pipeline_.backBuffer(), ClampViewDimension(size.Width),
                                           ClampViewDimension(size.Height));
        if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG")) {
            Fail("--out " + path + ": cannot write the picture");
        }
    }

    Settings& settings_;
    FramePipeline pipeline_;
    const Options& options_;
    bool perFrame_ = false;
    std::FILE* values_ = nullptr;
    long long frame_ = 0;
};

// Qt's notes about the missing runtime folder on a headless machine say nothing about the
// picture; every other message goes through.
QtMessageHandler g_qtHandler = nullptr;

void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("QStandardPaths:")) || g_qtHandler == nullptr) {
        return;
    }
    g_qtHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    g_qtHandler = qInstallMessageHandler(FilterQtMessages);

    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication application(argc, argv);

    Settings settings;
    if (!options.settings.empty()) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(options.settings, error)) {
            Fail("--settings " + options.settings + ": no such settings file");
        }
    }
    InitSettings(settings, options.settings, 1080);
    if (!options.settings.empty()) {
        TransferSettings(settings, options.settings, TransferLoad);
    }

    WavCaptureDevice device;
    std::string error;
    if (!device.OpenFile(options.input, error)) {
        Fail(error);
    }

    const ViewName* view = options.view.empty() ? FindView(settings.Mode) : FindView(options.view);
    if (view == nullptr && !options.view.empty()) {
        Fail("unknown view " + options.view +
             " (decibel, analog, spectrum-detail, spectrum, spectrum-simple, trace or scope)");
    }
    if (view == nullptr) {
        view = FindView(IDM_DECIBEL);
    }
    if (!view->available) {
        Fail(std::string("the ") + view->name + " view is not available yet");
    }
    settings.Mode = view->mode;
    if (const int bandSize = BandSizeOf(view->mode); bandSize >= 0) {
        settings.Digital.BandSize = bandSize;
    }
    if (options.size) {
        *ViewSizeOf(settings, view->mode) = *options.size;
    }

    SineWindowTable window;
    BuildSineWindowTable(window);
    Renderer renderer(settings, window, options);
    renderer.Run(device);
    return 0;
}
