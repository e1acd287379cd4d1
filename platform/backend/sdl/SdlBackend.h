#pragma once
// The backend on a real screen through SDL2. Every top-level window is a borderless SDL window
// showing its surface; popups (menus, drop-downs) float on top and stay off the task bar. The
// host moves and sizes windows itself where our hit testing says caption or border (SDL's hit
// test asks the window's WM_NCHITTEST), and reports the result back. Keys are translated by
// their physical position into virtual-key codes, so letter keys give 'A' ... 'Z' whatever the
// keyboard layout; typed text comes from SDL's text input.
//
// Without a window manager (a bare X server, as in test runs) SDL hands the keyboard focus to
// every window it shows, popups included. The backend then gives the focus back when a window
// that has it goes away (to the window that had it before a popup, else to the window our side
// activated last, so the keyboard still works after an error box), and drops the key release and
// press that SDL makes up for a held key when the focus hops between two of our windows, so a menu
// opened with Alt+Space is not closed by an Alt press nobody made.
//
// Pointer motion is reported at the pointer's screen position when it is read, not from the
// window-relative event, so a window that moves under a still pointer does not seem to have the
// pointer move.
//
// A window moved or sized while hidden is placed again once it shows: window managers map a
// window where it was created (its first placement hints), not where it was moved since, so a
// form centred before Show would otherwise open at its creation position.
//
// The window manager is told what it needs to keep our windows in order: which window a window
// belongs to (transient for) and whether it is modal, so a modal window stays above the window
// it disables; sizeable windows have free size hints above their minimum. Without a window
// manager the backend hands the keyboard to the window our side activates, and our hit testing
// gives the press to our own move and size loops instead of asking for a host-driven move.
//
// Windows are presented through SDL's plain window framebuffer: the accelerated one re-creates a
// host window when its surface is first asked for, which drops it back at its creation position.
//
// On a HiDPI screen every window shows at N x N device pixels per pixel of ours (nearest
// neighbour, so text and skin art stay sharp), N chosen once at construction (HostScale.h:
// CHARVANE_SCALE, GDK_SCALE, the X resources' Xft.dpi). Everything crossing to and from the host
// is converted at this edge: window places and sizes, minimum sizes, shapes, the screen and work
// area, pointer positions and hit tests. Our side never sees a device pixel.
//
// Construction initialises SDL's video and fails with std::runtime_error (SDL's message) when no
// display can be opened, or when SDL could only fall back to a driver that shows nothing
// (offscreen) without being asked for it by SDL_VIDEODRIVER. One instance at a time.

#include <map>
#include <memory>
#include <vector>

#include "platform/backend/Backend.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace platform {

class SdlBackend : public Backend {
public:
    SdlBackend();
    ~SdlBackend() override;

    std::uint64_t NowMs() override;
    void PollEvents(InputSink& sink) override;
    bool WaitEvents(std::optional<std::uint64_t> deadlineMs) override;
    void CreateHostWindow(HWND window, const Rect& screen, HostKind kind) override;
    void DestroyHostWindow(HWND window) override;
    void ShowHostWindow(HWND window, bool visible) override;
    // Asks the window manager to iconify; with none the window stays and is reported back at
    // the next poll (a bare X server cannot iconify, and a window nobody can restore is lost).
    void IconifyHostWindow(HWND window) override;
    // Without a window manager our own placement is all there is.
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
    // Only a window manager can move and size a window for us; without one our own loops do.
    bool HostDrivesMoveSize() const override;
    void SetHostCapture(bool capture) override;
    void SetCursor(Cursor cursor) override;
    Rect ScreenRect() override;
    Rect WorkArea() override;
    void Beep() override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& utf8) override;
    std::string PrimarySelectionText() override;
    void SetPrimarySelectionText(const std::string& utf8) override;

private:
    void Dispatch(const SDL_Event& e, InputSink& sink);
    HWND WindowOf(std::uint32_t sdlId) const;
    Point ToScreen(std::uint32_t sdlId, int x, int y) const;

    void ReturnFocus(HWND leaving);
    // Reports that the window manager iconified the window (iconic) or brought it back, when
    // the server says so still: SDL's minimized and restored events also follow maps and
    // unmaps of our own, and may be read after the state changed again.
    void ReportIconic(HWND window, bool iconic, InputSink& sink);
    // Whether a window manager runs on the display (looked up again now and then: one may
    // start or go while the program runs).
    bool WindowManagerRunning();

    std::map<HWND, SDL_Window*> m_windows;
    std::map<HWND, HostKind> m_kinds;
    std::map<HWND, Rect> m_hiddenPlacement; // the last rect given while hidden
    std::vector<HWND> m_notIconified;       // iconified with no window manager: back at once
    HWND m_lastNormalFocus; // the last normal window of ours the host gave the keyboard to
    HWND m_lastRaised;      // the last normal window our side activated
    std::map<int, SDL_Cursor*> m_cursors;
    std::vector<std::string> m_droppedFiles; // the files of a drop still arriving
    std::uint64_t m_wmCheckedAt = 0;
};

// The virtual-key code of an SDL scancode; 0 for keys the program has no code for.
int VirtualKeyFromScancode(int scancode);

} // namespace platform
