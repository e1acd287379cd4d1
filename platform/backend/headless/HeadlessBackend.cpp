#include "platform/backend/headless/HeadlessBackend.h"

#include <algorithm>

namespace platform {

HeadlessBackend::HeadlessBackend(Rect screen, int taskbarHeight)
    : m_screen(screen), m_work{screen.left, screen.top, screen.right,
                               std::max(screen.top, screen.bottom - std::max(0, taskbarHeight))} {}

HeadlessBackend::~HeadlessBackend() {
    platform::RefuseCreations(Creation::Window, 0);
    platform::RefuseCreations(Creation::DibSection, 0);
}

void HeadlessBackend::Schedule(Event e, std::uint64_t afterMs) {
    e.time = m_now + afterMs;
    auto pos = std::upper_bound(m_events.begin(), m_events.end(), e.time,
                                [](std::uint64_t t, const Event& ev) { return t < ev.time; });
    m_events.insert(pos, std::move(e));
}

void HeadlessBackend::MouseMove(Point screen, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Move;
    e.pt = screen;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::MouseDown(Point screen, MouseButton b, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Button;
    e.pt = screen;
    e.button = b;
    e.down = true;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::MouseUp(Point screen, MouseButton b, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Button;
    e.pt = screen;
    e.button = b;
    e.down = false;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::Click(Point screen, MouseButton b, std::uint64_t afterMs) {
    MouseMove(screen, afterMs);
    MouseDown(screen, b, afterMs);
    MouseUp(screen, b, afterMs);
}

void HeadlessBackend::Wheel(int delta, Point screen, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Wheel;
    e.pt = screen;
    e.value = delta;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::KeyDown(int vk, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Key;
    e.value = vk;
    e.down = true;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::KeyUp(int vk, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Key;
    e.value = vk;
    e.down = false;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::Key(int vk, std::uint64_t afterMs) {
    KeyDown(vk, afterMs);
    KeyUp(vk, afterMs);
}

void HeadlessBackend::Text(const std::string& utf8, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Text;
    e.text = utf8;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::HostClose(HWND window, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Close;
    e.window = window;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::HostFocus(HWND window, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Focus;
    e.window = window;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::HostDeactivate(std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Deactivate;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::HostIconify(HWND window, bool iconic, std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Iconic;
    e.window = window;
    e.down = iconic;
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::DropFiles(HWND window, std::vector<std::string> paths,
                                std::uint64_t afterMs) {
    Event e;
    e.kind = Event::Kind::Drop;
    e.window = window;
    e.paths = std::move(paths);
    Schedule(std::move(e), afterMs);
}

void HeadlessBackend::SetHostTitle(HWND window, const std::string& title) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.title = title;
}

void HeadlessBackend::SetHostOpacity(HWND window, std::uint8_t alpha) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.opacity = alpha;
}

const HeadlessBackend::HostWindow* HeadlessBackend::Host(HWND window) const {
    auto it = m_hosts.find(window);
    return it == m_hosts.end() ? nullptr : &it->second;
}

void HeadlessBackend::PollEvents(InputSink& sink) {
    while (!m_events.empty() && m_events.front().time <= m_now) {
        const Event e = std::move(m_events.front());
        m_events.erase(m_events.begin());
        switch (e.kind) {
        case Event::Kind::Move:
            sink.OnMouseMove(e.pt);
            break;
        case Event::Kind::Button:
            sink.OnMouseMove(e.pt);
            sink.OnMouseButton(e.button, e.down, e.pt);
            break;
        case Event::Kind::Wheel:
            sink.OnMouseWheel(e.value, e.pt);
            break;
        case Event::Kind::Key:
            sink.OnKey(e.value, e.down, false);
            break;
        case Event::Kind::Text:
            sink.OnText(e.text);
            break;
        case Event::Kind::Close:
            sink.OnHostClose(e.window);
            break;
        case Event::Kind::Focus:
            sink.OnHostFocus(e.window);
            break;
        case Event::Kind::Deactivate:
            sink.OnHostDeactivate();
            break;
        case Event::Kind::Iconic:
            if (auto it = m_hosts.find(e.window); it != m_hosts.end() && it->second.visible) {
                it->second.iconic = e.down;
                sink.OnHostIconic(e.window, e.down);
            }
            break;
        case Event::Kind::Drop:
            sink.OnHostDropFiles(e.window, e.paths);
            break;
        }
    }
}

bool HeadlessBackend::WaitEvents(std::optional<std::uint64_t> deadlineMs) {
    std::optional<std::uint64_t> next = deadlineMs;
    if (!m_events.empty() && (!next || m_events.front().time < *next))
        next = m_events.front().time;
    if (!next)
        return false;
    m_now = std::max(m_now, *next);
    return true;
}

void HeadlessBackend::CreateHostWindow(HWND window, const Rect& screen, HostKind kind) {
    HostWindow& h = m_hosts[window];
    h = HostWindow{};
    h.rect = screen;
    h.kind = kind;
    m_stack.insert(m_stack.begin(), window);
}

void HeadlessBackend::DestroyHostWindow(HWND window) {
    m_hosts.erase(window);
    m_stack.erase(std::remove(m_stack.begin(), m_stack.end(), window), m_stack.end());
    if (m_keyboard == window)
        m_keyboard = HWND{};
}

void HeadlessBackend::ShowHostWindow(HWND window, bool visible) {
    auto it = m_hosts.find(window);
    if (it == m_hosts.end())
        return;
    it->second.visible = visible;
    it->second.iconic = false;
    if (visible && it->second.kind == HostKind::Normal)
        m_keyboard = window;
    else if (!visible && m_keyboard == window)
        m_keyboard = HWND{};
}

void HeadlessBackend::IconifyHostWindow(HWND window) {
    auto it = m_hosts.find(window);
    if (it == m_hosts.end() || !it->second.visible)
        return;
    it->second.iconic = true;
    if (m_keyboard == window)
        m_keyboard = HWND{};
}

void HeadlessBackend::MaximizeHostWindow(HWND window, bool maximized) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.maximized = maximized;
}

void HeadlessBackend::SetHostFrame(HWND window, const HostFrame& frame) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.frame = frame;
}

void HeadlessBackend::SetHostIcon(HWND window, const HostPixels& icon) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.iconSize = icon.pixels ? Point{icon.width, icon.height} : Point{};
}

void HeadlessBackend::SetHostShape(HWND window, const Region* shape) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.shape = shape ? std::optional<Region>(*shape) : std::nullopt;
}

void HeadlessBackend::FocusHostWindow(HWND window) {
    if (auto it = m_hosts.find(window); it != m_hosts.end() && it->second.visible)
        m_keyboard = window;
}

void HeadlessBackend::SetHostRect(HWND window, const Rect& screen) {
    if (auto it = m_hosts.find(window); it != m_hosts.end())
        it->second.rect = screen;
}

void HeadlessBackend::RaiseHostWindow(HWND window) {
    if (!m_hosts.count(window))
        return;
    m_stack.erase(std::remove(m_stack.begin(), m_stack.end(), window), m_stack.end());
    m_stack.insert(m_stack.begin(), window);
}

void HeadlessBackend::PresentHostWindow(HWND window, const HostPixels&, const Rect& dirty) {
    if (auto it = m_hosts.find(window); it != m_hosts.end()) {
        ++it->second.presents;
        it->second.lastDirty = dirty;
    }
}

} // namespace platform
