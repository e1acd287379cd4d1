#pragma once
// Windowed controls. A TWinControl has a platform window, made when first needed (Handle(),
// HandleNeeded, or when its parent's window is made) from CreateParams: class name (the
// toolkit class name by default, registered on first use), style and extended style. Its
// children (Controls: windowed and graphic, in z-order, the first at the bottom) get their
// windows with it.
//
// Window procedure: the window's procedure is a bound procedure of the control leading into
// WindowProc → WndProc; unhandled messages go to the window's default procedure. A skin adapter
// may subclass the window at platform level (SetWindowProc, then CallWindowProc on the old
// procedure): messages then pass through it first and still reach WndProc. Exceptions thrown
// while a message is handled are caught at this edge and shown by the application's error box
// (HandleException), so the platform's loops never see them; without an application they pass
// on to the caller.
//
// Layout: aligned children are placed inside ClientRect narrowed by AdjustClientRect (the
// border width and the bevels), in the classic order top, bottom, left, right, client; within
// one kind by position (top: smaller Top first; bottom: larger bottom edge first; left: smaller
// Left first; right: larger right edge first), equal positions in list order. Every alClient
// child gets the whole rest. Layout runs whenever the client size, an aligned child's size,
// alignment or visibility changes.
//
// Painting: WM_ERASEBKGND fills with Color (unless clNone); WM_PAINT runs PaintWindow, then
// paints the graphic children in z-order. WParam of WM_PAINT may carry a context to paint into
// instead of the window's own (the skin engine paints children into its cache this way).
//
// Keyboard: Tab, Shift+Tab, Enter and Esc that the focused control does not want (WM_GETDLGCODE,
// CM_WANTSPECIALKEY) go to the form as CM_DIALOGKEY: the form moves the focus on Tab, and the
// default and cancel buttons answer Enter and Esc (TButtonControl).

#include <optional>
#include <string>
#include <vector>

#include "platform/win/Paint.h"
#include "platform/win/WinDefs.h"
#include "toolkit/TControl.h"

namespace toolkit {

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4,
                  DLGC_WANTMESSAGE = 0x4, DLGC_HASSETSEL = 0x8, DLGC_DEFPUSHBUTTON = 0x10,
                  DLGC_UNDEFPUSHBUTTON = 0x20, DLGC_WANTCHARS = 0x80, DLGC_BUTTON = 0x2000;

struct TCreateParams {
    std::string Caption;
    platform::DWORD Style = 0;
    platform::DWORD ExStyle = 0;
    std::int32_t X = 0, Y = 0, Width = 0, Height = 0;
    std::string WinClassName;
    platform::UINT ClassStyle = 0;
    platform::Cursor ClassCursor = platform::Cursor::Arrow;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

using TKeyEvent = std::function<void(TObject* sender, platform::WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    std::string ClassName() const override { return "TWinControl"; }

    // ---- the window ----
    // Makes the window (and its parents' windows) when needed. A control that has no parent
    // and is not a form raises EInvalidOperation "Control '%s' has no parent window".
    platform::HWND Handle();
    platform::HWND HandleIfAllocated() const { return m_handle; }
    bool HandleAllocated() const { return static_cast<bool>(m_handle); }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    void RecreateWnd();

    // ---- children ----
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int index) const;
    const std::vector<TControl*>& ControlList() const { return m_controls; }
    bool ContainsControl(const TControl* control) const;
    // The topmost visible child at a client point (enabled ones only unless allowDisabled;
    // graphic ones only unless allowWinControls).
    TControl* ControlAtPos(platform::Point p, bool allowDisabled,
                           bool allowWinControls = false) const;
    // Sends the message to every child until one answers (Result != 0).
    void Broadcast(TMessage& message);
    // Sends msg to every child that inherits from this control (Parent* true).
    void NotifyControls(UINT msg);

    // ---- layout ----
    platform::Rect ClientRect() const override;
    platform::Point ClientOrigin() const override;
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                   std::int32_t height) override;
    void Realign();
    void DisableAlign() { ++m_alignLevel; }
    void EnableAlign();
    // The client rectangle the aligned children share.
    platform::Rect AlignRect() const;

    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut cut);

    // ---- focus and tab order ----
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool on);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // Windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) descendant after current that can take the focus, wrapping round;
    // checkTabStop skips those without TabStop. nullptr when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // ---- painting ----
    void Invalidate() override;
    void Update() override;
    // Paints the graphic children (from first on, z-order) into dc, which has this control's
    // client coordinates.
    void PaintControls(platform::DeviceContext& dc, TControl* first);

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void Loaded() override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateHandle();
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // The window a top-level control is owned by (forms: the main form); none by default.
    virtual platform::HWND ParentWindowHandle() const { return {}; }
    bool IsWindowed() const override { return true; }
    void ApplyText() override;

    virtual void AlignControls(TControl* control, platform::Rect& rect);
    virtual void AdjustClientRect(platform::Rect& rect) const;
    // What the window needs besides the children (a TCustomControl runs Paint).
    virtual void PaintWindow(platform::DeviceContext& dc);
    void PaintHandler(TMessage& message);

    // Key handling; return true when the key was used up.
    virtual bool DoKeyDown(platform::WORD& key, TShiftState shift);
    virtual bool DoKeyUp(platform::WORD& key, TShiftState shift);
    virtual bool DoKeyPress(char32_t& key);
    // Whether the focused control takes this key itself instead of the dialog.
    bool WantsKey(platform::WORD key);

    void UpdateBounds();

private:
    friend class TControl;
    friend platform::LRESULT InitWndProc(platform::HWND, platform::UINT, platform::WPARAM,
                                         platform::LPARAM);

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void Attach(platform::HWND h);
    platform::LRESULT MainWndProc(platform::HWND h, platform::UINT msg, platform::WPARAM w,
                                  platform::LPARAM l);
    void UpdateShowing();
    void CreateChildHandles();

    platform::HWND m_handle;
    bool m_inDestructor = false;
    platform::WNDPROC m_objectProc;
    platform::WNDPROC m_defWndProc;
    std::vector<TControl*> m_controls;
    std::vector<TWinControl*> m_tabList;
    bool m_tabStop = false;
    int m_alignLevel = 0;
    int m_borderWidth = 0;
    int m_bevelWidth = 1;
    TBevelCut m_bevelInner = TBevelCut::bvNone;
    TBevelCut m_bevelOuter = TBevelCut::bvNone;
};

// A windowed control that draws itself: Paint runs on Canvas during WM_PAINT.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    std::string ClassName() const override { return "TCustomControl"; }
    TControlCanvas& Canvas() { return *m_canvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(platform::DeviceContext& dc) override;

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

// The toolkit control behind a window made by the toolkit, or nullptr.
TWinControl* FindControl(platform::HWND h);

} // namespace toolkit
