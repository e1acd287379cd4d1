#pragma once
// TsSkinProvider: the skinned frame of one form. It takes over the form's WindowProc and paints
// the border, the caption bar (icon, text, caption buttons) and the client background from the
// skin's "FORM" and "FORMTITLE" sections, answers hit testing in place of the window system,
// handles the mouse on the frame, shows its own system menu (TsSystemMenu) and cuts the window's
// shape from the key-coloured corners of the frame pieces. When the skin leaves the frame plain
// (no skin applied, or a skin without a "FORM" section) the system draws the frame again, with
// its own icon and buttons, but the icon, a right click on the caption and Alt+Space still open
// TsSystemMenu: "Available skins" is there whatever the skin does.
//
// Geometry: everything the provider keeps (button rectangles, the cache) is in window
// coordinates: (0, 0) is the top-left pixel of the whole window, frame included. Frame metrics
// come from the window system's layout for the form's styles (FrameMetrics), so the client area
// the form gets is the one the system calculated.
//
// Ownership: the provider belongs to whoever made it (a TacProvider, see acDials.h, or a test);
// it must go before its form's controls do, which holds for a component the form owns. The form
// is a non-owning reference. Only one provider works per form: a second one made for a form that
// already has one stays inert (Inert() true) and touches nothing.
//
// Controls: while skinned, and when the manager's rules include srThirdParty, the provider's
// control adapter (TacCtrlAdapter) skins the form's standard controls; it walks the form again on
// every activation, so controls made later are taken too, and gives them back as it goes.
//
// Skin: the provider paints while its manager has a loaded skin with a "FORM" section; without
// one every message goes to the form as if the provider were not there, and no window region is
// set. Skin commands 1 to 3 rebuild the frame; command 5 hands the frame cache to the form's
// controls as their parent background (offset to the client origin); command 7 answers 1.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"
#include "skin/sSkinManager.h"
#include "skinned/TacCtrlAdapter.h"
#include "toolkit/TAlignment.h"
#include "toolkit/TComponent.h"
#include "toolkit/TControl.h"
#include "toolkit/TMenu.h"

namespace toolkit {
class TBitmap;
class TCustomForm;
} // namespace toolkit

namespace skin {
class TsCommonData;
}

namespace skinned {

class TsSkinProvider;

enum class TsGripMode { gmNone, gmRightBottom };
enum class TsResizeMode { rmStandard, rmBorder };

// Hit-test codes of the extra title buttons: kTitleButtonHit + the button's index.
inline constexpr platform::LRESULT kTitleButtonHit = 1000;

// One caption button as the frame keeps it: mask piece, state (0 normal, 1 hot, 2 pressed) and
// rectangle (window coordinates; empty while the button is not shown).
struct TsCaptionButton {
    std::int32_t MaskIndex = -1;
    std::int32_t State = 0;
    platform::Rect Rect;
    bool Shown() const { return !Rect.IsEmpty(); }
};

struct TsTitleIcon {
    std::shared_ptr<toolkit::TBitmap> Glyph; // magenta pixels are see-through
    std::int32_t Height = 0;
    std::int32_t Width = 0;
};

class TsTitleButton {
public:
    bool Enabled = true;
    std::shared_ptr<toolkit::TBitmap> Glyph;
    std::string Name;
    bool UseSkinData = true;
    std::function<void(TsTitleButton&)> OnMouseDown;
    std::function<void(TsTitleButton&)> OnMouseUp;
    TsCaptionButton Button;
};

// The frame's own system menu: Restore, Move, Size, Minimize, Maximize, a line and Close, each
// enabled by the form's border, icons and state and sending the matching system command; with
// MakeSkinMenu first the "Available skins" sub-menu (SkinSelectItem), listing what the manager
// can find, the current skin checked. The items are made again each time the menu opens.
class TsSystemMenu : public toolkit::TPopupMenu {
public:
    explicit TsSystemMenu(TsSkinProvider& provider);
    std::string ClassName() const override { return "TsSystemMenu"; }

