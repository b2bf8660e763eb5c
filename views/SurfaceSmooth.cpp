// The surface's anti-aliased operations: a QPainter with antialiasing working on the
// surface's own pixels.

#include "views/Surface.h"
#include "views/SurfaceQt.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace ondrel {

class SurfacePainter {
public:
    SurfacePainter(uint32_t* pixels, int width, int height)
        : pixels_(pixels), width_(width), height_(height),
          image_(reinterpret_cast<uchar*>(pixels), width, height, width * 4, QImage::Format_RGB32),
          painter_(&image_) {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
    }

    bool BoundTo(const uint32_t* pixels, int width, int height) const {
        return pixels == pixels_ && width == width_ && height == height_;
    }
    QPainter& painter() { return painter_; }

    // Selects `pen`; the Qt pen is built only when it differs from the one selected, since
    // building one allocates.
    void Select(const SmoothPen& pen) {
        if (!hasPen_ || pen.colour != pen_.colour || pen.width != pen_.width) {
            QPen qpen(QColor((pen.colour >> 16) & 0xFF, (pen.colour >> 8) & 0xFF, pen.colour & 0xFF,
                             (pen.colour >> 24) & 0xFF));
            qpen.setWidthF(pen.width);
            qpen.setCapStyle(Qt::RoundCap);
            qpen.setJoinStyle(Qt::RoundJoin);
            painter_.setPen(qpen);
            pen_ = pen;
            hasPen_ = true;
        }
    }
    // For operations that change the Qt pen themselves.
    void ForgetPen() { hasPen_ = false; }

private:
    SmoothPen pen_;
    bool hasPen_ = false;
    const uint32_t* pixels_;
    int width_;
    int height_;
    QImage image_;
    QPainter painter_;
};

namespace {

QColor QtColourOf(Argb c) {
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, (c >> 24) & 0xFF);
}

} // namespace

void Surface::PainterSlot::Reset() {
    delete painter;
    painter = nullptr;
}

SurfacePainter& Surface::Painter() {
    if (painter_.painter == nullptr ||
        !painter_.painter->BoundTo(pixels_.data(), width_, height_)) {
        painter_.Reset();
        EnsureGuiApplication();
        painter_.painter = new SurfacePainter(pixels_.data(), width_, height_);
    }
    return *painter_.painter;
}

void Surface::SmoothFillEllipse(int x, int y, int width, int height, Argb colour) {
    if (width_ == 0 || height_ == 0) {
        return;
    }
    SurfacePainter& sp = Painter();
    QPainter& p = sp.painter();
    p.setPen(Qt::NoPen);
    sp.ForgetPen();
    p.setBrush(QtColourOf(colour));
    p.drawEllipse(QRectF(x, y, width, height));
}

void Surface::SmoothBeziers(const PointF* points, int count, const SmoothPen& pen) {
    if (width_ == 0 || height_ == 0 || count < 4) {
        return;
    }
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (int i = 1; i + 2 < count; i += 3) {
        path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x,
                     points[i + 2].y);
    }
    SurfacePainter& sp = Painter();
    sp.Select(pen);
    sp.painter().setBrush(Qt::NoBrush);
    sp.painter().drawPath(path);
}

void Surface::SmoothLine(int x1, int y1, int x2, int y2, const SmoothPen& pen) {
    if (width_ == 0 || height_ == 0) {
        return;
    }
    SurfacePainter& sp = Painter();
    sp.Select(pen);
    sp.painter().drawLine(QLineF(x1, y1, x2, y2));
}

void Surface::SmoothText(double x, double y, std::string_view text, const Font& font, Argb colour) {
    if (width_ == 0 || height_ == 0 || text.empty()) {
        return;
    }
    SurfacePainter& sp = Painter();
    QPainter& p = sp.painter();
    QFont qfont = QtFontOf(font);
    qfont.setStyleStrategy(QFont::PreferAntialias);
    p.setFont(qfont);
    p.setPen(QtColourOf(colour));
    sp.ForgetPen();
    const QFontMetricsF metrics(qfont);
    p.drawText(QPointF(x, y + metrics.ascent()),
               QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace ondrel
