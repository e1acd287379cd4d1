#include "toolkit/TApplication.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/win/Message.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TForm.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

TApplication* g_application = nullptr;

std::string ProgramTitle() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.stem().string();
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
    try {
        if (!IsKeyMsg(msg)) {
            platform::TranslateMessage(msg);
            platform::DispatchMessage(msg);
        }
    } catch (...) {
        HandleException(std::current_exception());
    }
    FreeReleased();
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

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    m_releasing.erase(std::remove(m_releasing.begin(), m_releasing.end(), component),
                      m_releasing.end());
    if (component == m_mainForm)
        m_mainForm = nullptr;
}

} // namespace toolkit
