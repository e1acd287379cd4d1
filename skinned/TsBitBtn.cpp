#include "skinned/TsBitBtn.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinned {

TsBitBtn::TsBitBtn(toolkit::TComponent* owner) : TacSkinnedControl(owner, {skin::kTypeBitBtn}) {
    SetWordWrap(true);
}

void TsBitBtn::LookChanged() {
    m_kept.builtFrom.reset();
    Invalidate();
}

toolkit::TButtonPlacement TsBitBtn::SkinPlacement() const {
    return SkinButtonPlacement(Font(), Caption(), ClientRect(), GlyphData(),
                               {Layout(), Margin(), Spacing()}, Look());
}

TsBitBtn::~TsBitBtn() {
    // The fade reads the cache: it goes first.
    m_kept.fade.reset();
}

namespace {
constexpr std::uint16_t kCmdParentUpdated = 6;
constexpr std::uint16_t kCmdRebuildFace = 23;
constexpr std::uint16_t kCmdFadeFrame = 24;
} // namespace

void TsBitBtn::SkinCommand(toolkit::TMessage& message) {
    skin::TsCommonData& data = SkinData();
    switch (skin::CommandOf(message.WParam)) {
    case kCmdParentUpdated:
        if (data.Updating()) {
            data.SetUpdating(false);
            Invalidate();
        }
        return;
    case skin::kCmdRepaintOnMove:
        data.WndProc(message);
        if (data.RepaintOnMove() && SkinPainted()) {
            m_kept.builtFrom.reset();
            BuildFace();
        }
        return;
    case kCmdRebuildFace:
        m_kept.builtFrom.reset();
        Invalidate();
        return;
    case kCmdFadeFrame:
        // Our fades paint their frames themselves and no region waits: nothing to discard.
        return;
    default:
        data.WndProc(message);
        AfterCommand(skin::CommandOf(message.WParam));
        return;
    }
}

void TsBitBtn::SkinnedWndProc(toolkit::TMessage& message) {
    if (message.Msg == platform::WM_LBUTTONDOWN && Enabled() && SkinPainted())
        m_hintHold.Press();
    const bool release = message.Msg == platform::WM_LBUTTONUP;
    // The click runs in there and may free the button; its hint hold goes with it.
    const std::weak_ptr<const bool> alive = LifeToken();
    TacSkinnedControl::SkinnedWndProc(message);
    if (alive.expired())
        return;
    if (release)
        m_hintHold.Release();
    if (message.Msg == toolkit::CM_VISIBLECHANGED)
        VisibilityChanged();
}

void TsBitBtn::VisibilityChanged() {
    // A button hidden under the mouse gets no leave of its own: shown again, it would be hot.
    if (SkinData().MouseOver())
        Perform(toolkit::CM_MOUSELEAVE, 0, 0);
    SkinData().SetUpdating(false);
    m_kept.builtFrom.reset();
    Invalidate();
}

void TsBitBtn::UpdateRegion() {
    std::optional<platform::Region> wanted;
    skin::TsSkinManager* m = SkinData().Manager();
    const std::int32_t index = SkinData().BorderIndex();
    if (SkinPainted() && m && m->IsValidImgIndex(index)) {
        const skin::TsMaskData& piece = m->ma()[static_cast<std::size_t>(index)];
        std::vector<platform::Rect> corners;
        skin::CornerKeyRuns(corners, Width(), piece, false, 0);
        skin::CornerKeyRuns(corners, Width(), piece, true, Height() - m->GetMaskWidthBottom(index));
        if (!corners.empty()) {
            platform::Region shape(platform::Rect{0, 0, Width(), Height()});
            for (const platform::Rect& corner : corners)
                shape.Subtract(corner);
            wanted = std::move(shape);
        }
    }
    if (wanted == m_region)
        return;
    m_region = wanted;
    if (HandleAllocated())
        platform::SetWindowRgn(HandleIfAllocated(), std::move(wanted), true);
}

void TsBitBtn::AfterCommand(std::uint16_t command) {
    if (command == skin::kCmdSkinRemoved && !IsDestroying())
        UpdateRegion();
    if (command == skin::kCmdNewSkin && !IsDestroying())
        DrawGlyphFromImages(GlyphData());
    if (IsDestroying() || !CommandRebuildsFace(command))
        return;
    m_kept.builtFrom.reset();
    Invalidate();
}

