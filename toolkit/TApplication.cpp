#include "toolkit/TApplication.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TControl.h"
#include "toolkit/TForm.h"
#include "toolkit/THintWindow.h"
#include "toolkit/TTimer.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

TApplication* g_application = nullptr;

std::string ProgramTitle() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.stem().string();
}

// Below the pointer, clear of a standard arrow cursor.
constexpr int kHintBelowCursor = 20;

bool EndsHint(UINT msg) {
    using namespace platform;
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN ||
           msg == WM_NCRBUTTONDOWN || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
}

bool WantsHint(const TControl* control) {
    return control && control->ShowHint() && !control->Hint().empty() && control->Showing();
}

} // namespace

TApplication* Application() {
    return g_application;
}

TApplication::TApplication() : TComponent(nullptr), m_title(ProgramTitle()) {
    g_application = this;
}

TApplication::~TApplication() {
    Destroying();
    // The hint's parts go first, before the controls and the timer they refer to.
    m_hintWindow.reset();
    SetHintControl(nullptr);
    if (m_hintTimer) {
        Free(m_hintTimer);
        m_hintTimer = nullptr;
    }
    // Forms go while the window system they live in is still there.
    DestroyComponents();
    m_mainForm = nullptr;
    m_ownSystem.reset();
    if (g_application == this)
        g_application = nullptr;
}

void TApplication::Initialize() {
    if (!platform::WindowSystem::Running())
        m_ownSystem =
            std::make_unique<platform::WindowSystem>(std::make_unique<platform::SdlBackend>());
}

void TApplication::SetMainForm(TCustomForm* form) {
    m_mainForm = form;
    form->HandleNeeded();
}

void TApplication::Run() {
    if (!m_mainForm)
        return;
    if (m_showMainForm)
        m_mainForm->Show();
    while (!m_terminated)
        HandleMessage();
}

void TApplication::Terminate() {
    if (platform::WindowSystem::Running())
        platform::PostQuitMessage(0);
    else
        m_terminated = true;
}

