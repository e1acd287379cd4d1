#pragma once
// Forms: top-level windows holding controls.
//
// Geometry: Left/Top/Width/Height are the outer window in screen coordinates; ClientWidth and
// ClientHeight the client area inside the frame that BorderStyle and BorderIcons give (known
// before the window exists). A new form is hidden; Show makes it visible and active, placing it
// first by Position (poScreenCenter / poDesktopCenter: centred on the screen, poMainFormCenter:
// on the main form, poDesigned: where Left/Top say).
//
// Closing: Close asks OnCloseQuery, then OnClose with the action caHide (the main form: closing
// it ends the application); caNone keeps the form, caFree releases it (deleted by the next
// message loop turn), caMinimize minimises it. The window's close box and Alt+F4 call Close.
//
// Modal use: ShowModal shows the form, disables every other visible top-level window of the
// program (its owner among them) and runs the message loop until ModalResult is non-zero (a
// button with a ModalResult, or Close, which sets mrCancel), then hides the form, enables the
// windows again, gives the activation back and answers ModalResult. Showing a form that is
// already visible (or disabled) modally raises EInvalidOperation "Cannot make a visible window
// modal".
//
// Keys: with KeyPreview the form sees every key of its controls first (OnKeyDown, OnKeyUp,
// OnKeyPress). Tab and Shift+Tab move the focus through the controls in tab order; Enter and Esc
// go to the default and cancel buttons (TButtonControl) as CM_DIALOGKEY. Alt+letter
// (WM_SYSCHAR, whichever control has the focus) reaches the form's controls as CM_DIALOGCHAR, so
// it clicks the button or focuses the label's control whose caption marks that letter with "&".
//
// OnCreate runs from AfterConstruction (TApplication::CreateForm calls it; a form made
// otherwise calls it after construction); OnDestroy runs from BeforeDestruction (Free).
//
// TransparentColor with TransparentColorValue makes every pixel of exactly that colour
// see-through: the window gets WS_EX_LAYERED with that colour key (SetLayeredWindowAttributes,
// LWA_COLORKEY), before or after the window is made.

#include <functional>
#include <optional>

#include "toolkit/TWinControl.h"

namespace toolkit {

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
using enum TBorderIcon;
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
using enum TPosition;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    std::string ClassName() const override { return "TCustomForm"; }

    // Runs OnCreate; call once, right after construction (CreateForm does).
    virtual void AfterConstruction();
    void BeforeDestruction() override;

    void Close();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    bool Modal() const { return m_modal; }
    // Frees the form once the messages now queued are handled (safe from its own handlers).
    void Release();
    virtual bool CloseQuery();
    bool Active() const;

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { m_position = position; }
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool on) { m_keyPreview = on; }

    bool TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(bool on);
    TColor TransparentColorValue() const { return m_transparentColorValue; }
    void SetTransparentColorValue(TColor color);
    // The colour the presentation should key out, if any (RGB).
    std::optional<platform::Color> LayeredColorKey() const;

    // ---- focus ----
    TWinControl* ActiveControl() const { return m_activeControl; }
    // EInvalidOperation "Cannot focus a disabled or invisible window" for a control of another
    // form or one that cannot take the focus (unless loading).
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // Called when a control of the form gets the focus.
    void SetFocusedControl(TWinControl* control);
    // Forgets control (and its children) as the active or focused control.
    void DefocusControl(TControl* control, bool removing);
    bool CanFocus() const override;
    void SetFocus() override;

    void WndProc(TMessage& message) override;

    // Key preview handlers (TWinControl calls them on the form first).
    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyUp(platform::WORD& key, TShiftState shift) override;
    bool DoKeyPress(char32_t& key) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    platform::HWND ParentWindowHandle() const override;
    virtual void DoClose(TCloseAction& action);
    void PlaceByPosition();

private:
    void ShowingChanged();
    void ApplyColorKey();

    TModalResult m_modalResult = mrNone;
    bool m_modal = false;
    bool m_created = false;
    bool m_destroyed = false;
    bool m_placed = false;
    TFormBorderStyle m_borderStyle = bsSizeable;
    TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition m_position = poDesigned;
    bool m_keyPreview = false;
    bool m_transparentColor = false;
    TColor m_transparentColorValue = clBlack;
    TWinControl* m_activeControl = nullptr;
    TWinControl* m_focusedControl = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    std::string ClassName() const override { return "TForm"; }
};

} // namespace toolkit
