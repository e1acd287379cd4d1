#include "skinned/TacMainWnd.h"

#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {
// Leave the updating state and redraw with every child.
constexpr std::uint16_t kCmdRedrawAll = 6;
} // namespace

struct TacMainWnd::Link {
    TacMainWnd* adapter = nullptr;
    platform::WNDPROC previous;
};

TacMainWnd::TacMainWnd(platform::HWND window, skin::TsCommonData* data,
                       skin::TsSkinManager* manager, const std::string& section)
    : m_handle(window), m_data(data), m_manager(manager) {
    if (!m_data) {
        m_ownData = std::make_unique<skin::TsCommonData>(nullptr, true);
        m_data = m_ownData.get();
        if (manager)
            m_data->SetSkinManager(manager);
    }
    if (m_data->SkinSection().empty())
        m_data->SetSkinSection(section);
    if (m_ownData)
        m_data->UpdateIndexes();
    if (!platform::IsWindow(window)) {
        m_handle = {};
        return;
    }
    m_link = std::make_shared<Link>();
    m_link->adapter = this;
    std::shared_ptr<Link> link = m_link;
    m_ownProc =
        platform::WNDPROC::Bind([link](platform::HWND h, platform::UINT msg, platform::WPARAM w,
                                       platform::LPARAM l) -> platform::LRESULT {
            if (link->adapter)
                return link->adapter->WndProc(msg, w, l);
            return platform::CallWindowProc(link->previous, h, msg, w, l);
        });
    m_link->previous = platform::SetWindowProc(window, m_ownProc);
}

TacMainWnd::~TacMainWnd() {
    // Derived parts are gone by now: Detaching() has run in their destructors where needed.
    if (Attached()) {
        m_destroying = true;
        if (platform::GetWindowProc(m_handle) == m_ownProc)
            platform::SetWindowProc(m_handle, m_link->previous);
    }
    if (m_link)
        m_link->adapter = nullptr;
}

skin::TsSkinManager* TacMainWnd::Manager() const {
    return m_data->SkinManager();
}

void TacMainWnd::Detach() {
    if (!Attached() || m_destroying)
        return;
    m_destroying = true;
    Detaching();
    if (Hot())
        Manager()->ForgetHotControl();
    if (platform::IsWindow(m_handle) && platform::GetWindowProc(m_handle) == m_ownProc)
        platform::SetWindowProc(m_handle, m_link->previous);
    // Someone subclassed after us: our procedure stays in their chain as a pass-through.
    m_link->adapter = nullptr;
    m_handle = {};
    m_destroying = false;
}

platform::LRESULT TacMainWnd::CallPrevious(platform::UINT msg, platform::WPARAM w,
                                           platform::LPARAM l) {
    if (!m_link)
        return 0;
    // A copy: the call may detach us.
    const platform::WNDPROC previous = m_link->previous;
    const platform::HWND h = m_handle;
    return platform::CallWindowProc(previous, h, msg, w, l);
}

void TacMainWnd::RedrawAll(bool children) {
    if (!Attached())
        return;
    platform::UINT flags = platform::RDW_INVALIDATE | platform::RDW_FRAME;
    if (children)
        flags |= platform::RDW_ALLCHILDREN;
    platform::RedrawWindow(m_handle, nullptr, nullptr, flags);
}

toolkit::TWinControl* TacMainWnd::TrackedControl() const {
    if (!m_ownData || !Attached())
        return nullptr;
    toolkit::TWinControl* control = toolkit::FindControl(m_handle);
    return control && !control->IsDestroying() ? control : nullptr;
}

bool TacMainWnd::Hot() const {
    toolkit::TWinControl* control = TrackedControl();
    skin::TsSkinManager* manager = Manager();
    return control && manager && manager->HotControl() == control;
}

void TacMainWnd::MouseMoved() {
    toolkit::TWinControl* control = TrackedControl();
    skin::TsSkinManager* manager = Manager();
    if (!control || !manager || !platform::IsWindowEnabled(m_handle))
        return;
    platform::TRACKMOUSEEVENT tme;
    tme.dwFlags = platform::TME_LEAVE;
    tme.hwndTrack = m_handle;
    platform::TrackMouseEvent(tme);
    manager->SetHotControl(control);
}

void TacMainWnd::MouseLeft() {
    if (Hot())
        Manager()->SetHotControl(nullptr);
}

platform::LRESULT TacMainWnd::HandleCommand(platform::WPARAM w, platform::LPARAM l) {
    const std::uint16_t command = skin::CommandOf(w);
    switch (command) {
    case skin::kCmdAreYouSkinned:
        return 1;
    case skin::kCmdSkinRemoved: {
        const platform::HWND h = m_handle;
        const platform::WNDPROC previous = m_link->previous;
        Detach();
        return m_ownData
                   ? 0
                   : platform::CallWindowProc(previous, h, toolkit::kLibraryCommandMessage, w, l);
    }
    case skin::kCmdNewSkin:
    case skin::kCmdRefresh:
    case kCmdRedrawAll: {
        platform::LRESULT result = 0;
        if (m_ownData) {
            if (command != kCmdRedrawAll) {
                m_data->UpdateIndexes();
                m_data->SetBackgroundChanged(true);
            }
            m_data->SetUpdating(command == skin::kCmdNewSkin);
        } else {
            result = CallPrevious(toolkit::kLibraryCommandMessage, w, l);
        }
        if (command != skin::kCmdNewSkin)
            RedrawAll(command == kCmdRedrawAll);
        return result;
    }
    case skin::kCmdHotEnter:
    case skin::kCmdHotLeave:
        if (!m_ownData)
            break;
        HotChanged();
        return 0;
    default:
        break;
    }
    if (!m_ownData)
        return CallPrevious(toolkit::kLibraryCommandMessage, w, l);
    toolkit::TMessage message{toolkit::kLibraryCommandMessage, w, l, 0};
    m_data->WndProc(message);
    return message.Result;
}

platform::LRESULT TacMainWnd::WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    if (msg == toolkit::kLibraryCommandMessage)
        return HandleCommand(w, l);
    if (msg == platform::WM_NCDESTROY) {
        const std::weak_ptr<const bool> alive = AliveToken();
        const platform::LRESULT r = CallPrevious(msg, w, l);
        if (!alive.expired())
            Detach();
        return r;
    }
    const bool childCreated =
        msg == platform::WM_PARENTNOTIFY && (w & 0xFFFF) == platform::WM_CREATE;
    if (msg != platform::WM_MOUSEMOVE && msg != platform::WM_MOUSELEAVE && !childCreated)
        return CallPrevious(msg, w, l);
    const std::weak_ptr<const bool> alive = AliveToken();
    const platform::LRESULT r = CallPrevious(msg, w, l);
    if (alive.expired())
        return r;
    if (msg == platform::WM_MOUSEMOVE)
        MouseMoved();
    else if (msg == platform::WM_MOUSELEAVE)
        MouseLeft();
    else if (OnChildCreated) {
        // A copy: the handler may free this adapter.
        const std::function<void()> handler = OnChildCreated;
        handler();
    }
    return r;
}

} // namespace skinned
