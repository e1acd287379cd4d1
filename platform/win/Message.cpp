#include "platform/win/Message.h"

#include <algorithm>
#include <stdexcept>

#include "platform/sys/Signals.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Window.h"
#include "platform/win/WindowState.h"

namespace platform {

using detail::State;
using detail::WindowData;

LRESULT SendMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowData* w = State::Get().Find(h);
    if (!w)
        return 0;
    // A copy: the procedure may be replaced, or the window destroyed, while it runs.
    const WNDPROC proc = w->proc;
    return CallWindowProc(proc, h, msg, wParam, lParam);
}

bool PostMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    State& s = State::Get();
    if (h && !s.Find(h))
        return false;
    MSG m;
    m.hwnd = h;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(s.Now());
    m.pt = s.cursor;
    s.posted.push_back(m);
    return true;
}

void PostQuitMessage(int exitCode) {
    State& s = State::Get();
    s.quitPosted = true;
    s.quitCode = exitCode;
}

namespace {

bool InRange(UINT msg, UINT minMsg, UINT maxMsg) {
    return (minMsg == 0 && maxMsg == 0) || (msg >= minMsg && msg <= maxMsg);
}

bool Matches(const MSG& m, HWND filter, UINT minMsg, UINT maxMsg) {
    return (!filter || m.hwnd == filter) && InRange(m.message, minMsg, maxMsg);
}

void Taken(State& s, const MSG& m) {
    s.messageTime = m.time;
    s.messagePos = m.pt;
}

bool RetrieveNext(MSG& out, HWND filter, UINT minMsg, UINT maxMsg, bool remove);

// A run of paint messages ends with anything else the loop hands out, or with nothing: then the
// host is shown what they drew.
bool Retrieve(MSG& out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
    State& s = State::Get();
    const bool found = RetrieveNext(out, filter, minMsg, maxMsg, remove);
    if (found && out.message == WM_PAINT) {
        if (remove)
            s.paintBurst = true;
    } else if (s.paintBurst) {
        detail::FlushPresents();
    }
    return found;
}

bool RetrieveNext(MSG& out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
    State& s = State::Get();
    // Asked from outside to end: every loop unwinds as WM_QUIT makes it.
    if (TakeTerminationRequest())
        PostQuitMessage(0);
    s.backend->PollEvents(*s.sink);

    auto takePosted = [&] {
        for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
            if (Matches(*it, filter, minMsg, maxMsg)) {
                out = *it;
                if (remove) {
                    s.posted.erase(it);
                    Taken(s, out);
                }
                return true;
            }
        }
        return false;
    };
    if (takePosted())
        return true;

    for (std::size_t i = 0; i < s.input.size();) {
        if (!s.input[i].msg) {
            detail::QueuedInput q = s.input[i];
            // May send messages and change the queues: a mouse move posts the leave of the
            // window it leaves, which a filtered call may be asking for rather than the move.
            detail::TranslateRawInput(q);
            if (i >= s.input.size())
                break;
            s.input[i].msg = q.msg;
            if (!q.msg) {
                s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
                if (takePosted())
                    return true;
                continue;
            }
            if (!Matches(*q.msg, filter, minMsg, maxMsg) && takePosted())
                return true;
        }
        if (Matches(*s.input[i].msg, filter, minMsg, maxMsg)) {
            out = *s.input[i].msg;
            if (remove) {
                s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
                Taken(s, out);
            }
            return true;
        }
        ++i;
    }

    if (s.quitPosted && !filter) {
        out = MSG{};
        out.message = WM_QUIT;
        out.wParam = static_cast<WPARAM>(s.quitCode);
        out.time = static_cast<DWORD>(s.Now());
        if (remove)
            s.quitPosted = false;
        return true;
    }

    // Paint comes before timers: a window whose timer keeps firing (a fade, a repeat) still
    // shows each of its steps.
    if (InRange(WM_PAINT, minMsg, maxMsg)) {
        if (const HWND h = detail::FindWindowToPaint(filter)) {
            out = MSG{};
            out.hwnd = h;
            out.message = WM_PAINT;
            out.time = static_cast<DWORD>(s.Now());
            out.pt = s.cursor;
            if (remove)
                Taken(s, out);
            return true;
        }
    }

