#pragma once
// The push button, plain classic look.
//
// Mouse: a left press takes the focus and the mouse; the button looks pressed while the mouse
// is held and over it, and clicks when the mouse is released over it (released elsewhere: no
// click). Losing the mouse to another window cancels the press.
// Keyboard: Space pressed looks pressed and clicks when it comes up (focus lost meanwhile: no
// click). Enter and Esc reach the Default and Cancel buttons through the form (TButtonControl);
// the caption's accelerator character, arriving as CM_DIALOGCHAR, clicks the button.
// Clicking sets the form's ModalResult from the button's ModalResult.
//
// Look: a raised face; a black frame around it while the button is the one Enter presses
// (Active) or has the focus; flat and shifted by one pixel while pressed; the dotted focus
// rectangle inside while focused; engraved caption while disabled.
//
// Behaviour and painting are apart: the state getters (Pressed, MouseInControl, Focused,
// Active) are what a skinned button paints from, and painting runs through the virtual pieces
// PaintFace, PaintContent and PaintFocus on Canvas.

#include <memory>

#include "toolkit/TButtonControl.h"
#include "toolkit/TControlCanvas.h"

namespace toolkit {

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    std::string ClassName() const override { return "TButton"; }
    TControlCanvas& Canvas() { return *m_canvas; }

    // Shown pressed: the mouse held on it and over it, or Space held.
    bool Pressed() const { return (m_mouseHeld && m_mouseInside) || m_spaceHeld; }
    // The left button went down on it and is still held (over it or not).
    bool MouseHeld() const { return m_mouseHeld; }
    bool MouseInControl() const { return m_mouseOver; }

    void WndProc(TMessage& message) override;

protected:
    void PaintWindow(platform::DeviceContext& dc) override;
    // The whole paint: face, content, focus.
    virtual void Paint();
    // Draws the frame and face into rect; answers the rectangle left for the content.
    virtual platform::Rect PaintFace(TCanvas& canvas, const platform::Rect& rect);
    // Draws caption (and whatever a descendant adds) into the content rectangle; pressed
    // content is already shifted.
    virtual void PaintContent(TCanvas& canvas, const platform::Rect& content);
    virtual void PaintFocus(TCanvas& canvas, const platform::Rect& rect);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    bool DoKeyDown(platform::WORD& key, TShiftState shift) override;
    bool DoKeyUp(platform::WORD& key, TShiftState shift) override;
    // Drops any press in progress (no click).
    void CancelPress();

private:
    std::unique_ptr<TControlCanvas> m_canvas;
    bool m_mouseHeld = false;
    bool m_mouseInside = false;
    bool m_spaceHeld = false;
    bool m_mouseOver = false;
};

} // namespace toolkit
