#pragma once
// The hint window: a small top-level window (class "THintWindow") that shows a control's hint
// text, pale yellow (clInfoBk) with a black frame and the text in the interface font
// ("MS Sans Serif", height -11) in clInfoText. It never takes the activation or the mouse and
// stays above other windows. Screen coordinates throughout.
//
// The application shows it (TApplication, after the mouse has rested on a control with a hint);
// other code may use it on its own. Without a running window system nothing is shown.

#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"

namespace toolkit {

class THintWindow {
public:
    // Text wider than this wraps at word breaks.
    static constexpr int kMaxWidth = 300;

    THintWindow() = default;
    ~THintWindow();
    THintWindow(const THintWindow&) = delete;
    THintWindow& operator=(const THintWindow&) = delete;

    // The window size the text needs, placed at (0, 0).
    platform::Rect CalcHintRect(const std::string& hint) const;
    // Shows the text in rect (moved into the screen's work area when it pokes out).
    void ActivateHint(platform::Rect rect, const std::string& hint);
    void ReleaseHandle(); // hides and destroys the window
    bool Showing() const;
    platform::HWND Handle() const { return m_handle; }
    const std::string& Caption() const { return m_caption; }

private:
    void Paint(platform::HWND h);

    platform::HWND m_handle;
    std::string m_caption;
};

} // namespace toolkit