    // Builds the items for the form's state now (Popup does it too).
    void MakeItems();
    toolkit::TMenuItem* SkinSelectItem() const { return m_skinSelectItem; }
    toolkit::TMenuItem* ItemRestore() const { return m_items[0]; }
    toolkit::TMenuItem* ItemMove() const { return m_items[1]; }
    toolkit::TMenuItem* ItemSize() const { return m_items[2]; }
    toolkit::TMenuItem* ItemMinimize() const { return m_items[3]; }
    toolkit::TMenuItem* ItemMaximize() const { return m_items[4]; }
    toolkit::TMenuItem* ItemClose() const { return m_items[5]; }
    // The skin chosen from the last popup, taken (and cleared) by the provider once the menu has
    // closed: changing skins frees menus, this one too.
    std::string TakeChosenSkin() { return std::exchange(m_chosenSkin, {}); }

private:
    TsSkinProvider& m_provider;
    toolkit::TMenuItem* m_skinSelectItem = nullptr;
    std::array<toolkit::TMenuItem*, 6> m_items{};
    std::string m_chosenSkin;
};

class TsSkinProvider : public toolkit::TComponent, public skin::TacFormSkinning {
public:
    // manager: none means the default manager at each use.
    explicit TsSkinProvider(toolkit::TCustomForm& form, skin::TsSkinManager* manager = nullptr);
    ~TsSkinProvider() override;

    std::string ClassName() const override { return "TsSkinProvider"; }

    // ---- published ----
    toolkit::TAlignment CaptionAlignment() const { return m_captionAlignment; }
    void SetCaptionAlignment(toolkit::TAlignment value);
    skin::TsCommonData& SkinData() { return *m_skinData; }
    TsGripMode GripMode() const { return m_gripMode; }
    void SetGripMode(TsGripMode value);
    bool MakeSkinMenu() const { return m_makeSkinMenu; }
    void SetMakeSkinMenu(bool value) { m_makeSkinMenu = value; }
    const std::string& MenuLineSkin() const { return m_menuLineSkin; }
    void SetMenuLineSkin(const std::string& value) { m_menuLineSkin = value; }
    TsResizeMode ResizeMode() const { return m_resizeMode; }
    void SetResizeMode(TsResizeMode value) { m_resizeMode = value; }
    bool ScreenSnap() const { return m_screenSnap; }
    void SetScreenSnap(bool value) { m_screenSnap = value; }
    std::int32_t SnapBuffer() const { return m_snapBuffer; }
    void SetSnapBuffer(std::int32_t value) { m_snapBuffer = value; }
    bool ShowAppIcon() const { return m_showAppIcon; }
    void SetShowAppIcon(bool value);
    std::vector<std::unique_ptr<TsTitleButton>>& TitleButtons() { return m_titleButtons; }
    TsTitleIcon& TitleIcon() { return m_titleIcon; }
    const std::string& TitleSkin() const { return m_titleSkin; }
    void SetTitleSkin(const std::string& value);
    bool UseGlobalColor() const { return m_useGlobalColor; }
    void SetUseGlobalColor(bool value) { m_useGlobalColor = value; }
    // Asked by the control adapter for every control it would skin.
    TacSkinItemEvent OnSkinItem;

    // ---- state ----
    toolkit::TCustomForm& Form() override { return m_form; }
    skin::TsSkinManager* Manager() override;
    bool Inert() const { return m_inert; }
    // True while the frame is painted from the skin.
    bool Skinned() const;
    bool FrameActive() const { return m_active; }
    TsSystemMenu* SystemMenu() const { return m_systemMenu.get(); }
    // The control adapter of the form's standard controls: there while the skin is active and
    // the manager's rules include srThirdParty.
    TacCtrlAdapter* Adapter() const { return m_adapter.get(); }

    // Frame metrics of the form now (window system's layout for its styles).
    struct Metrics {
        std::int32_t BorderWidth = 0;
        std::int32_t BorderHeight = 0;
        std::int32_t CaptionHeight = 0;
        std::int32_t MenuHeight = 0;
    };
    Metrics FrameMetrics() const;

    // The system buttons in layout order from the right.
    enum ButtonKind { kClose = 0, kMax = 1, kMin = 2, kHelp = 3 };
    const TsCaptionButton& Button(ButtonKind kind) const { return m_buttons[kind]; }
    // Caption icon size (0 × 0 when no icon is shown) and the caption text's rectangle, window
    // coordinates, as the last layout left them.
    platform::Size IconSize() const { return m_iconSize; }
    platform::Rect CaptionTextRect() const { return m_textRect; }
    // The caption text as drawn in the last frame (with its ellipsis when cut).
    const std::string& DrawnCaption() const { return m_drawnCaption; }
    // The rectangles the window region leaves out (window coordinates), from the last time the
    // shape was made.
    const std::vector<platform::Rect>& CornerRects() const { return m_cornerRects; }

