#pragma once

// What the main window's logic needs of the window system, kept free of any toolkit so that
// the logic runs in tests against a recording double and, later, on other platforms. The Qt
// implementation is app/qt/QtMainWindow.
//
// Window styles are the classic style bits; the implementation turns them into its own frame:
// a caption means a normal frame, WS_POPUP without a caption a frameless window, and
// WS_THICKFRAME a border the user can size the window by.

#include "views/Surface.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ondrel {

inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;

inline constexpr uint32_t FramedStyle = 0x10CE0000;    // visible, caption, menu, sizing, minimize
inline constexpr uint32_t FramelessStyle = 0x90880000; // popup, visible, thin border, menu
inline constexpr uint32_t CreationStyle = 0x00CC0000;  // caption, menu, sizing; not yet visible

// The platform's own items of the window menu.
inline constexpr int SC_SIZE = 61440;
inline constexpr int SC_MOVE = 61456;
inline constexpr int SC_MINIMIZE = 61472;
inline constexpr int SC_MAXIMIZE = 61488;
inline constexpr int SC_CLOSE = 61536;
inline constexpr int SC_RESTORE = 61728;

// Size types of a resize.
inline constexpr int SIZE_RESTORED = 0;
inline constexpr int SIZE_MINIMIZED = 1;
inline constexpr int SIZE_MAXIMIZED = 2;

inline constexpr int VK_CONTROL = 17;

// The edge a user drags while sizing the window.
inline constexpr int WMSZ_LEFT = 1;
inline constexpr int WMSZ_RIGHT = 2;
inline constexpr int WMSZ_TOP = 3;
inline constexpr int WMSZ_TOPLEFT = 4;
inline constexpr int WMSZ_TOPRIGHT = 5;
inline constexpr int WMSZ_BOTTOM = 6;
inline constexpr int WMSZ_BOTTOMLEFT = 7;
inline constexpr int WMSZ_BOTTOMRIGHT = 8;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct MenuItem {
    int id = 0; // 0 for a separator
    std::string label;
    bool checked = false;
    bool separator = false;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The frame.
    virtual uint32_t GetStyle() const = 0;
    virtual void SetStyle(uint32_t style) = 0;
    // The outer rectangle a window of `style` has around the client rectangle `client`.
    virtual Rect AdjustWindowRect(Rect client, uint32_t style) const = 0;
    // Resizes the window to the outer size without moving it, in or out of the top-most
    // band; a resize of the client area is reported (OnSize) before this returns.
    virtual void ResizeWindow(int outerWidth, int outerHeight, bool topMost) = 0;
    virtual void SetTopMost(bool topMost) = 0;
    // Recomputes the frame after a style change and shows the window at the top of its band.
    virtual void RecomputeFrame(bool show) = 0;
    virtual Rect GetClientRect() const = 0; // left and top 0
    virtual Rect GetWindowRect() const = 0; // outer, in screen coordinates

    // Messages to the window itself, delivered later on the GUI thread.
    virtual void PostPaint() = 0;
    virtual void PostResize() = 0;
    virtual void PostSystemCommand(int id) = 0;
    virtual void PostQuit() = 0;
    // The platform's own handling of a system command (move, size, minimize, close).
    virtual void DefaultSystemCommand(int id) = 0;

    // The window menu, which the right-click pop-up shows too.
    virtual void InsertMenuItem(int position, const MenuItem& item) = 0;
    virtual void RemoveMenuItem(int id) = 0;
    virtual void SetMenuCheck(int id, bool checked) = 0;
    virtual Point CursorPosition() const = 0;
    // Shows the menu with its bottom-left corner at `at` and waits for a choice: the chosen
    // item's identifier, or 0 when the menu was dismissed.
    virtual int TrackPopupMenu(Point at) = 0;

    // Moving by dragging: the four-headed arrow cursor, then a move that follows the pointer
    // until the button is released.
    virtual void SetMoveCursor() = 0;
    virtual void StartSystemMove() = 0;

    // Copies the top-left width × height of `picture` into the window.
    virtual void CopyToWindow(const Surface& picture, int width, int height) = 0;

    virtual void ShowOptionsWindow() = 0;
    // A message box owned by the window: the platform's default caption, one OK button.
    virtual void ShowMessage(std::string_view text) = 0;
};

} // namespace ondrel
