#include "platform/backend/sdl/X11Desktop.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <vector>

namespace platform::x11 {

namespace {

struct Target {
    Display* display = nullptr;
    Window window = 0;
};

Target TargetOf(SDL_Window* w) {
    if (!w)
        return {};
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return {info.info.x11.display, info.info.x11.window};
}

// A window named by a property may be gone by the time it is read; that must not end the
// program through Xlib's default error handler.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

Window WindowProperty(Display* d, Window w, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window out = 0;
    if (XGetWindowProperty(d, w, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
        out = *reinterpret_cast<Window*>(data);
    if (data)
        XFree(data);
    return out;
}

std::vector<Atom> AtomsProperty(Display* d, Window w, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> out;
    if (XGetWindowProperty(d, w, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data && type == XA_ATOM && format == 32)
        out.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
    if (data)
        XFree(data);
    return out;
}

// Adds (on) or removes up to two _NET_WM_STATE atoms.
void SetNetState(SDL_Window* window, const Target& t, bool on, std::vector<Atom> atoms) {
    Display* d = t.display;
    const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) {
        // Mapped: the window manager owns the state and is asked to change it.
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = t.window;
        e.xclient.message_type = state;
        e.xclient.format = 32;
        e.xclient.data.l[0] = on ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
        e.xclient.data.l[1] = static_cast<long>(atoms[0]);
        e.xclient.data.l[2] = atoms.size() > 1 ? static_cast<long>(atoms[1]) : 0;
        e.xclient.data.l[3] = 1; // from a normal application
        XSendEvent(d, DefaultRootWindow(d), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        std::vector<Atom> now = AtomsProperty(d, t.window, state);
        for (const Atom a : atoms) {
            now.erase(std::remove(now.begin(), now.end(), a), now.end());
            if (on)
                now.push_back(a);
        }
        XChangeProperty(d, t.window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(now.data()),
                        static_cast<int>(now.size()));
    }
    XFlush(d);
}

} // namespace

namespace {

int ReportAndGoOn(Display* d, XErrorEvent* e) {
    char text[160] = {};
    XGetErrorText(d, e->error_code, text, sizeof text - 1);
    std::fprintf(stderr, "X error ignored: %s (request %d, resource 0x%lx)\n", text,
                 e->request_code, e->resourceid);
    return 0;
}

} // namespace

void KeepRequestErrorsHarmless() {
    if (std::strcmp(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "", "x11") == 0)
        XSetErrorHandler(&ReportAndGoOn);
}

bool WindowManagerRunning(SDL_Window* window) {
    const Target t = TargetOf(window);
    if (!t.display)
        return true; // not X11: the compositor is the window manager
    Display* d = t.display;
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    XSync(d, False);
    auto* previous = XSetErrorHandler(&IgnoreErrors);
    const Window named = WindowProperty(d, DefaultRootWindow(d), check);
    const bool running = named != 0 && WindowProperty(d, named, check) == named;
    XSync(d, False);
    XSetErrorHandler(previous);
    return running;
}

void SetUndecorated(SDL_Window* window) {
    const Target t = TargetOf(window);
    if (!t.display)
        return;
    // flags (decorations given), functions, decorations (none), input mode, status.
    const long hints[5] = {2, 0, 0, 0, 0};
    const Atom motif = XInternAtom(t.display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(t.display, t.window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    XFlush(t.display);
}

bool ScreenOrigin(SDL_Window* window, int& x, int& y) {
    const Target t = TargetOf(window);
    if (!t.display)
        return false;
    Window child = 0;
    return XTranslateCoordinates(t.display, t.window, DefaultRootWindow(t.display), 0, 0, &x, &y,
                                 &child) != 0;
}

bool ReadIconic(SDL_Window* window, bool& iconic) {
    const Target t = TargetOf(window);
    if (!t.display)
        return false;
    const Atom state = XInternAtom(t.display, "WM_STATE", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    iconic = false;
    // WM_STATE: state (CARD32), icon window; only the window manager writes it.
    if (XGetWindowProperty(t.display, t.window, state, 0, 2, False, state, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == state && format == 32 && count >= 1)
        iconic = *reinterpret_cast<long*>(data) == IconicState;
    if (data)
        XFree(data);
    return true;
}

void SetBelongsTo(SDL_Window* window, SDL_Window* owner, bool modal) {
    const Target t = TargetOf(window);
    if (!t.display)
        return;
    Display* d = t.display;
    const Target o = TargetOf(owner);
    if (o.window)
        XSetTransientForHint(d, t.window, o.window);
    else
        XDeleteProperty(d, t.window, XA_WM_TRANSIENT_FOR);

    SetNetState(window, t, modal, {XInternAtom(d, "_NET_WM_STATE_MODAL", False)});
}

bool LeftButtonHeld(SDL_Window* window) {
    const Target t = TargetOf(window);
    if (!t.display)
        return true;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(t.display, t.window, &root, &child, &rootX, &rootY, &x, &y, &mask))
        return true; // on another screen: as before, the window manager's
    return (mask & Button1Mask) != 0;
}

void SetMaximized(SDL_Window* window, bool maximized) {
    const Target t = TargetOf(window);
    if (!t.display)
        return;
    SetNetState(window, t, maximized,
                {XInternAtom(t.display, "_NET_WM_STATE_MAXIMIZED_VERT", False),
                 XInternAtom(t.display, "_NET_WM_STATE_MAXIMIZED_HORZ", False)});
}

void SetShape(SDL_Window* window, const std::vector<Rect>* rects) {
    const Target t = TargetOf(window);
    if (!t.display)
        return;
    Display* d = t.display;
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(d, &eventBase, &errorBase))
        return;
    if (!rects) {
        XShapeCombineMask(d, t.window, ShapeBounding, 0, 0, 0, ShapeSet);
        XFlush(d);
        return;
    }
    // XRectangle holds 16-bit values: a region reaching beyond them is cut to what a window can
    // have, never wrapped round.
    auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); };
    std::vector<XRectangle> xr;
    xr.reserve(rects->size());
    for (const Rect& r : *rects) {
        const int left = clamp(r.left, SHRT_MIN, SHRT_MAX);
        const int top = clamp(r.top, SHRT_MIN, SHRT_MAX);
        const int right = clamp(r.right, left, left + USHRT_MAX);
        const int bottom = clamp(r.bottom, top, top + USHRT_MAX);
        if (right > left && bottom > top)
            xr.push_back({static_cast<short>(left), static_cast<short>(top),
                          static_cast<unsigned short>(right - left),
                          static_cast<unsigned short>(bottom - top)});
    }
    XShapeCombineRectangles(d, t.window, ShapeBounding, 0, 0, xr.data(),
                            static_cast<int>(xr.size()), ShapeSet, Unsorted);
    XFlush(d);
}

std::optional<double> ResourceDpi() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0)
        return std::nullopt;
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return std::nullopt;
    std::optional<double> dpi;
    if (const char* resources = XResourceManagerString(d)) {
        XrmInitialize();
        XrmDatabase db = XrmGetStringDatabase(resources);
        char* type = nullptr;
        XrmValue value{};
        if (db && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
            char* end = nullptr;
            const double v = std::strtod(value.addr, &end);
            if (end != value.addr && v > 0)
                dpi = v;
        }
        if (db)
            XrmDestroyDatabase(db);
    }
    XCloseDisplay(d);
    return dpi;
}

namespace {

// UTF-8 to Latin-1, '?' for every code point Latin-1 lacks (and for broken sequences).
std::string Latin1Safe(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 4;
        if (length == 1)
            out += static_cast<char>(lead);
        else if (length == 2 && i + 1 < utf8.size() && lead <= 0xC3)
            out += static_cast<char>(((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
        else
            out += '?';
        i += static_cast<std::size_t>(length);
    }
    return out;
}

void SetUtf8Property(Display* d, Window w, const char* name, const std::string& utf8) {
    XChangeProperty(d, w, XInternAtom(d, name, False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
}

} // namespace

void SetTitle(SDL_Window* window, const std::string& utf8) {
    const Target t = TargetOf(window);
    if (!t.display)
        return;
    Display* d = t.display;
    // Xlib converts from UTF-8 whatever the program's locale; characters compound text cannot
    // hold come out as replacements (a positive count), which is still a readable title.
    char* list[] = {const_cast<char*>(utf8.c_str())};
    XTextProperty text{};
    if (Xutf8TextListToTextProperty(d, list, 1, XStdICCTextStyle, &text) >= 0 && text.value) {
        XSetWMName(d, t.window, &text);
        XSetWMIconName(d, t.window, &text);
        XFree(text.value);
    } else {
        const std::string latin1 = Latin1Safe(utf8);
        for (const Atom property : {XA_WM_NAME, XA_WM_ICON_NAME})
            XChangeProperty(d, t.window, property, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(latin1.data()),
                            static_cast<int>(latin1.size()));
    }
    SetUtf8Property(d, t.window, "_NET_WM_NAME", utf8);
    SetUtf8Property(d, t.window, "_NET_WM_ICON_NAME", utf8);
    XFlush(d);
}

} // namespace platform::x11
