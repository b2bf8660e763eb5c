#include "app/qt/QtMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace ondrel {
namespace {

// How wide the band along the edges is where a frameless window with its sizing border shown
// (Ctrl held) can be sized.
constexpr int SizingBand = 6;

// Black is the glass of the window: a translucent dark tint where a compositor runs, plain
// black elsewhere.
constexpr uint32_t GlassPixel = 0x99000000u;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtMainWindow::QtMainWindow() {
    setWindowTitle(QString::fromUtf8(MainWindowTitle));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The platform's standard window menu, which the program extends.
    menu_ = {{SC_RESTORE, "元のサイズに戻す(&R)"}, {SC_MOVE, "移動(&M)"},
             {SC_SIZE, "サイズ変更(&S)"},          {SC_MINIMIZE, "最小化(&N)"},
             {SC_MAXIMIZE, "最大化(&X)"},          {0, "", false, true},
             {SC_CLOSE, "閉じる(&C)\tAlt+F4"}};
    ApplyFlags();
    resize(1, 1); // the window has no size of its own until a view is applied
}

void QtMainWindow::ApplyFlags() {
    Qt::WindowFlags flags = Qt::Window;
    if ((style_ & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint;
        if (style_ & WS_MINIMIZEBOX) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    if (topMost_) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    if (flags != windowFlags()) {
        const bool visible = isVisible();
        const QPoint position = pos();
        setWindowFlags(flags); // hides the window
        move(position);
        if (visible) {
            show();
        }
    }
}

void QtMainWindow::SetStyle(uint32_t style) {
    style_ = style;
    ApplyFlags();
}

Rect QtMainWindow::AdjustWindowRect(Rect client, uint32_t) const {
    return client; // Qt sizes the client area itself; the frame is the window manager's
}

void QtMainWindow::SetInitialPosition(int x, int y) {
    initialPosition_ = QPoint(x, y);
    move(initialPosition_);
}

void QtMainWindow::ResizeWindow(int outerWidth, int outerHeight, bool topMost) {
    topMost_ = topMost;
    ApplyFlags();
    programmaticSize_ = QSize(std::max(outerWidth, 1), std::max(outerHeight, 1));
    programmaticAt_ = QDateTime::currentMSecsSinceEpoch();
    resize(programmaticSize_);
}

void QtMainWindow::SetTopMost(bool topMost) {
    topMost_ = topMost;
    ApplyFlags();
}

void QtMainWindow::RecomputeFrame(bool show) {
    if (show && !programmaticSize_.isValid()) {
        // No view has sized the window yet; one is usually applied right away, so show the
        // window only if none is, rather than flash it at no size.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible()) {
                this->show();
            }
        });
        return;
    }
    if (show) {
        this->show();
        raise();
        if (!placed_) {
            // Before the window manager has framed the window its frame is unknown, so the
            // first placement can land the client, not the frame, at the stored corner; put
            // the frame there once it is known.
            placed_ = true;
            QTimer::singleShot(250, this, [this] {
                if (frameGeometry().topLeft() != initialPosition_) {
                    move(initialPosition_);
                }
            });
        }
    }
    update();
}

Rect QtMainWindow::GetClientRect() const {
    return Rect{0, 0, width(), height()};
}

Rect QtMainWindow::GetWindowRect() const {
    const QRect outer = frameGeometry();
    return Rect{outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1};
}

void QtMainWindow::PostResize() {
    QTimer::singleShot(0, this, [this] {
        if (logic_ != nullptr && !destroyed_) {
            logic_->OnSize(SIZE_RESTORED);
        }
    });
}

void QtMainWindow::PostSystemCommand(int id) {
    QTimer::singleShot(0, this, [this, id] {
        if (logic_ != nullptr && !destroyed_) {
            logic_->OnSystemCommand(id);
        }
    });
}

void QtMainWindow::PostQuit() {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void QtMainWindow::DefaultSystemCommand(int id) {
    switch (id) {
    case SC_MOVE:
        if (windowHandle() != nullptr) {
            windowHandle()->startSystemMove();
        }
        break;
    case SC_SIZE:
        if (windowHandle() != nullptr) {
            windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
        }
        break;
    case SC_MINIMIZE:
        showMinimized();
        break;
    case SC_CLOSE:
        close();
        break;
    default:
        break;
    }
}

void QtMainWindow::InsertMenuItem(int position, const MenuItem& item) {
    const auto at = menu_.begin() + std::clamp<int>(position, 0, static_cast<int>(menu_.size()));
    menu_.insert(at, item);
}

void QtMainWindow::RemoveMenuItem(int id) {
    std::erase_if(menu_, [id](const MenuItem& m) { return !m.separator && m.id == id; });
}

void QtMainWindow::SetMenuCheck(int id, bool checked) {
    for (MenuItem& m : menu_) {
        if (!m.separator && m.id == id) {
            m.checked = checked;
        }
    }
}

Point QtMainWindow::CursorPosition() const {
    const QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

int QtMainWindow::ShowMenu(QPoint at, bool bottomAligned) {
    QMenu menu(this);
    for (const MenuItem& item : menu_) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item.label));
        action->setData(item.id);
        const bool program = item.id >= IDM_DECIBEL && item.id <= IDM_OPTIONS;
        action->setCheckable(program && item.id != IDM_OPTIONS);
        action->setChecked(item.checked);
        if (item.id == SC_MINIMIZE) {
            action->setEnabled(!isMinimized());
        }
    }
    const QPoint topLeft = bottomAligned ? at - QPoint(0, menu.sizeHint().height()) : at;
    QAction* chosen = menu.exec(topLeft);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

