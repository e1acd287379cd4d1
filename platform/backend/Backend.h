#pragma once
// The presentation backend: what the window system needs from the host. The window system owns
// windows, messages and surfaces; a backend shows top-level windows on the host (or keeps them in
// memory), reports raw input in screen coordinates, and keeps time.
//
// Contract:
// - Every HWND given to a backend is a top-level window of ours; the backend keeps no other state
//   about windows than its host counterpart.
// - Raw input goes to an InputSink during PollEvents/WaitEvents only, never from another thread.
// - Time is milliseconds on a monotonic clock; the headless backend's clock moves only when a
//   test (or an idle wait) moves it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"
#include "platform/win/WinDefs.h"

namespace platform {

enum class MouseButton { Left, Right, Middle };

// What the host hands to the window system. Positions are screen pixels.
class InputSink {
public:
    virtual ~InputSink() = default;
    virtual void OnMouseMove(Point screen) = 0;
    virtual void OnMouseButton(MouseButton button, bool down, Point screen) = 0;
    // delta in WHEEL_DELTA units (120 per notch), positive away from the user.
    virtual void OnMouseWheel(int delta, Point screen) = 0;
    // vk is a virtual-key code; repeat is true for auto-repeated key downs.
    virtual void OnKey(int vk, bool down, bool repeat) = 0;
    // Text typed on the host, UTF-8; becomes WM_CHAR per code point.
    virtual void OnText(const std::string& utf8) = 0;
    // The host asks to close a window (its own close gesture).
    virtual void OnHostClose(HWND window) = 0;
    // The host moved or resized a window (after a host-driven move/size).
    virtual void OnHostRect(HWND window, const Rect& screen) = 0;
    // The host needs the window's pixels again.
    virtual void OnHostExpose(HWND window) = 0;
    // The host gave a window the focus (a window-manager gesture, not a click of ours).
    virtual void OnHostFocus(HWND window) = 0;
    // The host iconified a window by a gesture of its own (iconic true), or brought an iconified
    // window back, as a task bar click does (iconic false). Repeats of the state the window
    // system already has are harmless.
    virtual void OnHostIconic(HWND window, bool iconic) = 0;
    // Another program took the focus: none of our windows is active any more.
    virtual void OnHostDeactivate() = 0;
    // Files were dropped together on a window from another program, in the order the host
    // gave them; the paths are absolute.
    virtual void OnHostDropFiles(HWND window, std::vector<std::string> paths) = 0;
};

// How a host window behaves: popups (menus, drop-downs) float above and never take the focus.
enum class HostKind { Normal, Popup };

// How the host's window manager is to treat a normal window (popups ignore it).
struct HostFrame {
    bool sizeable = false; // its borders resize it
    Point minSize;         // the smallest size the user may give it (when sizeable)
    HWND belongsTo;        // the window it is kept above (none: a window of its own)
    bool modal = false;    // the window it belongs to takes no input while this one shows
};

// A top-level window's pixels as the backend presents them: 32-bit pixels, rows top-down.
struct HostPixels {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0; // in pixels
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual std::uint64_t NowMs() = 0;

    // Hands every event that is due to the sink and returns.
    virtual void PollEvents(InputSink& sink) = 0;
    // Waits until an event is due or the clock reaches deadline (when given). Returns false when
    // nothing can ever arrive (the headless backend with no scripted input and no deadline).
    virtual bool WaitEvents(std::optional<std::uint64_t> deadlineMs) = 0;

    virtual void CreateHostWindow(HWND window, const Rect& screen, HostKind kind) = 0;
    virtual void DestroyHostWindow(HWND window) = 0;
    virtual void ShowHostWindow(HWND window, bool visible) = 0;
    // Iconifies a shown window: it leaves the screen but stays in the desktop's lists (task bar,
    // switcher), from where the user brings it back (reported as OnHostIconic(window, false)).
    // ShowHostWindow(window, true) brings it back from our side. A host that cannot iconify (no
    // window manager) leaves the window on the screen and reports it back at once, so the
    // window is never lost.
    virtual void IconifyHostWindow(HWND window) = 0;
    // Tells the desktop that a window is to be maximized or no longer: a window manager then
    // keeps it on its work area (placing it there itself, reported through OnHostRect), and its
    // own gestures know the state. Our side tells it before it places the window, so that the
    // geometry the window manager keeps for the restore is the normal one.
    virtual void MaximizeHostWindow(HWND window, bool maximized) = 0;
    virtual void SetHostRect(HWND window, const Rect& screen) = 0;
    virtual void RaiseHostWindow(HWND window) = 0;
    virtual void SetHostTitle(HWND window, const std::string& title) = 0;
    // 255: opaque.
    virtual void SetHostOpacity(HWND window, std::uint8_t alpha) = 0;
    virtual void SetHostFrame(HWND window, const HostFrame& frame) = 0;
    // The picture the desktop shows for the window (task bar, switcher); 32-bit pixels whose
    // top byte is the opacity. Empty pixels: none.
    virtual void SetHostIcon(HWND window, const HostPixels& icon) = 0;
    // The window's shape on the screen: only the shape's rectangles (window coordinates) show,
    // and the desktop shows through everywhere else; an empty shape hides the whole window.
    // Null: the whole rectangle again.
    virtual void SetHostShape(HWND window, const Region* shape) = 0;
    // Our side made the window active: the host's keyboard goes to it. With a window manager
    // that is its job (it follows the raise); without one the backend hands the keyboard over.
    virtual void FocusHostWindow(HWND window) = 0;
    // Shows the window's pixels; dirty is the changed part in window coordinates.
    virtual void PresentHostWindow(HWND window, const HostPixels& pixels, const Rect& dirty) = 0;

    // The host follows our hit testing for moving and sizing when it can; the answer says whether
    // a move or size started with this hit code is the host's to drive.
    virtual bool HostDrivesMoveSize() const = 0;
    virtual void SetHostCapture(bool capture) = 0;
    virtual void SetCursor(Cursor cursor) = 0;

    virtual Rect ScreenRect() = 0;
    virtual Rect WorkArea() = 0;

    virtual void Beep() = 0;
    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& utf8) = 0;
    // The text selected last, on hosts that keep one apart from the clipboard (the X PRIMARY
    // selection: whatever is selected, pasted by a middle click). Empty: none.
    virtual std::string PrimarySelectionText() = 0;
    virtual void SetPrimarySelectionText(const std::string& utf8) = 0;
};

} // namespace platform