bool TApplication::IsKeyMsg(const platform::MSG& msg) {
    UINT reflected = 0;
    if (msg.message == platform::WM_KEYDOWN || msg.message == platform::WM_SYSKEYDOWN)
        reflected = CN_KEYDOWN;
    else if (msg.message == platform::WM_CHAR)
        reflected = CN_CHAR;
    if (!reflected || !FindControl(msg.hwnd))
        return false;
    return platform::SendMessage(msg.hwnd, reflected, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage() {
    platform::MSG msg;
    if (!platform::PeekMessage(msg, {}, 0, 0, platform::PM_REMOVE))
        return false;
    if (msg.message == platform::WM_QUIT) {
        m_terminated = true;
        return true;
    }
    if (EndsHint(msg.message))
        CancelHint();
    try {
        if (!IsKeyMsg(msg)) {
            platform::TranslateMessage(msg);
            platform::DispatchMessage(msg);
        }
    } catch (...) {
        HandleException(std::current_exception());
    }
    FreeReleased();
    UpdateHintControl();
    return true;
}

void TApplication::HandleMessage() {
    if (ProcessMessage())
        return;
    if (m_terminated)
        return;
    if (!platform::WaitMessage())
        throw std::logic_error("the message loop waits for input that can never come");
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::HandleException(std::exception_ptr error) {
    if (!error)
        return;
    auto report = [this](const std::exception& e, const std::string& message) {
        if (OnException)
            Fire(OnException, this, e);
        else
            ShowException(message);
    };
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        const EOutOfMemory e;
        report(e, e.Message());
    } catch (const std::exception& e) {
        report(e, e.what());
    } catch (...) {
        const Exception e("Unknown error");
        report(e, e.Message());
    }
}

void TApplication::ShowException(const std::string& message) {
    ShowMessageBox(ErrorBoxText(message), m_title, MsgDlgType::Error);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ShowMessageBoxFlags(text, caption, flags);
}

void TApplication::ReleaseLater(TComponent* component) {
    if (!component)
        return;
    if (std::find(m_releasing.begin(), m_releasing.end(), component) != m_releasing.end())
        return;
    m_releasing.push_back(component);
    FreeNotification(component);
}

void TApplication::FreeReleased() {
    while (!m_releasing.empty()) {
        TComponent* c = m_releasing.back();
        m_releasing.pop_back();
        RemoveFreeNotification(c);
        Free(c);
    }
}

void TApplication::SetShowHint(bool on) {
    m_showHint = on;
    if (!on) {
        CancelHint();
        SetHintControl(nullptr);
    }
}

const THintWindow* TApplication::ShownHint() const {
    return m_hintWindow && m_hintWindow->Showing() ? m_hintWindow.get() : nullptr;
}

void TApplication::CancelHint() {
    if (m_hintTimer)
        m_hintTimer->SetEnabled(false);
    if (m_hintWindow)
        m_hintWindow->ReleaseHandle();
}

void TApplication::SetHintControl(TControl* control) {
    if (control == m_hintControl)
        return;
    if (m_hintControl)
        m_hintControl->RemoveFreeNotification(this);
    m_hintControl = control;
    if (m_hintControl)
        m_hintControl->FreeNotification(this);
}

// Runs after every message: the mouse may have moved onto another control.
void TApplication::UpdateHintControl() {
    TControl* under = MouseControl();
    if (under == m_hintControl || IsDestroying())
        return;
    CancelHint();
    SetHintControl(under);
    if (!m_showHint || !WantsHint(under) || !platform::WindowSystem::Running())
        return;
    if (!m_hintTimer) {
        m_hintTimer = new TTimer(this);
        m_hintTimer->SetEnabled(false);
        m_hintTimer->SetOnTimer([this](TObject*) { HintTimerExpired(); });
    }
    m_hintTimer->SetInterval(static_cast<unsigned>(std::max(1, m_hintPause)));
    m_hintTimer->SetEnabled(true);
}

void TApplication::HintTimerExpired() {
    m_hintTimer->SetEnabled(false);
    if (!m_showHint || !WantsHint(m_hintControl) || MouseControl() != m_hintControl)
        return;
    platform::Point cursor;
    if (!platform::GetCursorPos(cursor))
        return;
    if (!m_hintWindow)
        m_hintWindow = std::make_unique<THintWindow>();
    const std::string hint = m_hintControl->Hint();
    platform::Rect rect =
        m_hintWindow->CalcHintRect(hint).Offset(cursor.x, cursor.y + kHintBelowCursor);
    // Never under the pointer: near the bottom of the screen it goes above it instead.
    if (rect.bottom > platform::GetWorkArea().bottom)
        rect = rect.Offset(0, -kHintBelowCursor - rect.Height());
    m_hintWindow->ActivateHint(rect, hint);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == m_hintControl) {
        m_hintControl = nullptr;
        CancelHint();
    }
    if (component == m_hintTimer)
        m_hintTimer = nullptr;
    m_releasing.erase(std::remove(m_releasing.begin(), m_releasing.end(), component),
                      m_releasing.end());
    if (component == m_mainForm)
        m_mainForm = nullptr;
}

int TApplication::HookMainWindow(TWindowHook hook) {
    m_mainWindowHooks.emplace_back(++m_lastHookId, std::move(hook));
    return m_lastHookId;
}

void TApplication::UnhookMainWindow(int id) {
    std::erase_if(m_mainWindowHooks, [id](const auto& entry) { return entry.first == id; });
}

bool TApplication::MainWindowHooked(TMessage& message) {
    if (m_mainWindowHooks.empty())
        return false;
    // A hook may unhook itself or others while it runs: walk a copy and skip the departed.
    const auto hooks = m_mainWindowHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        const int id = it->first;
        if (std::none_of(m_mainWindowHooks.begin(), m_mainWindowHooks.end(),
                         [id](const auto& entry) { return entry.first == id; }))
            continue;
        if (it->second(message))
            return true;
    }
    return false;
}

} // namespace toolkit
