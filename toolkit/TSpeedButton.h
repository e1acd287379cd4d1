#pragma once
// The speed button: a windowless tool button with a glyph and a caption, plain classic look.
//
// Clicks: a left press shows it pressed while the mouse is held over it; releasing over it
// clicks, releasing elsewhere does not. It never takes the focus; the caption's accelerator
// (CM_DIALOGCHAR) clicks it too.
//
// Groups: buttons of one parent with the same non-zero GroupIndex are a group; at most one of
// them is Down, and making one Down puts the others up (CM_BUTTONPRESSED, WParam the group,
// LParam the button). Clicking an up button of a group makes it Down; clicking the Down one
// puts it up only with AllowAllUp (shared by the whole group). Without a group Down stays
// false, except for the tbsCheck style, which toggles Down on every click.
//
// Flat: no frame until the mouse is over the button (CM_MOUSEENTER / CM_MOUSELEAVE) or it is
// down.
//
// Drop-down (ButtonStyle tbsDropDown): the rightmost kDropDownWidth pixels show an arrow. A left
// press with x > Width() - kDropDownWidth, or anywhere when OnClick is not assigned, raises
// OnDropDownClick instead of clicking (when that handler is assigned and no other drop-down is
// running); the arrow zone (the whole button without OnClick) shows pressed until the handler
// returns, which for a popup menu is when the menu closes. Without OnDropDownClick, a
// DropdownMenu (free-notified) is popped up instead, its top left corner at the button's bottom
// left one (screen coordinates), with the button as its PopupComponent. Setting the style to
// tbsDropDown widens the button by kDropDownWidth, leaving it narrows it again (not while loading).
// tbsSeparator and tbsDivider are inert gaps (the divider draws an etched line).
//
// Glyph, NumGlyphs (up, disabled, down, exclusive), Images and ImageIndex, Layout, Margin and
// Spacing are those of TButtonGlyph and CalcButtonLayout (defaults glyph left, -1, 4), placed in
// ContentRect and shifted by one pixel while pressed or down.
//
// Behaviour and painting are apart: State, MouseInControl and MenuOpen are what a skinned button
// paints from; the plain look is PaintFrame, PaintContent and PaintDropDown on Canvas.

#include "toolkit/TButtonGlyph.h"
#include "toolkit/TControl.h"

namespace toolkit {

class TImageList;
class TPopupMenu;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
using enum TToolButtonStyle;

class TSpeedButton : public TGraphicControl {
public:
    static constexpr int kDropDownWidth = 16;

    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    std::string ClassName() const override { return "TSpeedButton"; }

    // ---- picture ----
    TBitmap& Glyph() { return m_glyph.Bitmap(); }
    void SetGlyph(const TBitmap& bitmap, TColor transparent = clDefault);
    void SetGlyphPixels(int width, int height, std::span<const std::uint8_t> bgr,
                        platform::Color transparent = kImageListMask);
    TButtonGlyph& GlyphData() { return m_glyph; }
    const TButtonGlyph& GlyphData() const { return m_glyph; }
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int count) { m_glyph.SetNumGlyphs(count); }
    TImageList* Images() const { return m_glyph.Images(); }
    void SetImages(TImageList* images);
    int ImageIndex() const { return m_glyph.ImageIndex(); }
    void SetImageIndex(int index) { m_glyph.SetImageIndex(index); }
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return m_margin; }
    void SetMargin(int margin);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);

    // ---- behaviour ----
    bool Flat() const { return m_flat; }
    void SetFlat(bool on);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index);
    bool Down() const { return m_down; }
    void SetDown(bool down);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool on);
    TToolButtonStyle ButtonStyle() const { return m_style; }
    virtual void SetButtonStyle(TToolButtonStyle style);
    TPopupMenu* DropdownMenu() const { return m_dropdownMenu; }
    void SetDropdownMenu(TPopupMenu* menu);

    // ---- state for painting ----
    // bsUp, bsDown (pressed by the mouse), bsExclusive (Down) or bsDisabled.
    TButtonState State() const;
    bool MouseInControl() const { return m_mouseInControl; }
    // A drop-down handler is running (its menu is open).
    bool MenuOpen() const { return m_menuOpen; }
    // Where glyph and caption go (the button without the drop-down zone) and the zone itself
    // (empty unless tbsDropDown).
    platform::Rect ContentRect() const;
    platform::Rect DropDownRect() const;
    bool InDropDownZone(int x) const;
    TButtonPlacement Placement() const;
    // Where the drop-down menu's top left corner goes, in client coordinates: the bottom left
    // corner.
    virtual platform::Point DropDownPoint() const { return {0, Height()}; }

    void WndProc(TMessage& message) override;

    TNotifyEvent OnDropDownClick;

protected:
    void Paint() override;
    virtual void PaintFrame(TCanvas& canvas, const platform::Rect& rect, TButtonState state);
    virtual void PaintContent(TCanvas& canvas, TButtonState state);
    virtual void PaintDropDown(TCanvas& canvas, const platform::Rect& zone);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Runs OnDropDownClick with the zone shown pressed.
    virtual void DropDown();

private:
    bool Inert() const { return m_style == tbsSeparator || m_style == tbsDivider; }
    bool Toggles() const { return m_groupIndex != 0 || m_style == tbsCheck; }
    bool HasDropDown() const { return OnDropDownClick || m_dropdownMenu; }
    void UpdateExclusive();

    TButtonGlyph m_glyph;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    bool m_flat = false;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    TToolButtonStyle m_style = tbsButton;
    bool m_pressed = false;  // shown pressed by the mouse
    bool m_dragging = false; // the left button went down on it and is held
    bool m_mouseInControl = false;
    bool m_menuOpen = false;
    TPopupMenu* m_dropdownMenu = nullptr;
};

} // namespace toolkit