int QtMainWindow::TrackPopupMenu(Point at) {
    return ShowMenu(QPoint(at.x, at.y), true);
}

void QtMainWindow::SetMoveCursor() {
    setCursor(Qt::SizeAllCursor);
}

void QtMainWindow::StartSystemMove() {
    if (windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
    }
}

void QtMainWindow::CopyToWindow(const Surface& picture, int width, int height) {
    width = std::min(width, picture.width());
    height = std::min(height, picture.height());
    if (shown_.width() != width || shown_.height() != height) {
        shown_ =
            QImage(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
        shown_.fill(Qt::transparent);
    }
    for (int y = 0; y < height; ++y) {
        const uint32_t* from = picture.pixels() + static_cast<size_t>(y) * picture.width();
        auto* to = reinterpret_cast<uint32_t*>(shown_.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = from[x] & 0x00FFFFFFu;
            to[x] = rgb == 0 ? GlassPixel : (rgb | 0xFF000000u);
        }
    }
}

void QtMainWindow::ShowOptionsWindow() {
    if (showOptions_) {
        showOptions_();
    }
}

void QtMainWindow::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), Text(text), QMessageBox::Ok, this);
    box.exec();
}

void QtMainWindow::paintEvent(QPaintEvent*) {
    if (logic_ != nullptr && !destroyed_) {
        logic_->OnPaint();
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Glass wherever the picture does not reach (before the first frame, or while a resize
    // waits for its frame).
    const QRegion uncovered = QRegion(rect()) - QRegion(0, 0, shown_.width(), shown_.height());
    for (const QRect& part : uncovered) {
        painter.fillRect(part, QColor::fromRgba(GlassPixel));
    }
    if (!shown_.isNull()) {
        painter.drawImage(0, 0, shown_);
    }
}

void QtMainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Sizes from before the first view was applied (the first show) are not the user's.
    if (logic_ == nullptr || destroyed_ || !programmaticSize_.isValid()) {
        return;
    }
    const QSize now = event->size();
    // Window managers confirm a size the program asked for with late reports of older sizes;
    // only a resize well after the program's own is the user's.
    const bool settled = QDateTime::currentMSecsSinceEpoch() - programmaticAt_ > 500;
    if (now != programmaticSize_ && settled && event->oldSize().isValid() && now.width() > 1 &&
        now.height() > 1) {
        // A size the user gave: the analog meter keeps its proportion. Qt does not say which
        // edge is dragged, so it follows from what changed.
        const QSize old = event->oldSize();
        const bool widthChanged = now.width() != old.width();
        const bool heightChanged = now.height() != old.height();
        const int edge = widthChanged && heightChanged ? WMSZ_BOTTOMRIGHT
                         : widthChanged                ? WMSZ_RIGHT
                                                       : WMSZ_BOTTOM;
        Rect proposed{0, 0, now.width(), now.height()};
        logic_->OnSizing(edge, proposed);
        if (proposed.width() != now.width() || proposed.height() != now.height()) {
            programmaticSize_ = QSize(proposed.width(), proposed.height());
            resize(programmaticSize_);
            return; // the corrected size reports itself
        }
    }
    logic_->OnSize(SIZE_RESTORED);
}

void QtMainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || logic_ == nullptr || destroyed_) {
        return;
    }
    if (isMinimized()) {
        wasMinimized_ = true;
        logic_->OnSize(SIZE_MINIMIZED);
    } else if (wasMinimized_) {
        wasMinimized_ = false;
        logic_->OnSize(SIZE_RESTORED);
    }
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
    if (logic_ == nullptr) {
        return;
    }
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::AltModifier)) {
        // The window menu from the keyboard, at the window's top-left corner.
        const int chosen = ShowMenu(mapToGlobal(QPoint(0, 0)), false);
        PostSystemCommand(chosen);
        return;
    }
    if (event->key() == Qt::Key_Control) {
        logic_->OnKeyDown(VK_CONTROL);
    }
}

void QtMainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (logic_ != nullptr && event->key() == Qt::Key_Control && !event->isAutoRepeat()) {
        logic_->OnKeyUp(VK_CONTROL);
    }
}

Qt::Edges QtMainWindow::SizingEdgesAt(QPoint p) const {
    Qt::Edges edges;
    if ((style_ & WS_CAPTION) == WS_CAPTION || !(style_ & WS_THICKFRAME)) {
        return edges; // only a frameless window showing its sizing border
    }
    if (p.x() < SizingBand) {
        edges |= Qt::LeftEdge;
    }
    if (p.x() >= width() - SizingBand) {
        edges |= Qt::RightEdge;
    }
    if (p.y() < SizingBand) {
        edges |= Qt::TopEdge;
    }
    if (p.y() >= height() - SizingBand) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
    if (logic_ == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const Qt::Edges edges = SizingEdgesAt(event->position().toPoint());
        if (edges && windowHandle() != nullptr) {
            windowHandle()->startSystemResize(edges);
            return;
        }
        logic_->OnLeftButtonDown();
    } else if (event->button() == Qt::RightButton) {
        logic_->OnRightButtonDown();
    }
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::NoButton) {
        return;
    }
    const Qt::Edges edges = SizingEdgesAt(event->position().toPoint());
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling =
            edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (horizontal) {
        setCursor(Qt::SizeHorCursor);
    } else if (vertical) {
        setCursor(Qt::SizeVerCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void QtMainWindow::mouseReleaseEvent(QMouseEvent*) {
    setCursor(Qt::ArrowCursor);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (logic_ != nullptr && !destroyed_) {
        destroyed_ = true;
        logic_->OnDestroy();
    }
}

} // namespace ondrel
