#pragma once
// Controls: the visual components. TControl is the common part of every control, windowed or
// not: parent, bounds, alignment, visibility, enabled state, colour and font with inheritance
// from the parent, caption, hint, mouse events, and the message path.
//
// Message path: every control has a WndProc(TMessage&), reached through WindowProc (which a
// skin or adapter may replace, keeping the old one to call on). Perform(msg, w, l) sends a
// message straight to WindowProc, so toolkit notifications (CM_*) and the skin library's
// command message (41216) reach graphic controls exactly as they reach windowed ones. A
// windowed control's platform window procedure leads into the same WindowProc (TWinControl.h).
//
// Coordinates: Left/Top are in the parent's client coordinates (screen coordinates for a form);
// ClientRect is the control's own client area (left and top 0). Sizes below 0 become 0.
//
// Inheritance: with ParentColor / ParentFont set (the default for controls) the control takes
// its parent's Color / Font whenever it gets a parent or the parent's changes
// (CM_PARENTCOLORCHANGED / CM_PARENTFONTCHANGED); setting Color or changing Font clears the
// flag. Changes are announced to the control itself: CM_COLORCHANGED, CM_FONTCHANGED,
// CM_TEXTCHANGED, CM_VISIBLECHANGED, CM_ENABLEDCHANGED.
//
// Mouse enter and leave: the control under the mouse gets CM_MOUSEENTER / CM_MOUSELEAVE with
// LParam 0, then passes them to its parent with LParam naming itself (so a container hears
// about its children too).
//
// Lifetime: a handler may delete the control that raised its event; the control notices (its
// life token expires) and touches nothing afterwards.

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Geometry.h"
#include "toolkit/Colors.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TComponent.h"
#include "toolkit/TControlCanvas.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TSet.h"

namespace toolkit {

class TWinControl;
class TCustomForm;
class TControlCanvas;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum class TControlStyleItem {
    csAcceptsControls, // may be the parent of other controls
    csCaptureMouse,    // takes the mouse while a button is held on it
    csClickEvents,     // a press and release inside makes a click
    csSetCaption,      // the name is the caption until a caption is set
    csOpaque,          // paints all of its area
    csDoubleClicks,    // a double click is a click too
    csParentBackground // lets the parent's background show (skinned containers ask)
};
using TControlStyle = TSet<TControlStyleItem>;
using enum TControlStyleItem;

enum class TControlStateItem {
    csLButtonDown,
    csClicked,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csDestroyingHandle
};
using TControlState = TSet<TControlStateItem>;
using enum TControlStateItem;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
using enum TShiftStateItem;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TWndMethod = std::function<void(TMessage&)>;

// The shift state of a mouse message's key flags, or of the keyboard now.
TShiftState ShiftStateFromMouse(WPARAM keys);
TShiftState CurrentShiftState();

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    std::string ClassName() const override { return "TControl"; }

    // ---- messages ----
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    const TWndMethod& WindowProc() const { return m_windowProc; }
    void SetWindowProc(TWndMethod proc);
    // The control's own handling; overrides handle what they know and pass the rest on.
    virtual void WndProc(TMessage& message);
    // Unhandled messages end here: nothing for a graphic control, the window's default
    // procedure for a windowed one.
    virtual void DefaultHandler(TMessage& message);

    // ---- parent and geometry ----
    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    // A control's nearest form (through parents), or nullptr.
    TCustomForm* ParentForm() const;

    std::int32_t Left() const { return m_left; }
    std::int32_t Top() const { return m_top; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    void SetLeft(std::int32_t v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(std::int32_t v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(std::int32_t v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(std::int32_t v) { SetBounds(m_left, m_top, m_width, v); }
    virtual void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height);
    platform::Rect BoundsRect() const {
        return platform::Rect::FromSize(m_left, m_top, m_width, m_height);
    }
    void SetBoundsRect(const platform::Rect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
    virtual platform::Rect ClientRect() const;
    std::int32_t ClientWidth() const { return ClientRect().Width(); }
    std::int32_t ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(std::int32_t v) { SetClientSize(v, ClientHeight()); }
    void SetClientHeight(std::int32_t v) { SetClientSize(ClientWidth(), v); }
    virtual void SetClientSize(std::int32_t width, std::int32_t height);
    // The client area's top left corner in screen coordinates.
    virtual platform::Point ClientOrigin() const;
    platform::Point ClientToScreen(platform::Point p) const;
    platform::Point ScreenToClient(platform::Point p) const;

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);

    // ---- state ----
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to a form showing too.
    virtual bool Showing() const;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool on);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool on);

    // Caption and Text are the same string (UTF-8).
    virtual std::string Text() const { return m_text; }
    void SetText(const std::string& text);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool on);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool on);

    TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle style) { m_controlStyle = style; }
    TControlState ControlState() const { return m_controlState; }

    void SetName(const std::string& name) override;

    // ---- painting ----
    virtual void Invalidate();
    // Marks the control's rectangle on its parent for repainting, erasing the parent's
    // background there first when asked.
    void InvalidateOnParent(bool erase);
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // ---- mouse ----
    // Holding the mouse: a windowed control captures it itself, a graphic control through its
    // parent's window (the parent then routes every mouse message to it).
    bool MouseCapture() const;
    void SetMouseCapture(bool on);

    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    // Expires when the control is destroyed (for code that runs handlers).
    std::weak_ptr<const bool> LifeToken() const { return m_life; }

    void Loaded() override;
    void BeforeDestruction() override;

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Resize();
    // Tells the parent to lay its aligned children out again (nothing for alNone).
    void RequestAlign();
    virtual bool IsWindowed() const { return false; }
    // Puts a new caption where the control shows it (a windowed control: its window text).
    virtual void ApplyText() {}

    TControlState& MutableControlState() { return m_controlState; }
    // Sets the colour without giving up ParentColor (inheritance uses this).
    void ChangeColor(TColor color);

    // The window control handles the message itself; the rest go on to DefaultHandler.
    void HandleMouseMessage(TMessage& message);

    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;

private:
    friend class TWinControl;

    TWinControl* m_parent = nullptr;
    TAlign m_align = TAlign::alNone;
    bool m_visible = true;
    bool m_enabled = true;
    TColor m_color = clWindow;
    bool m_parentColor = true;
    TFont m_font;
    bool m_parentFont = true;
    bool m_changingFont = false;
    std::string m_text;
    std::string m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    TControlStyle m_controlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState m_controlState;
    TWndMethod m_windowProc;
    std::shared_ptr<const bool> m_life = std::make_shared<const bool>(true);
};

// A control without a window of its own: it is painted on its parent's canvas, in z-order after
// the parent itself, and gets the mouse messages the parent routes to it. During WM_PAINT (whose
// WParam is the parent's device context, origin moved to the control and clip narrowed to it)
// its Canvas draws on that context and Paint runs.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    std::string ClassName() const override { return "TGraphicControl"; }
    TControlCanvas& Canvas() { return *m_canvas; }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

// Paints a graphic control into dc at the control's position (the caller's dc has the parent's
// client coordinates); the context's state is put back afterwards.
void PaintGraphicControl(TControl& control, platform::DeviceContext& dc);

// The control under the mouse as the toolkit last saw it (for tests and hint code).
TControl* MouseControl();
// Makes control the one under the mouse, sending CM_MOUSELEAVE / CM_MOUSEENTER as needed.
void SetMouseControl(TControl* control);

} // namespace toolkit
