#include "toolkit/TBusyCursor.h"

#include "platform/win/Input.h"
#include "platform/win/WindowSystem.h"

namespace toolkit {

TBusyCursor::TBusyCursor() {
    if (!platform::WindowSystem::Running())
        return;
    m_previous = platform::GetScreenCursor();
    platform::SetScreenCursor(platform::Cursor::Wait);
    m_shown = true;
}

TBusyCursor::~TBusyCursor() {
    if (m_shown && platform::WindowSystem::Running())
        platform::SetScreenCursor(m_previous);
}

} // namespace toolkit
