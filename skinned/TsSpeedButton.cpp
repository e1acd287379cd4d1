#include "skinned/TsSpeedButton.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/TextDraw.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TControlCanvas.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

constexpr const char* kDividerSection = "DIVIDER";
constexpr unsigned kCaptionFlags =
    platform::DT_CENTER | platform::DT_VCENTER | platform::DT_WORDBREAK | platform::DT_EXPANDTABS;

bool Sunk(toolkit::TButtonState state) {
    return state == toolkit::TButtonState::bsDown || state == toolkit::TButtonState::bsExclusive;
}

} // namespace

TsSpeedButton::TsSpeedButton(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeSpeedButton}) {
    if (SkinData().Skinned())
        TakeNewSkin();
}

void TsSpeedButton::TakeNewSkin() {
    SetControlStyle(ControlStyle() + toolkit::TControlStyle{toolkit::csOpaque});
    DrawGlyphFromImages(GlyphData());
}

void TsSpeedButton::LookChanged() {
    m_kept.builtFrom.reset();
    Invalidate();
}

toolkit::TButtonPlacement TsSpeedButton::SkinPlacement() const {
    return SkinButtonPlacement(Font(), Caption(), ContentRect(), GlyphData(),
                               {Layout(), Margin(), Spacing()}, Look());
}

TsSpeedButton::~TsSpeedButton() {
    // The fade reads the cache: it goes first.
    m_kept.fade.reset();
}

void TsSpeedButton::SkinCommand(toolkit::TMessage& message) {
    // The fade is over: the next paint shows the face as it is.
    if (skin::CommandOf(message.WParam) == skin::kCmdBeforeRefresh)
        m_kept.fade.reset();
    SkinData().WndProc(message);
    if (skin::CommandOf(message.WParam) == skin::kCmdRepaintOnMove && SkinData().RepaintOnMove() &&
        SkinPainted()) {
        m_kept.builtFrom.reset();
        BuildFace();
        return;
    }
    AfterCommand(skin::CommandOf(message.WParam));
}

void TsSpeedButton::SkinnedWndProc(toolkit::TMessage& message) {
    if ((message.Msg == platform::WM_LBUTTONDOWN || message.Msg == platform::WM_LBUTTONDBLCLK) &&
        Enabled() && SkinPainted())
        m_hintHold.Press();
    const bool release = message.Msg == platform::WM_LBUTTONUP;
    // The click runs in there and may free the button; its hint hold goes with it.
    const std::weak_ptr<const bool> alive = LifeToken();
    TacSkinnedControl::SkinnedWndProc(message);
    if (alive.expired())
        return;
    if (release)
        m_hintHold.Release();
    // Hidden under the mouse, the button gets no leave of its own: shown again it would be hot.
    if (message.Msg == toolkit::CM_VISIBLECHANGED && (MouseInControl() || SkinData().MouseOver()))
        Perform(toolkit::CM_MOUSELEAVE, 0, 0);
}

void TsSpeedButton::MenuTookOver() {
    m_hintHold.Release();
    if (MouseInControl() || SkinData().MouseOver())
        Perform(toolkit::CM_MOUSELEAVE, 0, 0);
}

void TsSpeedButton::Redraw() {
    toolkit::TWinControl* parent = Parent();
    if (!parent) {
        Invalidate();
        return;
    }
    skin::SendCommand(*parent, skin::kCmdRelatedObject, 0,
                      reinterpret_cast<platform::LPARAM>(this));
    Repaint();
    if (Parent() == parent && !parent->IsDestroying())
        skin::SendCommand(*parent, skin::kCmdRelatedObject, 0, 0);
}

void TsSpeedButton::AfterCommand(std::uint16_t command) {
    if (IsDestroying() || !CommandRebuildsFace(command))
        return;
    if (command == skin::kCmdNewSkin)
        TakeNewSkin();
    // The plain look leaves separators and dividers to the parent's background.
    if (command == skin::kCmdSkinRemoved)
        SetControlStyle(ControlStyle().Set(toolkit::csOpaque, false));
    m_kept.builtFrom.reset();
    Redraw();
}

bool TsSpeedButton::WholeOpen() const {
    return MenuOpen() && !OnClick;
}

std::int32_t TsSpeedButton::SkinState() const {
    return FaceStateIndex(Sunk(State()) || WholeOpen(), skin::Highlighted(this, SkinData()));
}

