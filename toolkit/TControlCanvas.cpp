#include "toolkit/TControlCanvas.h"

#include <algorithm>

#include "platform/win/WindowSystem.h"
#include "toolkit/TControl.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

// Canvases holding a context they took themselves.
std::vector<TControlCanvas*>& Holders() {
    static std::vector<TControlCanvas*> holders;
    return holders;
}

} // namespace

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::CreateHandle() {
    TWinControl* window = nullptr;
    platform::Point offset;
    if (auto* win = dynamic_cast<TWinControl*>(&m_control)) {
        window = win;
    } else if (m_control.Parent()) {
        window = m_control.Parent();
        offset = {m_control.Left(), m_control.Top()};
    }
    if (!window)
        return;
    const platform::HWND h = window->Handle();
    platform::HDC dc = platform::GetDC(h);
    if (!dc)
        return;
    if (window != &m_control) {
        platform::OffsetViewportOrgEx(*dc, offset.x, offset.y);
        platform::IntersectClipRect(*dc, {0, 0, m_control.Width(), m_control.Height()});
    }
    m_dcWindow = h;
    m_ownDc = dc;
    SetHandle(dc);
    Holders().push_back(this);
}

void TControlCanvas::FreeHandle() {
    if (!m_ownDc)
        return;
    auto& holders = Holders();
    holders.erase(std::remove(holders.begin(), holders.end(), this), holders.end());
    // After the window system is gone its contexts are gone with it.
    if (platform::WindowSystem::Running())
        platform::ReleaseDC(m_dcWindow, m_ownDc);
    m_ownDc = nullptr;
    m_dcWindow = {};
    SetHandle(nullptr);
}

void TControlCanvas::FreeDeviceContexts() {
    while (!Holders().empty())
        Holders().back()->FreeHandle();
}

} // namespace toolkit
