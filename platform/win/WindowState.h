#pragma once
// Internal to platform/win: the tables behind the window functions. Nothing outside this folder
// includes it. One WindowSystem holds one State; the window functions reach it through
// State::Get(), which fails loudly when no window system is running.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/win/Icon.h"
#include "platform/win/Message.h"
#include "platform/win/WinDefs.h"

namespace platform {

// Undocumented WINDOWPOS flags the window system uses to tell DefWindowProc whether WM_MOVE and
// WM_SIZE are due; kept so a procedure that looks at them sees what it expects.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000;

} // namespace platform

namespace platform::detail {

struct WindowClassData {
    std::string name;
    UINT style = 0;
    WNDPROC proc;
    Cursor cursor = Cursor::Arrow;
    std::optional<Color> background;
    int extraBytes = 0;
};

struct ScrollBarData {
    SCROLLINFO info{SIF_ALL, 0, 0, 0, 0, 0};
    UINT disabledArrows = 0; // ESB_DISABLE_* bits
};

struct WindowData {
    HWND self;
    std::shared_ptr<const WindowClassData> cls;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra;
    Rect rect;                  // in the parent's client coordinates; screen for top-level windows
    Rect client;                // in window coordinates
    HWND parent;                // none for top-level windows
    HWND owner;                 // top-level windows only
    std::vector<HWND> children; // z-order, topmost first
    WNDPROC proc;
    std::vector<std::pair<std::string, HANDLE>> props;

    // Paint state: the invalid part of the client area (client coordinates), whether the frame
    // and the background need painting.
    Region update;
    bool ncPaintPending = false;
    bool erasePending = false;
    bool internalPaint = false;
    bool redraw = true;    // WM_SETREDRAW
    bool ncActive = false; // the frame shows the active look

    ScrollBarData hbar, vbar;
    Rect normalRect; // where a maximized or minimized window returns to
    bool restoreToMaximized = false;
    bool destroying = false;
    bool nativeHost = false; // a host window exists

    std::optional<Region> windowRegion; // window coordinates; none: the whole rectangle
    Color layeredKey = 0;
    std::uint8_t layeredAlpha = 255;
    DWORD layeredFlags = 0;

    // Top-level windows own their pixels: a 32-bit top-down section of the window's size (none
    // while the window has no area).
    std::shared_ptr<DibSection> surface;
    // Drawn while the loop was handing out paint messages, not yet shown on the host (window
    // coordinates; empty: nothing).
    Rect presentPending;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id = 0;
    std::uint64_t interval = 0;
    std::uint64_t due = 0;
    bool system = false; // delivered as WM_SYSTIMER, for the system's own use (the caret)
    // SetTimer's callback, if any, and the key its WM_TIMER messages carry in lParam.
    std::shared_ptr<const TIMERPROC> proc;
    std::uint64_t procKey = 0;
};

struct Hook {
    std::intptr_t id = 0;
    int kind = 0;
    std::function<LRESULT(int, WPARAM, LPARAM)> proc;
};

// Raw host input waiting in the queue; it becomes a message when it is taken out, so that hit
// testing and capture see the state at that moment, as the host's input would.
struct RawInput {
    enum class Kind { Move, Button, Wheel, Key, Char } kind = Kind::Move;
    Point pt;
    MouseButton button = MouseButton::Left;
    bool down = false;
    bool repeat = false;
    int value = 0; // wheel delta, virtual key or code point
    std::uint64_t time = 0;
};

struct QueuedInput {
    RawInput raw;
    std::optional<MSG> msg; // once translated
};

struct MenuItemData {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::uint32_t submenu = 0;
    std::string text;
    UINT_PTR itemData = 0;
};

struct MenuData {
    std::vector<MenuItemData> items;
};

struct State {
    // Get and Find are asked for on every message and paint; they are defined here so that
    // each file of the window system can inline them.
    static State& Get() {
        if (!current)
            throw std::logic_error("no window system is running");
        return *current;
    }
    static State* current;

    Backend* backend = nullptr;
    InputSink* sink = nullptr;