    const bool hoverWanted =
        InRange(s.hover.nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER, minMsg, maxMsg);
    if (InRange(WM_TIMER, minMsg, maxMsg) || InRange(WM_SYSTIMER, minMsg, maxMsg) || hoverWanted) {
        const std::uint64_t now = s.Now();
        detail::Timer* due = nullptr;
        for (detail::Timer& t : s.timers)
            if (t.due <= now && (!filter || t.hwnd == filter) && (!due || t.due < due->due) &&
                InRange(t.system ? WM_SYSTIMER : WM_TIMER, minMsg, maxMsg))
                due = &t;
        // The hover is the system's own timer: it takes its turn among the timers by due time.
        const auto hoverDue = detail::HoverDue();
        if (hoverWanted && hoverDue && (!due || *hoverDue <= due->due) &&
            detail::TakeHover(out, filter, remove)) {
            if (remove)
                Taken(s, out);
            return true;
        }
        if (due) {
            out = MSG{};
            out.hwnd = due->hwnd;
            out.message = due->system ? WM_SYSTIMER : WM_TIMER;
            out.wParam = due->id;
            out.lParam = static_cast<LPARAM>(due->procKey);
            out.time = static_cast<DWORD>(now);
            out.pt = s.cursor;
            if (remove) {
                due->due = now + due->interval;
                Taken(s, out);
            }
            return true;
        }
    }

    return false;
}

// When the next timer (or the hover) that a retrieval with this filter could hand out is due:
// one it would pass over must not wake the loop, or the loop would spin until its turn.
std::optional<std::uint64_t> NextTimerDue(State& s, HWND filter = HWND{}, UINT minMsg = 0,
                                          UINT maxMsg = 0) {
    std::optional<std::uint64_t> next;
    const auto hoverDue = detail::HoverDue();
    if (hoverDue && (!filter || s.hover.window == filter) &&
        InRange(s.hover.nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER, minMsg, maxMsg))
        next = hoverDue;
    for (const detail::Timer& t : s.timers)
        if ((!filter || t.hwnd == filter) &&
            InRange(t.system ? WM_SYSTIMER : WM_TIMER, minMsg, maxMsg) && (!next || t.due < *next))
            next = t.due;
    return next;
}

} // namespace

bool GetMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg) {
    State& s = State::Get();
    for (;;) {
        if (Retrieve(msg, filter, minMsg, maxMsg, true))
            return msg.message != WM_QUIT;
        if (!s.backend->WaitEvents(NextTimerDue(s, filter, minMsg, maxMsg)))
            throw std::logic_error("the message loop waits for input that can never come");
    }
}

bool PeekMessage(MSG& msg, HWND filter, UINT minMsg, UINT maxMsg, UINT removeFlags) {
    return Retrieve(msg, filter, minMsg, maxMsg, (removeFlags & PM_REMOVE) != 0);
}

bool WaitMessage() {
    State& s = State::Get();
    MSG m;
    if (Retrieve(m, HWND{}, 0, 0, false))
        return true;
    return s.backend->WaitEvents(NextTimerDue(s));
}

void ProcessPendingMessages() {
    State& s = State::Get();
    MSG m;
    // A procedure that never validates its window would make this spin; that is a programming
    // error worth a loud stop rather than a hang.
    for (int guard = 0; guard < 1000000; ++guard) {
        if (!PeekMessage(m, HWND{}, 0, 0, PM_REMOVE))
            return;
        if (m.message == WM_QUIT) {
            s.quitPosted = true;
            s.quitCode = static_cast<int>(m.wParam);
            return;
        }
        TranslateMessage(m);
        DispatchMessage(m);
    }
    throw std::logic_error("messages keep coming: a window never validates its paint?");
}

bool TranslateMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN)
        return false;
    State& s = State::Get();
    const int vk = static_cast<int>(msg.wParam);
    int ch = 0;
    // Keys the host's text input leaves out, but that still type a character here.
    switch (vk) {
    case VK_BACK:
        ch = 8;
        break;
    case VK_TAB:
        ch = 9;
        break;
    case VK_RETURN:
        ch = 13;
        break;
    case VK_ESCAPE:
        ch = 27;
        break;
    default:
        if ((s.keyState[VK_CONTROL] & 0x80) && !(s.keyState[VK_MENU] & 0x80) && vk >= 'A' &&
            vk <= 'Z')
            ch = vk - 'A' + 1;
        break;
    }
    if (!ch)
        return false;
    MSG c = msg;
    c.message = WM_CHAR;
    c.wParam = static_cast<WPARAM>(ch);
    s.posted.push_front(c);
    return true;
}