    // The system's answer replaced; screen coordinates.
    platform::LRESULT HitTest(platform::Point screen);

    // skin::TacFormSkinning
    void AnimateSkinChange(std::int32_t ms) override;
    void RebuildFrame() override;

    // Paints the frame from the cache into dc (window coordinates), rebuilding it first when it
    // is out of date; the client area is left alone.
    void PaintFrameTo(platform::DeviceContext& dc);
    // The whole frame cache made again now (benchmarks, tests).
    void RebuildCache();
    toolkit::TBitmap* Cache() const;

    // Opens the system menu at a screen point.
    void ShowSystemMenu(platform::Point screen);
    void SyncSystemMenuStyle();
    bool HandlePlain(toolkit::TMessage& m);

private:
    struct Link;
    struct Proc;
    void Start();
    void Stop();
    void WndProc(toolkit::TMessage& m);
    void CallPrevious(toolkit::TMessage& m);
    bool HandleSkinned(toolkit::TMessage& m);
    void HandleCommand(toolkit::TMessage& m);
    void UpdateAdapter();

    // Frame parts.
    void ReadButtonMasks();
    void LayoutButtons(std::int32_t width);
    void PaintCaption(toolkit::TBitmap& cache, std::int32_t width);
    void PaintButton(toolkit::TBitmap& cache, const TsCaptionButton& button);
    void PaintIcon(toolkit::TBitmap& cache, std::int32_t left, std::int32_t top);
    void RepaintButtons(const std::vector<platform::Rect>& areas);
    void UpdateShape();
    void PaintClient(toolkit::TMessage& m);
    platform::Size WindowSize() const;
    bool HasSystemMenu() const;
    bool MayMaximize() const;
    bool MayMinimize() const;
    bool Sizeable() const;

    // Mouse.
    void SetHotButton(platform::LRESULT hit);
    bool PressButton(platform::LRESULT hit);
    void ReleaseButton(platform::Point screen);
    TsCaptionButton* ButtonOfHit(platform::LRESULT hit);
    void PerformButton(platform::LRESULT hit);
    void SysCommand(platform::WPARAM command);
    platform::Point SystemMenuPoint() const;

    toolkit::TCustomForm& m_form;
    skin::TsSkinManager* m_manager;
    std::unique_ptr<skin::TsCommonData> m_skinData;
    std::shared_ptr<Link> m_link;
    bool m_inert = false;
    bool m_started = false;

    toolkit::TAlignment m_captionAlignment = toolkit::taLeftJustify;
    TsGripMode m_gripMode = TsGripMode::gmNone;
    bool m_makeSkinMenu = true;
    std::string m_menuLineSkin;
    TsResizeMode m_resizeMode = TsResizeMode::rmStandard;
    bool m_screenSnap = false;
    std::int32_t m_snapBuffer = 10;
    bool m_showAppIcon = true;
    std::vector<std::unique_ptr<TsTitleButton>> m_titleButtons;
    TsTitleIcon m_titleIcon;
    std::string m_titleSkin;
    bool m_useGlobalColor = true;

    bool m_active = false;
    bool m_changed = true;
    bool m_shapeStale = true;
    bool m_removedSysMenu = false;
    std::optional<toolkit::TColor> m_formColor; // the form's colour before the skin's
    std::array<TsCaptionButton, 4> m_buttons;
    platform::LRESULT m_pressed = 0; // the hit code of the button held down, 0 when none
    platform::Size m_iconSize;
    platform::Rect m_textRect;
    std::string m_drawnCaption;
    std::unique_ptr<toolkit::TBitmap> m_captionStrip; // the caption behind buttons and text
    std::vector<platform::Rect> m_cornerRects;
    std::unique_ptr<TsSystemMenu> m_systemMenu;
    std::unique_ptr<TacCtrlAdapter> m_adapter;
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

// The provider working for a form's window, if any.
TsSkinProvider* ProviderOf(const toolkit::TCustomForm& form);

} // namespace skinned