    struct Slot {
        std::uint16_t generation = 0;
        std::unique_ptr<WindowData> window;
    };
    std::vector<Slot> slots; // slot i has handle index i + 1
    std::vector<std::size_t> freeSlots;
    std::vector<HWND> topLevel; // z-order, topmost first

    std::map<std::string, std::shared_ptr<const WindowClassData>> classes; // case-folded names

    std::deque<MSG> posted;
    std::deque<QueuedInput> input;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 0x7FFF;
    std::uint64_t nextTimerProcKey = 1;
    std::vector<Hook> hooks; // newest first
    std::intptr_t nextHookId = 1;

    HWND active, focus, capture;
    // Whether the activation is ours rather than another program's (WM_ACTIVATEAPP was last
    // sent with true).
    bool appActive = false;
    Point cursor{-1, -1};
    std::uint8_t keyState[256] = {};
    Cursor currentCursor = Cursor::Arrow; // asked for by the pointer's window
    std::optional<Cursor> screenCursor;   // over every window, when set
    Cursor shownCursor = Cursor::Arrow;   // what the host was told last
    DWORD messageTime = 0;
    Point messagePos;
    std::map<std::string, UINT> registeredMessages;
    // While the loop hands out WM_PAINT one window after another, what they draw reaches the
    // host once, when the run of paint messages ends, rather than once per window.
    bool paintBurst = false;

    // Device contexts handed out by GetDC, GetWindowDC and BeginPaint, until released.
    struct LentDc {
        HWND hwnd;
        std::unique_ptr<DeviceContext> dc;
    };
    std::vector<LentDc> lentDcs;

    // The one scroll bar being pressed (only one can be at a time).
    struct ScrollPress {
        HWND hwnd;
        int bar = -1;
        int part = 0; // ScrollPart
    } scrollPress;
    // The caret: one for the thread, owned by a window; drawn by inverting its pixels.
    struct Caret {
        HWND owner;
        Rect rect;         // client coordinates of the owner
        int hideCount = 1; // created hidden
        bool drawn = false;
        bool pausedForPaint = false;
        UINT blinkMs = 530;
    } caret;

    IconImage applicationIcon;

    std::map<std::uint32_t, MenuData> menus;
    std::uint32_t nextMenu = 1;
    void* menuTracking = nullptr; // the popup menu loop running, if any

    // The caption button being pressed (hit code), for the frame painter.
    HWND captionPressWindow;
    LRESULT captionPressHit = 0;

    // Mouse-leave tracking and double clicks.
    HWND trackWindow;
    bool trackNonClient = false;
    // Hover tracking: the window, the area, the hover time, where the mouse rests (screen) and
    // when the hover is due.
    struct Hover {
        HWND window;
        bool nonClient = false;
        UINT timeMs = 0;
        Point anchor;
        std::uint64_t due = 0;
    } hover;
    HWND lastClickWindow;
    UINT lastClickMessage = 0;
    std::uint64_t lastClickTime = 0;
    Point lastClickPoint;

