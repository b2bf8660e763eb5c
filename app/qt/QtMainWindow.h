#pragma once

// The main window on Qt 6 Widgets: the window system the main window's logic talks to, and
// the source of its messages (size, paint, keys, mouse, close).

#include "app/MainWindow.h"
#include "app/WindowSystem.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

namespace ondrel {

class QtMainWindow : public QWidget, public WindowSystem {
public:
    QtMainWindow();

    void SetLogic(MainWindow* logic) { logic_ = logic; }
    // Where the window's outer top-left corner goes when it is first shown.
    void SetInitialPosition(int x, int y);
    void SetShowOptions(std::function<void()> show) { showOptions_ = std::move(show); }

    // WindowSystem
    uint32_t GetStyle() const override { return style_; }
    void SetStyle(uint32_t style) override;
    Rect AdjustWindowRect(Rect client, uint32_t style) const override;
    void ResizeWindow(int outerWidth, int outerHeight, bool topMost) override;
    void SetTopMost(bool topMost) override;
    void RecomputeFrame(bool show) override;
    Rect GetClientRect() const override;
    Rect GetWindowRect() const override;
    void PostPaint() override { update(); }
    void PostResize() override;
    void PostSystemCommand(int id) override;
    void PostQuit() override;
    void DefaultSystemCommand(int id) override;
    void InsertMenuItem(int position, const MenuItem& item) override;
    void RemoveMenuItem(int id) override;
    void SetMenuCheck(int id, bool checked) override;
    Point CursorPosition() const override;
    int TrackPopupMenu(Point at) override;
    void SetMoveCursor() override;
    void StartSystemMove() override;
    void CopyToWindow(const Surface& picture, int width, int height) override;
    void ShowOptionsWindow() override;
    void ShowMessage(std::string_view text) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyFlags();
    Qt::Edges SizingEdgesAt(QPoint position) const;
    int ShowMenu(QPoint topLeft, bool bottomAligned);

    MainWindow* logic_ = nullptr;
    std::function<void()> showOptions_;
    uint32_t style_ = CreationStyle;
    bool topMost_ = false;
    bool destroyed_ = false;
    bool wasMinimized_ = false;
    QSize programmaticSize_; // the last size asked for by the program, not the user
    qint64 programmaticAt_ = 0; // when, in ms since the epoch
    QPoint initialPosition_;
    bool placed_ = false;
    std::vector<MenuItem> menu_;
    QImage shown_; // what the window shows: the last copied picture, black as glass
};

} // namespace ondrel
