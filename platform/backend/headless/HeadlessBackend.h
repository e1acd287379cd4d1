#pragma once
// The backend without a display: host windows are records, pixels stay in the window system's
// surfaces, and time is a test clock that moves only when told to (Advance) or when the message
// loop waits (it then jumps to the next scripted event or timer, as if that much time passed).
//
// Input is scripted: each call queues a host event at the current clock time, or at a later
// time given in milliseconds from now, and the window system receives it once the clock reaches
// that time. Events at the same time keep the order of the calls.

#include <cstdint>
#include <map>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/gfx/CreationRefusal.h"

namespace platform {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(Rect screen = {0, 0, 1024, 768}, int taskbarHeight = 30);

    // ---- the test clock and scripted input ----
    void Advance(std::uint64_t ms) { m_now += ms; }
    void MouseMove(Point screen, std::uint64_t afterMs = 0);
    void MouseDown(Point screen, MouseButton b = MouseButton::Left, std::uint64_t afterMs = 0);
    void MouseUp(Point screen, MouseButton b = MouseButton::Left, std::uint64_t afterMs = 0);
    void Click(Point screen, MouseButton b = MouseButton::Left, std::uint64_t afterMs = 0);
    void Wheel(int delta, Point screen, std::uint64_t afterMs = 0);
    void KeyDown(int vk, std::uint64_t afterMs = 0);
    void KeyUp(int vk, std::uint64_t afterMs = 0);
    void Key(int vk, std::uint64_t afterMs = 0); // down, then up
    void Text(const std::string& utf8, std::uint64_t afterMs = 0);
    void HostClose(HWND window, std::uint64_t afterMs = 0);
    void HostFocus(HWND window, std::uint64_t afterMs = 0);
    void HostDeactivate(std::uint64_t afterMs = 0); // another program takes the focus
    // The desktop iconifies a window by its own gesture (iconic) or brings an iconified one
    // back, as a task bar click does.
    void HostIconify(HWND window, bool iconic, std::uint64_t afterMs = 0);
    // Files dropped together, as one drag from a file manager.
    void DropFiles(HWND window, std::vector<std::string> paths, std::uint64_t afterMs = 0);
    void DropFile(HWND window, const std::string& path, std::uint64_t afterMs = 0) {
        DropFiles(window, {path}, afterMs);
    }
    bool HasPendingInput() const { return !m_events.empty(); }

    // ---- shortages ----
    // The next count windows or DIB sections cannot be made (CreateWindowEx and
    // CreateDIBSection fail as when out of memory); the refusals end with this backend.
    void RefuseCreations(Creation what, int count = 1) { platform::RefuseCreations(what, count); }
    ~HeadlessBackend() override;

    // ---- what the host would show ----
    struct HostWindow {
        Rect rect;
        HostKind kind = HostKind::Normal;
        bool visible = false; // shown, perhaps iconified
        bool iconic = false;  // in the task bar only
        bool maximized = false;
        int presents = 0;
        Rect lastDirty;
        std::string title;
        std::uint8_t opacity = 255;
        HostFrame frame;
        Point iconSize;              // 0 x 0: no icon
        std::optional<Region> shape; // none: the whole rectangle
    };
    const HostWindow* Host(HWND window) const;
    std::vector<HWND> HostStackingOrder() const { return m_stack; } // topmost first
    int Beeps() const { return m_beeps; }
    Cursor CurrentCursor() const { return m_cursor; }
    bool HostCaptured() const { return m_capture; }
    // The window the host's keyboard goes to. As SDL on a display without a window manager, a
    // normal window takes it when it shows, and nobody passes it on when that window hides or
    // goes: it is then none until handed over again.
    HWND HostKeyboard() const { return m_keyboard; }

    // ---- Backend ----
    std::uint64_t NowMs() override { return m_now; }
    void PollEvents(InputSink& sink) override;
    bool WaitEvents(std::optional<std::uint64_t> deadlineMs) override;
    void CreateHostWindow(HWND window, const Rect& screen, HostKind kind) override;
    void DestroyHostWindow(HWND window) override;
    void ShowHostWindow(HWND window, bool visible) override;
    void IconifyHostWindow(HWND window) override;
    void MaximizeHostWindow(HWND window, bool maximized) override;
    void SetHostRect(HWND window, const Rect& screen) override;
    void RaiseHostWindow(HWND window) override;
    void SetHostTitle(HWND window, const std::string& title) override;
    void SetHostOpacity(HWND window, std::uint8_t alpha) override;
    void PresentHostWindow(HWND window, const HostPixels& pixels, const Rect& dirty) override;
    void SetHostFrame(HWND window, const HostFrame& frame) override;
    void SetHostIcon(HWND window, const HostPixels& icon) override;
    void SetHostShape(HWND window, const Region* shape) override;
    void FocusHostWindow(HWND window) override;
    bool HostDrivesMoveSize() const override { return false; }
    void SetHostCapture(bool capture) override { m_capture = capture; }
    void SetCursor(Cursor cursor) override { m_cursor = cursor; }
    Rect ScreenRect() override { return m_screen; }
    Rect WorkArea() override { return m_work; }
    void Beep() override { ++m_beeps; }
    std::string ClipboardText() override { return m_clipboard; }
    void SetClipboardText(const std::string& utf8) override { m_clipboard = utf8; }
    std::string PrimarySelectionText() override { return m_primary; }
    void SetPrimarySelectionText(const std::string& utf8) override { m_primary = utf8; }

private:
    struct Event {
        std::uint64_t time = 0;
        enum class Kind {
            Move,
            Button,
            Wheel,
            Key,
            Text,
            Close,
            Focus,
            Deactivate,
            Iconic,
            Drop
        } kind = Kind::Move;
        Point pt;
        MouseButton button = MouseButton::Left;
        bool down = false;
        int value = 0;
        std::string text;
        std::vector<std::string> paths;
        HWND window;
    };
    void Schedule(Event e, std::uint64_t afterMs);

    std::uint64_t m_now = 1000; // not 0, so "time since" arithmetic never starts at the edge
    Rect m_screen;
    Rect m_work;
    std::vector<Event> m_events; // ordered by time, stable
    std::map<HWND, HostWindow> m_hosts;
    std::vector<HWND> m_stack;
    int m_beeps = 0;
    Cursor m_cursor = Cursor::Arrow;
    bool m_capture = false;
    std::string m_clipboard;
    std::string m_primary;
    HWND m_keyboard;
};

} // namespace platform