    WindowData* Find(HWND h) {
        const std::uint32_t index = h.Value() & 0xFFFF;
        const std::uint32_t generation = h.Value() >> 16;
        if (index == 0 || index > slots.size())
            return nullptr;
        Slot& slot = slots[index - 1];
        if (slot.generation != generation || !slot.window)
            return nullptr;
        return slot.window.get();
    }
    WindowData& Need(HWND h); // throws std::invalid_argument for a stale handle
    std::uint64_t Now() { return backend->NowMs(); }
};

// Shared helpers of the window functions (Window.cpp, Message.cpp, Input.cpp, Paint.cpp).
Point ClientOriginOnScreen(const WindowData& w);
Point WindowOriginOnScreen(const WindowData& w);
HWND RootOf(HWND h);
bool IsVisibleChain(HWND h);
bool IsDescendantOrSelf(HWND ancestor, HWND h);
LRESULT CallHooks(int kind, int code, WPARAM wParam, LPARAM lParam);
void TranslateRawInput(QueuedInput& q);
void UpdateMouseLeave(Point screen);
// Hover tracking follows the mouse (time: of the input); TakeHover hands out the hover message
// once due, ending the tracking when remove is set.
void UpdateHover(Point screen, std::uint64_t time);
std::optional<std::uint64_t> HoverDue();
bool TakeHover(MSG& out, HWND filter, bool remove);
void ForgetWindowInInput(HWND h);
void PresentTopLevel(HWND root, const Rect& dirty);
// Shows what the paint messages handed out so far have drawn, and ends the run.
void FlushPresents();

// Paint.cpp: the first window (parents before children, front to back) that has something to
// paint and matches the filter (null: any).
HWND FindWindowToPaint(HWND filter);

// ScrollBar.cpp
void PaintScrollBars(HWND h, DeviceContext& windowDc);
void TrackScrollBar(HWND h, int bar, Point screen);
// DefWindowProc.cpp
void PaintFrame(HWND h);
// MoveSize.cpp: the modal loops of moving and sizing. The mouse loop follows the pointer from
// start (screen) until the button goes up, moving the edge hit names (HTCAPTION: the whole
// window). The keyboard loop moves the window (HTCAPTION) or, with HTNOWHERE, sizes it, the
// first arrow key choosing the edge; Enter or a click keeps the new place, Escape puts the
// window back.
void MoveSizeLoop(HWND h, LRESULT hit, Point start);
void KeyboardMoveSize(HWND h, LRESULT hit);
// What a modal loop over a captured window does with a message it looked at.
enum class CapturedStep { Dispatch, Handled, Stop };
// Hands out messages while h holds the capture, each to look first: Handled takes it, Stop takes
// it and ends the loop, Dispatch translates and dispatches it as usual. A quit message is put
// back for the outer loop and ends this one.
void PumpWhileCaptured(HWND h, const std::function<CapturedStep(const MSG&)>& look);
constexpr int kKeyboardMoveStep = 8; // pixels per arrow key

// Menu.cpp, MessageBox.cpp: the classes the system provides.
void RegisterSystemClasses();

// Caret.cpp: takes the caret off the screen while a window paints under it, and puts it back.
void HideCaretForPaint(HWND h);
void RestoreCaretAfterPaint(HWND h);
void ForgetCaretOf(HWND h);
void BlinkCaret(HWND h);
constexpr UINT_PTR kCaretTimerId = 0xFFFD;

// WindowTable.cpp
// Positions and sizes stay within what a 16-bit message parameter carries, as on the platform,
// so no sum of nested offsets can overflow.
constexpr int kMinCoord = -32768, kMaxCoord = 32767;
// A top-level window larger than this many pixels gets no surface (it draws nowhere) rather than
// an allocation that could exhaust memory.
constexpr std::int64_t kMaxSurfacePixels = 64 * 1024 * 1024;
int ClampCoord(std::int64_t v);
int ClampExtent(std::int64_t v);
std::string Fold(const std::string& name);
// Gives a new record its handle and takes it into the table; Free drops it again.
HWND Allocate(State& s, std::unique_ptr<WindowData> w);
void Free(State& s, HWND h);
std::vector<HWND>& Siblings(State& s, WindowData& w);
void ResizeSurface(WindowData& w);
HostKind HostKindOf(const WindowData& w);
void Restack(State& s, WindowData& w, HWND after);
HWND NextWindowToActivate(HWND leaving);
// Tells the host how its window manager is to treat a top-level window (sizeable, which window
// it belongs to, modal); sent as the window shows and when its style or owner changes.
void UpdateHostFrame(HWND h);
// The smallest size the user may give a top-level window (WM_GETMINMAXINFO's answer).
Point MinTrackSize(HWND h);
// A click or the host's focus reached a disabled window: the window that disables it (the
// topmost enabled window it owns, through any chain of owners, else our topmost enabled
// window) comes forward and takes the keyboard, as the modal window does on the classic
// desktop. False when there is none.
bool BringModalForward(HWND disabled);
// Input.cpp: makes h the active top-level window (null: none); false when the hook refused.
bool Activate(HWND h, WORD how);
// Finds the window under a screen point, skipping the given windows and their children.
HWND FindWindowAt(Point screen, const std::vector<HWND>& skip);

} // namespace platform::detail