void TsBitBtn::SetShowFocus(bool on) {
    if (on == m_showFocus)
        return;
    m_showFocus = on;
    m_kept.builtFrom.reset();
    Invalidate();
}

void TsBitBtn::SetFocusMargin(int margin) {
    if (margin == m_focusMargin)
        return;
    m_focusMargin = margin;
    m_kept.builtFrom.reset();
    Invalidate();
}

std::int32_t TsBitBtn::SkinState() const {
    const bool hot = skin::Highlighted(this, SkinData()) || (Active() && Enabled());
    return FaceStateIndex(Down(), hot);
}

bool TsBitBtn::SkinPainted() const {
    return SkinData().Skinned(true) && !SkinData().IsUpdating();
}

TButtonFaceKey TsBitBtn::FaceKey() const {
    TButtonFaceKey key;
    key.state = SkinState();
    key.enabled = Enabled();
    key.focused = Focused();
    key.size = {Width(), Height()};
    key.position = {Left(), Top()};
    key.caption = Caption();
    key.sectionIndex = SkinData().SectionIndex();
    key.down = Down();
    KeyContent(key, GlyphData(), SkinPlacement(), CaptionFlags(), Font());
    key.look = Look();
    return key;
}

void TsBitBtn::BuildFace() {
    toolkit::TBitmap* cache = SkinData().PrepareCache();
    if (!cache || cache->Empty())
        return;
    const TButtonFaceKey key = FaceKey();
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    PaintButtonBackdrop(*cache, *this, parent);
    const platform::Rect whole{0, 0, Width(), Height()};
    // Without DrawOverBorder the borders go on top of glyph and caption, drawn once.
    skin::PaintControlSection(SkinData(), parent,
                              DrawOverBorder() ? skin::TacFrameParts::kEdgesAndCentre
                                               : skin::TacFrameParts::kCentre,
                              1, key.state, cache, {Left(), Top()}, whole);
    const bool hot = key.state != kFaceNormal;
    PaintButtonContent(*cache, SkinData(), GlyphData(), GlyphState(), SkinPlacement(), Caption(),
                       CaptionFlags(), Enabled(), hot, key.state == kFacePressed, Look());
    if (!DrawOverBorder()) {
        skin::TsBackdropInfo behind = parent;
        behind.X += Left();
        behind.Y += Top();
        PaintButtonBorder(*cache, SkinData(), key.state, whole, behind);
    }
    const skin::TsGeneralData* section = SkinData().Section();
    if (Enabled() && key.focused && m_showFocus && ShowCaption() && section && section->ShowFocus &&
        !Caption().empty()) {
        toolkit::TButtonPlacement placement = SkinPlacement();
        if (key.state == kFacePressed)
            placement.text = placement.text.Offset(1, 1);
        const platform::Rect caption{placement.text.left - 1, placement.text.top,
                                     placement.text.right + 2, placement.text.bottom};
        PaintFocusDots(*cache, caption.Inflate(m_focusMargin, m_focusMargin));
    }
    if (!Enabled())
        PaintButtonDisabled(*cache, *this, parent, DisabledKind());
    SkinData().SetBackgroundChanged(false);
    m_kept.builtFrom = key;
    UpdateRegion();
    if (OnPaint)
        OnPaint(this, *cache);
}

TacFaceRenewal TsBitBtn::Renewal() const {
    // While its parent moves, a normal button keeps the face it has (command 9).
    if (SkinData().RepaintOnMove() && SkinState() == kFaceNormal)
        return TacFaceRenewal::kFrozen;
    // Partly outside the parent's client area, or over a parent that is changing, the face was
    // built from a background that may not be there any more.
    if (const toolkit::TWinControl* parent = Parent()) {
        const platform::Rect client = parent->ClientRect();
        if (BoundsRect().Intersect(client) != BoundsRect() ||
            skin::SendCommand(*Parent(), skin::kCmdIsHalfVisible) != 0)
            return TacFaceRenewal::kAlways;
    }
    return TacFaceRenewal::kWhenChanged;
}

void TsBitBtn::Paint() {
    if (!SkinPainted()) {
        PaintUnskinnedFace(
            *this, SkinData(), m_kept, [this] { toolkit::TBitBtn::Paint(); }, Canvas().Handle());
        return;
    }
    PaintSkinnedFace(
        *this, SkinData(), m_kept, FaceKey(), Renewal(), m_animatEvents, [this] { BuildFace(); },
        Canvas().Handle());
}

} // namespace skinned
