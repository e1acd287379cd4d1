#include "platform/win/WindowSystem.h"

#include <stdexcept>

#include "platform/gfx/text/Utf8.h"
#include "platform/win/DropFiles.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::RawInput;
using detail::State;

namespace {

class Sink : public InputSink {
public:
    void OnMouseMove(Point screen) override {
        State& s = State::Get();
        // Moves coalesce, as the platform's queue does: only the latest position matters.
        if (!s.input.empty() && !s.input.back().msg &&
            s.input.back().raw.kind == RawInput::Kind::Move) {
            s.input.back().raw.pt = screen;
            s.input.back().raw.time = s.Now();
            return;
        }
        RawInput r;
        r.kind = RawInput::Kind::Move;
        r.pt = screen;
        Push(r);
    }
    void OnMouseButton(MouseButton button, bool down, Point screen) override {
        RawInput r;
        r.kind = RawInput::Kind::Button;
        r.button = button;
        r.down = down;
        r.pt = screen;
        Push(r);
    }
    void OnMouseWheel(int delta, Point screen) override {
        RawInput r;
        r.kind = RawInput::Kind::Wheel;
        r.value = delta;
        r.pt = screen;
        Push(r);
    }
    void OnKey(int vk, bool down, bool repeat) override {
        RawInput r;
        r.kind = RawInput::Kind::Key;
        r.value = vk;
        r.down = down;
        r.repeat = repeat;
        Push(r);
    }
    void OnText(const std::string& utf8) override {
        for (char32_t cp : Utf8ToUtf32(utf8)) {
            RawInput r;
            r.kind = RawInput::Kind::Char;
            r.value = static_cast<int>(cp);
            Push(r);
        }
    }
    void OnHostClose(HWND window) override {
        if (!IsWindow(window))
            return;
        // The window manager's close is our Alt+F4, which a window under a modal one ignores.
        if (!IsWindowEnabled(window)) {
            detail::BringModalForward(window);
            return;
        }
        PostMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void OnHostRect(HWND window, const Rect& screen) override {
        Rect now;
        if (!GetWindowRect(window, now) || now == screen || GetParent(window) != HWND{})
            return;
        SetWindowPos(window, HWND{}, screen.left, screen.top, screen.Width(), screen.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void OnHostExpose(HWND window) override {
        Rect r;
        if (GetWindowRect(window, r))
            detail::PresentTopLevel(window, Rect::FromSize(0, 0, r.Width(), r.Height()));
    }

    void OnHostFocus(HWND window) override {
        // The host's choice counts like a click: the window becomes active if it can be.
        // Menus and other popups never take the activation, whatever the host thinks.
        detail::WindowData* w = State::Get().Find(window);
        if (w && IsWindowVisible(window) && !IsWindowEnabled(window) &&
            detail::HostKindOf(*w) == HostKind::Normal) {
            // A window under a modal one does not take the keyboard: the modal window does.
            detail::BringModalForward(window);
            return;
        }
        if (w && IsWindowVisible(window) && IsWindowEnabled(window) &&
            GetActiveWindow() != window && !(w->exStyle & WS_EX_NOACTIVATE) &&
            detail::HostKindOf(*w) == HostKind::Normal)
            SetActiveWindow(window);
    }

    void OnHostIconic(HWND window, bool iconic) override {
        // Only a change counts: the host's reports lag behind what our side asked of it, and a
        // stale report must not undo a newer state (a restore must not lose the maximized one).
        if (!IsWindow(window) || GetParent(window) != HWND{} || !IsWindowVisible(window) ||
            IsIconic(window) == iconic)
            return;
        // As a task bar click on the classic desktop: the window hears it as a system command,
        // so a frame painter that takes over the system commands sees it too.
        SendMessage(window, WM_SYSCOMMAND, iconic ? SC_MINIMIZE : SC_RESTORE, 0);
        // A window under a modal one comes back, but the modal window takes the keyboard.
        if (!iconic && IsWindow(window) && !IsWindowEnabled(window))
            detail::BringModalForward(window);
    }

    void OnHostDropFiles(HWND window, std::vector<std::string> paths) override {
        if (IsWindow(window) && !paths.empty())
            PostDroppedFiles(window, std::move(paths));
    }

    void OnHostDeactivate() override {
        if (GetActiveWindow())
            detail::Activate(HWND{}, WA_INACTIVE);
    }

private:
    static void Push(RawInput r) {
        State& s = State::Get();
        r.time = s.Now();
        s.input.push_back({r, std::nullopt});
    }
};

} // namespace

WindowSystem::WindowSystem(std::unique_ptr<Backend> backend) : m_backend(std::move(backend)) {
    if (State::current)
        throw std::logic_error("a window system is already running");
    if (!m_backend)
        throw std::invalid_argument("a window system needs a backend");
    m_sink = std::make_unique<Sink>();
    State::current = new State;
    State::current->backend = m_backend.get();
    State::current->sink = m_sink.get();
    detail::RegisterSystemClasses();
}

WindowSystem::~WindowSystem() {
    State* s = State::current;
    try {
        // Every window goes the ordinary way, so procedures see their WM_DESTROY.
        for (int guard = 0; guard < 100000 && !s->topLevel.empty(); ++guard) {
            const HWND h = s->topLevel.front();
            if (!DestroyWindow(h) && IsWindow(h))
                s->topLevel.erase(s->topLevel.begin()); // refused by a hook: drop it
        }
    } catch (...) {
        // A procedure that throws while everything is torn down loses nothing more.
    }
    s->lentDcs.clear();
    delete s;
    State::current = nullptr;
}

bool WindowSystem::Running() {
    return State::current != nullptr;
}

} // namespace platform
