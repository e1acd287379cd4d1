#pragma once
// Window adapters: objects that take over a standard window's procedure (subclassing by
// handle) so that the skin paints what the window would otherwise draw in the classic look.
// TacMainWnd is the base of the family; it answers the library's commands for the window and
// keeps the skin manager's hot control up to date.
//
// Ownership: whoever makes an adapter owns it (a skinned control keeps its own adapter). The
// adapter subclasses at construction and gives the window its previous procedure back when it
// is detached: by Detach, by command 2 (skin removed) or when the window is destroyed; a
// detached adapter only waits to be freed. The window may be subclassed again by someone else
// after us: our procedure then stays in that chain and, once we are detached or freed, simply
// passes every message on.
//
// Hot tracking: the mouse moving over an enabled window whose control knows nothing of the skin
// makes that control the skin manager's hot control; the mouse leaving it, or the adapter
// letting go, takes that off again. The manager's commands 29 (hot) and 30 (no longer hot)
// reach the adapter through the window, and HotChanged shows the change.
//
// Skin state: an adapter paints with the skin state it is given (a skinned control's own; it
// must outlive the adapter) or, when none is given, with one of its own whose section is the
// name passed at creation. Library commands that arrive at the window are answered by the
// adapter where it has something to do (7: skinned; 2: detach; 1, 3, 6: refresh) and otherwise
// handed to that skin state: to an own one directly, to a borrowed one through the control's
// procedure (which passes them to its state).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win/WinDefs.h"

namespace skin {
class TsCommonData;
class TsSkinManager;
} // namespace skin
namespace toolkit {
class TWinControl;
}

namespace skinned {

class TacMainWnd {
public:
    // manager: none means the default manager at the time of each use.
    TacMainWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
               const std::string& section);
    virtual ~TacMainWnd();
    TacMainWnd(const TacMainWnd&) = delete;
    TacMainWnd& operator=(const TacMainWnd&) = delete;

    // The window while attached; none after detaching.
    platform::HWND Handle() const { return m_handle; }
    bool Attached() const { return static_cast<bool>(m_handle); }
    skin::TsCommonData& SkinData() { return *m_data; }
    const skin::TsCommonData& SkinData() const { return *m_data; }
    bool OwnsSkinData() const { return m_ownData != nullptr; }
    skin::TsSkinManager* Manager() const;
    // True while the adapter is letting go of its window.
    bool Destroying() const { return m_destroying; }

    // Restores the window's previous procedure and whatever else the adapter changed.
    void Detach();
    // Whether the window's control is the manager's hot control (the mouse is over it).
    bool Hot() const;

    // Called after a child window has been made inside the window (a grid's in-place editor,
    // say), once the window's own procedure has heard of it.
    std::function<void()> OnChildCreated;

protected:
    // Every message to the window passes here first.
    virtual platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l);
    platform::LRESULT CallPrevious(platform::UINT msg, platform::WPARAM w, platform::LPARAM l);
    // Called by Detach while the window still has the adapter's procedure.
    virtual void Detaching() {}
    // The window became hot or stopped being hot (commands 29 and 30).
    virtual void HotChanged() {}
    // Repaints the window's frame (and client, with all children when asked).
    void RedrawAll(bool children);
    // Expires when the adapter goes: code that sends messages checks it afterwards.
    std::weak_ptr<const bool> AliveToken() const { return m_alive; }

private:
    struct Link; // what our installed procedure holds: survives the adapter
    platform::LRESULT HandleCommand(platform::WPARAM w, platform::LPARAM l);
    // Hot tracking applies to a control without a skin state of its own.
    toolkit::TWinControl* TrackedControl() const;
    void MouseMoved();
    void MouseLeft();

    platform::HWND m_handle;
    std::shared_ptr<Link> m_link;
    platform::WNDPROC m_ownProc;
    std::unique_ptr<skin::TsCommonData> m_ownData;
    skin::TsCommonData* m_data = nullptr;
    skin::TsSkinManager* m_manager = nullptr;
    bool m_destroying = false;
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

} // namespace skinned
