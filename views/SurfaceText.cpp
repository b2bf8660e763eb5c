#include "views/SurfaceText.h"

#include "views/Surface.h"
#include "views/SurfaceQt.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace ondrel {

// Fonts need a GUI application object. The desktop program makes its own; the offline
// renderer and the tests get one on Qt's offscreen platform, made here on first use.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    static int argc = 3;
    static char name[] = "ondrel", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static std::unique_ptr<QGuiApplication> application =
        std::make_unique<QGuiApplication>(argc, argv);
}

QFont QtFontOf(const Font& font) {
    QFont qfont(QStringLiteral("DejaVu Sans"));
    // A cell height holds the face's ascent and descent: 2384 of DejaVu Sans' 2048 units.
    const int characters =
        font.height < 0 ? -font.height : static_cast<int>(std::lround(font.height * 2048.0 / 2384));
    qfont.setPixelSize(std::clamp(characters, 1, 4096));
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    qfont.setStyleStrategy(font.antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    return qfont;
}

namespace {

struct TextCell {
    std::string text;
    Font font;
    Colour foreground;
    Colour background;
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

const TextCell& CellFor(std::string_view text, const Font& font, Colour foreground,
                        Colour background) {
    static std::vector<std::unique_ptr<TextCell>> cells;
    for (const auto& cell : cells) {
        if (cell->text == text && cell->font == font && cell->foreground == foreground &&
            cell->background == background) {
            return *cell;
        }
    }
    EnsureGuiApplication();
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFont qfont = QtFontOf(font);
    const QFontMetrics metrics(qfont);
    auto cell = std::make_unique<TextCell>();
    cell->text = std::string(text);
    cell->font = font;
    cell->foreground = foreground;
    cell->background = background;
    cell->width = std::max(metrics.horizontalAdvance(qtext), 0);
    cell->height = std::max(metrics.height(), 0);
    cell->pixels.assign(static_cast<size_t>(cell->width) * cell->height, PixelOf(background));
    if (cell->width > 0 && cell->height > 0) {
        QImage image(reinterpret_cast<uchar*>(cell->pixels.data()), cell->width, cell->height,
                     cell->width * 4, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setFont(qfont);
        painter.setPen(QColor(RedOf(foreground), GreenOf(foreground), BlueOf(foreground)));
        painter.drawText(0, metrics.ascent(), qtext);
    }
    cells.push_back(std::move(cell));
    return *cells.back();
}

} // namespace

void DrawTextCell(Surface& surface, int x, int y, std::string_view text, const Font& font,
                  Colour foreground, Colour background) {
    if (text.empty()) {
        return;
    }
    const TextCell& cell = CellFor(text, font, foreground, background);
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = static_cast<int>(
        std::min<long long>(static_cast<long long>(x) + cell.width, surface.width()));
    const int bottom = static_cast<int>(
        std::min<long long>(static_cast<long long>(y) + cell.height, surface.height()));
    if (right <= left) {
        return;
    }
    for (int row = top; row < bottom; ++row) {
        const uint32_t* from = cell.pixels.data() + static_cast<size_t>(row - y) * cell.width;
        uint32_t* to = surface.pixels() + static_cast<size_t>(row) * surface.width();
        std::copy(from + (left - x), from + (right - x), to + left);
    }
}

TextExtent MeasureText(std::string_view text, const Font& font) {
    if (text.empty()) {
        return {};
    }
    const TextCell& cell = CellFor(text, font, Black, Black);
    return {cell.width, cell.height};
}

} // namespace ondrel
