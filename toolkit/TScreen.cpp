#include "toolkit/TScreen.h"

#include <algorithm>

#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Exceptions.h"

namespace toolkit {

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

int TScreen::Width() const {
    return platform::WindowSystem::Running() ? platform::GetSystemMetrics(platform::SM_CXSCREEN)
                                             : 0;
}

int TScreen::Height() const {
    return platform::WindowSystem::Running() ? platform::GetSystemMetrics(platform::SM_CYSCREEN)
                                             : 0;
}

platform::Rect TScreen::WorkAreaRect() const {
    return platform::WindowSystem::Running() ? platform::GetWorkArea() : platform::Rect{};
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError::IndexOutOfBounds(index);
    return m_forms[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(m_forms.begin(), m_forms.end(), form) == m_forms.end())
        m_forms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    m_forms.erase(std::remove(m_forms.begin(), m_forms.end(), form), m_forms.end());
    if (m_activeForm == form)
        m_activeForm = nullptr;
}

} // namespace toolkit
