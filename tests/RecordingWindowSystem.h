#pragma once

// A window system for tests: it keeps a window's style, sizes and menu as a platform would,
// and records every call in order.

#include "app/MainWindow.h"
#include "app/WindowSystem.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ondrel::test {

class RecordingWindowSystem : public WindowSystem {
public:
    // The frame a framed window has around its client area; a frameless one has a 1-pixel
    // border, and the sizing border adds 4 pixels on each side.
    static constexpr int CaptionHeight = 23, FrameBorder = 4, ThinBorder = 1;

    MainWindow* window = nullptr; // told about resizes, as the platform would
    std::vector<std::string> calls;
    uint32_t style = CreationStyle;
    Rect client{0, 0, 0, 0};
    Point position{50, 880};
    bool topMost = false;
    int popupChoice = 0;
    int posted = 0; // resizes posted and not yet delivered
    std::vector<int> postedCommands;
    std::vector<std::string> messages;
    int copies = 0;
    int quits = 0;
    // The platform's standard window menu.
    std::vector<MenuItem> menu = {{SC_RESTORE, "Restore"},   {SC_MOVE, "Move"},
                                  {SC_SIZE, "Size"},         {SC_MINIMIZE, "Minimize"},
                                  {SC_MAXIMIZE, "Maximize"}, {0, "", false, true},
                                  {SC_CLOSE, "Close"}};

    uint32_t GetStyle() const override { return style; }
    void SetStyle(uint32_t s) override {
        style = s;
        Record("SetStyle " + Hex(s));
    }
    Rect AdjustWindowRect(Rect c, uint32_t s) const override {
        const int side = Side(s);
        const int top = side + ((s & WS_CAPTION) == WS_CAPTION ? CaptionHeight : 0);
        return Rect{c.left - side, c.top - top, c.right + side, c.bottom + side};
    }
    void ResizeWindow(int outerWidth, int outerHeight, bool top) override {
        Record("ResizeWindow " + std::to_string(outerWidth) + "x" + std::to_string(outerHeight) +
               (top ? " topmost" : " notopmost"));
        topMost = top;
        const Rect frame = AdjustWindowRect(Rect{0, 0, 0, 0}, style);
        const Rect next{0, 0, outerWidth - frame.width(), outerHeight - frame.height()};
        if (!(next == client)) {
            client = next;
            if (window != nullptr) {
                window->OnSize(SIZE_RESTORED);
            }
        }
    }
    void SetTopMost(bool top) override {
        topMost = top;
        Record(top ? "SetTopMost on" : "SetTopMost off");
    }
    void RecomputeFrame(bool show) override {
        Record(show ? "RecomputeFrame show" : "RecomputeFrame");
    }
    Rect GetClientRect() const override { return client; }
    Rect GetWindowRect() const override {
        const Rect frame = AdjustWindowRect(client, style);
        return Rect{position.x, position.y, position.x + frame.width(),
                    position.y + frame.height()};
    }
    void PostPaint() override {}
    void PostResize() override {
        ++posted;
        Record("PostResize");
    }
    void PostSystemCommand(int id) override {
        postedCommands.push_back(id);
        Record("PostSystemCommand " + std::to_string(id));
    }
    void PostQuit() override {
        ++quits;
        Record("PostQuit");
    }
    void DefaultSystemCommand(int id) override { Record("Default " + std::to_string(id)); }
    void InsertMenuItem(int index, const MenuItem& item) override {
        const auto at = menu.begin() + std::clamp<int>(index, 0, static_cast<int>(menu.size()));
        menu.insert(at, item);
    }
    void RemoveMenuItem(int id) override {
        std::erase_if(menu, [id](const MenuItem& m) { return !m.separator && m.id == id; });
    }
    void SetMenuCheck(int id, bool checked) override {
        for (MenuItem& m : menu) {
            if (!m.separator && m.id == id) {
                m.checked = checked;
            }
        }
    }
    Point CursorPosition() const override { return Point{300, 400}; }
    int TrackPopupMenu(Point at) override {
        Record("TrackPopupMenu " + std::to_string(at.x) + "," + std::to_string(at.y));
        return popupChoice;
    }
    void SetMoveCursor() override { Record("SetMoveCursor"); }
    void StartSystemMove() override { Record("StartSystemMove"); }
    void CopyToWindow(const Surface&, int width, int height) override {
        ++copies;
        Record("Copy " + std::to_string(width) + "x" + std::to_string(height));
    }
    void ShowOptionsWindow() override { Record("ShowOptionsWindow"); }
    void ShowMessage(std::string_view text) override {
        messages.emplace_back(text);
        Record("ShowMessage");
    }

    // Delivers the posted resizes, as the message loop would.
    void DeliverPosted() {
        for (; posted > 0; --posted) {
            window->OnSize(SIZE_RESTORED);
        }
    }
    bool Checked(int id) const {
        for (const MenuItem& m : menu) {
            if (!m.separator && m.id == id) {
                return m.checked;
            }
        }
        return false;
    }
    std::string MenuText() const {
        std::string text;
        for (const MenuItem& m : menu) {
            text += m.separator ? std::string("-") : std::to_string(m.id) + (m.checked ? "*" : "");
            text += ' ';
        }
        return text;
    }

private:
    static int Side(uint32_t s) {
        if ((s & WS_THICKFRAME) != 0) {
            return FrameBorder + ((s & WS_CAPTION) == WS_CAPTION ? 0 : ThinBorder);
        }
        return (s & WS_BORDER) != 0 ? ThinBorder : 0;
    }
    static std::string Hex(uint32_t v) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", v);
        return text;
    }
    void Record(std::string call) { calls.push_back(std::move(call)); }
};

} // namespace ondrel::test
