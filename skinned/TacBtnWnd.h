#pragma once
// Window adapters of standard push buttons (TacBtnWnd), bitmap buttons (TacBitBtnWnd) and plain
// panels (TacTransPanelWnd). They take over the window's painting while a skin is active and
// leave behaviour (press, click, keys) to the control.
//
// Button face, in the skin state's cache (button pixels), rebuilt when something it is made of
// changed: the parent's background under the button, the section ("BUTTON") for the state, the
// caption centred in the button's font in the section's colours (hot colours in states 1 and 2),
// moved one pixel right and down while pushed; a bitmap button adds its glyph where its Layout
// puts it (cell 0, or cell min(NumGlyphs, 4) − 1 while pushed, its top-left pixel's colour
// transparent). A focused enabled button with a caption gets the dotted focus frame when the
// section shows focus. A disabled button has its parent's background laid over the face at
// 0.4 (FadeCopyKeyed).
//
// State index: 2 while the button is pushed; else 0 when disabled; else 1 when it has the focus,
// is the manager's hot control (the mouse is over it) or is the one Enter presses; else 0.
// The mouse over an enabled button makes it the manager's hot control (the base adapter's hot
// tracking). Focus, enabling, text and button-state changes are left to the button with its
// window's redrawing switched off, and the face is then rebuilt once: the plain face never shows.
//
// A window without a button control behind it is left to its own painting.

#include <cstdint>
#include <optional>

#include "skinned/TacMainWnd.h"
#include "skinned/sButtonFace.h"

namespace toolkit {
class TBitmap;
class TButton;
class TWinControl;
} // namespace toolkit

namespace skinned {

class TacBtnWnd : public TacMainWnd {
public:
    TacBtnWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
              const std::string& section = "BUTTON");
    ~TacBtnWnd() override;

    // The state index the face is painted in now.
    std::int32_t CtlState() const;
    // Builds the face now when it is stale; answers the cache (none when not skinned).
    toolkit::TBitmap* Face();

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;
    void Detaching() override;
    void HotChanged() override;
    toolkit::TButton* Button() const;
    // Caption (and whatever the kind adds) on the face; pushed content is moved by the callee.
    virtual void PaintContent(toolkit::TBitmap& cache, toolkit::TButton& button,
                              std::int32_t state);
    // The caption's rectangle on the face before the pushed shift (for the focus frame).
    virtual platform::Rect CaptionRect(toolkit::TButton& button) const;
    // What the face is made of beyond the common parts.
    virtual void KeyExtra(TButtonFaceKey& key, toolkit::TButton& button) const;

private:
    bool SkinPainted() const;
    TButtonFaceKey FaceKey(toolkit::TButton& button) const;
    void BuildFace(toolkit::TButton& button, const TButtonFaceKey& key);
    void Paint(platform::WPARAM givenDC);
    void Changed();
    // The button handles the message with its window's redrawing off, then shows the new face.
    platform::LRESULT QuietlyChanged(platform::UINT msg, platform::WPARAM w, platform::LPARAM l);

    std::optional<TButtonFaceKey> m_builtFrom;
};

class TacBitBtnWnd : public TacBtnWnd {
public:
    using TacBtnWnd::TacBtnWnd;
    ~TacBitBtnWnd() override;

protected:
    void PaintContent(toolkit::TBitmap& cache, toolkit::TButton& button,
                      std::int32_t state) override;
    platform::Rect CaptionRect(toolkit::TButton& button) const override;
    void KeyExtra(TButtonFaceKey& key, toolkit::TButton& button) const override;
};

// A plain panel painted from the "PANEL" section over its parent's background; its graphic
// children paint over that as before.
class TacTransPanelWnd : public TacMainWnd {
public:
    TacTransPanelWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
                     const std::string& section = "PANEL");
    ~TacTransPanelWnd() override;

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;

private:
    bool Paint(platform::WPARAM givenDC);
};

} // namespace skinned
