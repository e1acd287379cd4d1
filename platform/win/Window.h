#pragma once
// Windows as handles: class registration, creation and destruction, styles and window longs,
// procedures and subclassing, properties, hierarchy and z-order, position and size, visibility.
//
// Coordinates: a child's position is in its parent's client coordinates, a top-level window's in
// screen coordinates; GetWindowRect answers screen coordinates, GetClientRect client ones (left
// and top 0). Calls on a handle that does not name a live window (never created, or destroyed)
// fail the way the platform's calls fail: false, 0 or an empty value, and change nothing.
// Creating a window of an unregistered class, or a child without a parent, fails with a null
// handle. Every call must come from the thread that runs the window system.

#include <optional>
#include <string>
#include <vector>

#include "platform/win/WinDefs.h"

namespace platform {

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc;
    int cbWndExtra = 0; // bytes, in pointer-sized steps, for Get/SetWindowLongPtr(0, 8, ...)
    Cursor hCursor = Cursor::Arrow;
    // The class background brush colour; none means WM_ERASEBKGND leaves the background alone.
    std::optional<Color> hbrBackground;
    std::string lpszClassName;
};

constexpr int GCL_STYLE = -26;
// The class's style (GCL_STYLE); 0 for other indexes or a bad window.
LONG_PTR GetClassLongPtr(HWND h, int index);

// Class names compare without regard to ASCII case. Registering a name twice fails.
bool RegisterClass(const WNDCLASS& wc);
bool UnregisterClass(const std::string& name);
bool GetClassInfo(const std::string& name, WNDCLASS& out);
std::string GetClassName(HWND h);

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    LONG_PTR menuOrId, void* createParams);
bool DestroyWindow(HWND h);
bool IsWindow(HWND h);

// Window longs: GWL_STYLE, GWL_EXSTYLE, GWL_ID, GWL_USERDATA, GWL_HWNDPARENT (the owner of a
// top-level window) and the class's extra words at non-negative byte offsets. The procedure is
// not an integer here: GWL_WNDPROC goes through the WNDPROC overloads.
LONG_PTR GetWindowLongPtr(HWND h, int index);
LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value);
WNDPROC SetWindowLongPtr(HWND h, int index, WNDPROC proc);
// Shorthands for GWL_WNDPROC.
WNDPROC GetWindowProc(HWND h);
WNDPROC SetWindowProc(HWND h, WNDPROC proc); // returns the previous procedure
LRESULT CallWindowProc(const WNDPROC& proc, HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

// Properties by name (names are compared exactly). RemoveProp answers the removed value.
bool SetProp(HWND h, const std::string& name, HANDLE value);
HANDLE GetProp(HWND h, const std::string& name);
HANDLE RemoveProp(HWND h, const std::string& name);

bool SetWindowText(HWND h, const std::string& text);
std::string GetWindowText(HWND h);

HWND GetParent(HWND h); // the parent of a child, the owner of a top-level window
HWND SetParent(HWND h, HWND newParent);
HWND GetAncestorRoot(HWND h);
HWND GetWindow(HWND h, UINT cmd);
HWND GetTopWindow(HWND parent);             // null parent: the topmost top-level window
std::vector<HWND> GetChildren(HWND parent); // z-order, topmost first
std::vector<HWND> GetTopLevelWindows();
bool IsChild(HWND parent, HWND h);
HWND GetDlgItem(HWND parent, int id);

bool GetWindowRect(HWND h, Rect& out);
bool GetClientRect(HWND h, Rect& out);
bool ClientToScreen(HWND h, Point& p);
bool ScreenToClient(HWND h, Point& p);
// Maps points between the client coordinates of two windows (null: the screen).
void MapWindowPoints(HWND from, HWND to, Point* points, int count);

bool SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND h, int x, int y, int width, int height, bool repaint);
bool ShowWindow(HWND h, int cmd);       // answers whether the window was visible before
bool IsWindowVisible(HWND h);           // the window and all its ancestors
bool EnableWindow(HWND h, bool enable); // answers whether the window was disabled before
bool IsWindowEnabled(HWND h);
bool IsIconic(HWND h);
bool IsZoomed(HWND h);
// Where a maximized or minimized window goes back to; the window rectangle of any other (screen
// coordinates for a top-level window), empty for no window.
Rect GetNormalRect(HWND h);
bool BringWindowToTop(HWND h);

// Layered windows (WS_EX_LAYERED): pixels of the key colour let the mouse through to what lies
// beneath (LWA_COLORKEY); the whole window shows with the given opacity where the host can
// (LWA_ALPHA). False for a window without WS_EX_LAYERED.
constexpr DWORD LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2;
bool SetLayeredWindowAttributes(HWND h, Color key, std::uint8_t alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND h, Color* key, std::uint8_t* alpha, DWORD* flags);

// The window under a screen point: the deepest visible child, as the mouse would find it
// (disabled children count as part of their parent). No hit-test messages are sent.
HWND WindowFromPoint(Point screen);
HWND ChildWindowFromPoint(HWND parent, Point client);

} // namespace platform