LRESULT DispatchMessage(const MSG& msg) {
    if (msg.message == WM_TIMER && msg.lParam != 0) {
        // A timer with a callback: the callback takes the message instead of the window. Only
        // a live timer's key counts, so a stale or made-up lParam never calls anything.
        State& s = State::Get();
        for (const detail::Timer& t : s.timers)
            if (!t.system && t.procKey == static_cast<std::uint64_t>(msg.lParam) && t.proc) {
                const std::shared_ptr<const TIMERPROC> proc = t.proc;
                (*proc)(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
                return 0;
            }
    }
    if (!msg.hwnd)
        return 0;
    return SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

DWORD GetMessageTime() {
    return State::Get().messageTime;
}
Point GetMessagePos() {
    return State::Get().messagePos;
}

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs) {
    return SetTimer(h, id, elapseMs, TIMERPROC{});
}

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    State& s = State::Get();
    if (h && !s.Find(h))
        return 0;
    if (!h) {
        // Thread timers get their id from the system, as on the platform.
        auto existing = std::find_if(s.timers.begin(), s.timers.end(), [&](const auto& t) {
            return !t.hwnd && t.id == id && id != 0;
        });
        if (existing == s.timers.end())
            id = ++s.nextThreadTimerId;
    }
    const std::uint64_t interval = std::max<UINT>(elapseMs, 10);
    std::shared_ptr<const TIMERPROC> callback;
    std::uint64_t key = 0;
    if (proc) {
        callback = std::make_shared<const TIMERPROC>(std::move(proc));
        key = s.nextTimerProcKey++;
    }
    for (detail::Timer& t : s.timers)
        if (t.hwnd == h && t.id == id && !t.system) {
            t.interval = interval;
            t.due = s.Now() + interval;
            t.proc = std::move(callback);
            t.procKey = key;
            return h ? (id ? id : 1) : id;
        }
    detail::Timer timer;
    timer.hwnd = h;
    timer.id = id;
    timer.interval = interval;
    timer.due = s.Now() + interval;
    timer.proc = std::move(callback);
    timer.procKey = key;
    s.timers.push_back(std::move(timer));
    return h ? (id ? id : 1) : id;
}

bool KillTimer(HWND h, UINT_PTR id) {
    State& s = State::Get();
    const auto before = s.timers.size();
    s.timers.erase(
        std::remove_if(s.timers.begin(), s.timers.end(),
                       [&](const auto& t) { return t.hwnd == h && t.id == id && !t.system; }),
        s.timers.end());
    // A WM_TIMER already handed out is gone with the timer; none is queued to remove.
    return s.timers.size() != before;
}

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc) {
    State& s = State::Get();
    if (kind != WH_CBT || !proc)
        return 0;
    const HHOOK id = s.nextHookId++;
    s.hooks.insert(s.hooks.begin(), detail::Hook{id, kind, std::move(proc)});
    return id;
}

bool UnhookWindowsHookEx(HHOOK hook) {
    State& s = State::Get();
    auto it = std::find_if(s.hooks.begin(), s.hooks.end(), [&](auto& h) { return h.id == hook; });
    if (it == s.hooks.end())
        return false;
    s.hooks.erase(it);
    return true;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    State& s = State::Get();
    auto it = std::find_if(s.hooks.begin(), s.hooks.end(), [&](auto& h) { return h.id == hook; });
    if (it == s.hooks.end())
        return 0;
    const int kind = it->kind;
    for (++it; it != s.hooks.end(); ++it)
        if (it->kind == kind) {
            const HOOKPROC next = it->proc;
            return next(code, wParam, lParam);
        }
    return 0;
}

namespace detail {

LRESULT CallHooks(int kind, int code, WPARAM wParam, LPARAM lParam) {
    State& s = State::Get();
    for (const Hook& h : s.hooks)
        if (h.kind == kind) {
            const HOOKPROC proc = h.proc;
            return proc(code, wParam, lParam);
        }
    return 0;
}

} // namespace detail

UINT RegisterWindowMessage(const std::string& name) {
    State& s = State::Get();
    if (name.empty())
        return 0;
    const std::string key = detail::Fold(name);
    auto it = s.registeredMessages.find(key);
    if (it != s.registeredMessages.end())
        return it->second;
    const UINT id = 0xC000 + static_cast<UINT>(s.registeredMessages.size());
    s.registeredMessages[key] = id;
    return id;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(State::Get().Now());
}

void MessageBeep(UINT) {
    State::Get().backend->Beep();
}

} // namespace platform