std::int32_t TsSpeedButton::DropDownSkinState() const {
    return FaceStateIndex(MenuOpen() || Down() || Sunk(State()),
                          skin::Highlighted(this, SkinData()));
}

bool TsSpeedButton::SkinPainted() const {
    return SkinData().Skinned(true) && !SkinData().IsUpdating();
}

TButtonFaceKey TsSpeedButton::FaceKey() const {
    TButtonFaceKey key;
    key.state = SkinState();
    key.dropDownState = ButtonStyle() == toolkit::tbsDropDown ? DropDownSkinState() : -1;
    key.enabled = Enabled();
    key.size = {Width(), Height()};
    key.position = {Left(), Top()};
    key.caption = Caption();
    key.sectionIndex = SkinData().SectionIndex();
    key.down = Down();
    KeyContent(key, GlyphData(), SkinPlacement(), kCaptionFlags, Font());
    key.look = Look();
    return key;
}

void TsSpeedButton::PaintDivider(toolkit::TBitmap& cache) {
    skin::TsSkinManager* m = SkinData().Manager();
    const std::int32_t section = m->FindSectionIndex(kDividerSection);
    const std::int32_t index = m->FindPieceIndex(section, kDividerSection, "BORDERSMASK");
    if (index < 0 || static_cast<std::size_t>(index) >= m->ma().size())
        return;
    const skin::TsMaskData& piece = m->ma()[static_cast<std::size_t>(index)];
    const std::int32_t w = m->GetStateImageSize(index).cx;
    const std::int32_t x = (Width() - w) / 2;
    skin::DrawFramePiece(skin::TacRows24(cache), {x, 1, x + w, Height() - 2}, true, 1, 0, piece,
                         {});
}

void TsSpeedButton::BuildFace() {
    toolkit::TBitmap* cache = SkinData().PrepareCache();
    if (!cache || cache->Empty())
        return;
    const TButtonFaceKey key = FaceKey();
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    PaintButtonBackdrop(*cache, *this, parent);
    const platform::Point position{Left(), Top()};
    if (ButtonStyle() == toolkit::tbsDivider) {
        PaintDivider(*cache);
    } else if (ButtonStyle() != toolkit::tbsSeparator) {
        // Without DrawOverBorder the borders go on top of glyph and caption, drawn once.
        skin::PaintControlSection(SkinData(), parent,
                                  DrawOverBorder() ? skin::TacFrameParts::kEdgesAndCentre
                                                   : skin::TacFrameParts::kCentre,
                                  1, key.state, cache, position, ContentRect());
        const bool pressed = key.state == kFacePressed;
        PaintButtonContent(*cache, SkinData(), GlyphData(),
                           WholeOpen() ? toolkit::TButtonState::bsDown : State(), SkinPlacement(),
                           Caption(), kCaptionFlags, Enabled(), key.state != kFaceNormal, pressed,
                           Look());
        if (!DrawOverBorder()) {
            skin::TsBackdropInfo behind = parent;
            behind.X += Left();
            behind.Y += Top();
            PaintButtonBorder(*cache, SkinData(), key.state, ContentRect(), behind);
        }
        if (ButtonStyle() == toolkit::tbsDropDown) {
            skin::PaintControlSection(SkinData(), parent, true, 1, key.dropDownState, cache,
                                      position, DropDownRect());
            PaintDropDownArrow(*cache, *SkinData().Manager(), kDropDownWidth, key.dropDownState);
        }
    }
    if (!Enabled())
        PaintButtonDisabled(*cache, *this, parent, DisabledKind());
    SkinData().SetBackgroundChanged(false);
    m_kept.builtFrom = key;
    if (OnPaint)
        OnPaint(this, *cache);
}

void TsSpeedButton::Paint() {
    if (!SkinPainted()) {
        PaintUnskinnedFace(
            *this, SkinData(), m_kept, [this] { toolkit::TSpeedButton::Paint(); },
            Canvas().Handle());
        return;
    }
    // Painted only partly last time (its parent said so with command 22), the face may hold a
    // background that has changed since: it is built again, without disturbing a fade.
    const bool halfVisible = SkinData().HalfVisible();
    SkinData().SetHalfVisible(false);
    PaintSkinnedFace(
        *this, SkinData(), m_kept, FaceKey(),
        halfVisible ? TacFaceRenewal::kQuietly : TacFaceRenewal::kWhenChanged, m_animatEvents,
        [this] { BuildFace(); }, Canvas().Handle());
}

} // namespace skinned
