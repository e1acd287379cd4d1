#include "toolkit/TTimer.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TApplication.h"

namespace toolkit {
namespace {

constexpr const char* kTimerWindowClass = "TTimerWindow";
constexpr platform::UINT_PTR kTimerId = 1;

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    Destroying();
    Stop();
    if (m_window && platform::WindowSystem::Running())
        platform::DestroyWindow(m_window);
}

void TTimer::SetEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == m_interval)
        return;
    m_interval = ms;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    m_onTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Stop() {
    if (m_running && platform::WindowSystem::Running() && platform::IsWindow(m_window))
        platform::KillTimer(m_window, kTimerId);
    m_running = false;
}

void TTimer::UpdateTimer() {
    Stop();
    if (!m_enabled || m_interval == 0 || !m_onTimer || IsDestroying() ||
        !platform::WindowSystem::Running())
        return;
    if (!m_window || !platform::IsWindow(m_window)) {
        platform::WNDCLASS wc;
        if (!platform::GetClassInfo(kTimerWindowClass, wc)) {
            wc = platform::WNDCLASS{};
            wc.lpszClassName = kTimerWindowClass;
            wc.lpfnWndProc = &platform::DefWindowProc;
            platform::RegisterClass(wc);
        }
        m_window = platform::CreateWindowEx(0, kTimerWindowClass, "", platform::WS_POPUP, 0, 0, 0,
                                            0, {}, 0, nullptr);
        if (!m_window)
            return;
        platform::SetWindowProc(
            m_window,
            platform::WNDPROC::Bind([this](platform::HWND h, platform::UINT msg, platform::WPARAM w,
                                           platform::LPARAM l) -> platform::LRESULT {
                if (msg == platform::WM_TIMER && w == kTimerId) {
                    try {
                        Timer();
                    } catch (...) {
                        TApplication* app = Application();
                        if (!app)
                            throw;
                        app->HandleException(std::current_exception());
                    }
                    return 0;
                }
                return platform::DefWindowProc(h, msg, w, l);
            }));
    }
    m_running = platform::SetTimer(m_window, kTimerId, m_interval) != 0;
}

void TTimer::Timer() {
    if (m_enabled)
        Fire(m_onTimer, this);
}

} // namespace toolkit
