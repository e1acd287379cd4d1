#include "skinned/TsSpeedButton.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/TextDraw.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sMaskData.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TControlCanvas.h"

namespace skinned {

namespace {

constexpr const char* kDividerSection = "DIVIDER";

bool Sunk(toolkit::TButtonState state) {
    return state == toolkit::TButtonState::bsDown || state == toolkit::TButtonState::bsExclusive;
}

} // namespace

TsSpeedButton::TsSpeedButton(toolkit::TComponent* owner)
    : toolkit::TSpeedButton(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeSpeedButton);
    m_skinData->Initialise();
}

TsSpeedButton::~TsSpeedButton() {
    // The fade reads the cache: it goes first.
    m_fade.reset();
}

void TsSpeedButton::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (!m_skinData) {
        toolkit::TSpeedButton::WndProc(message);
        return;
    }
    if (message.Msg == toolkit::kLibraryCommandMessage) {
        m_skinData->WndProc(message);
        AfterCommand(skin::CommandOf(message.WParam));
        return;
    }
    if (m_skinData->WndProc(message))
        return;
    toolkit::TSpeedButton::WndProc(message);
}

void TsSpeedButton::AfterCommand(std::uint16_t command) {
    if (IsDestroying() || !CommandRebuildsFace(command))
        return;
    m_builtFrom.reset();
    Invalidate();
}

void TsSpeedButton::Loaded() {
    toolkit::TSpeedButton::Loaded();
    m_skinData->Initialise();
}

bool TsSpeedButton::WholeOpen() const {
    return MenuOpen() && !OnClick;
}

std::int32_t TsSpeedButton::SkinState() const {
    return FaceStateIndex(Sunk(State()) || WholeOpen(), skin::Highlighted(this, *m_skinData));
}

std::int32_t TsSpeedButton::DropDownSkinState() const {
    return FaceStateIndex(MenuOpen() || Down() || Sunk(State()),
                          skin::Highlighted(this, *m_skinData));
}

bool TsSpeedButton::SkinPainted() const {
    return m_skinData->Skinned(true) && !m_skinData->IsUpdating();
}

TButtonFaceKey TsSpeedButton::FaceKey() const {
    TButtonFaceKey key;
    key.state = SkinState();
    key.dropDownState = ButtonStyle() == toolkit::tbsDropDown ? DropDownSkinState() : -1;
    key.enabled = Enabled();
    key.size = {Width(), Height()};
    key.position = {Left(), Top()};
    key.caption = Caption();
    key.sectionIndex = m_skinData->SectionIndex();
    return key;
}

void TsSpeedButton::PaintDivider(toolkit::TBitmap& cache) {
    skin::TsSkinManager* m = m_skinData->Manager();
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
    toolkit::TBitmap* cache = m_skinData->PrepareCache();
    if (!cache || cache->Empty())
        return;
    const TButtonFaceKey key = FaceKey();
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    PaintButtonBackdrop(*cache, *this, parent);
    const platform::Point position{Left(), Top()};
    if (ButtonStyle() == toolkit::tbsDivider) {
        PaintDivider(*cache);
    } else if (ButtonStyle() != toolkit::tbsSeparator) {
        skin::PaintControlSection(*m_skinData, parent, true, 1, key.state, cache, position,
                                  ContentRect());
        const bool pressed = key.state == kFacePressed;
        PaintButtonContent(*cache, *m_skinData, GlyphData(),
                           WholeOpen() ? toolkit::TButtonState::bsDown : State(), Placement(),
                           Caption(),
                           platform::DT_CENTER | platform::DT_VCENTER | platform::DT_WORDBREAK |
                               platform::DT_EXPANDTABS,
                           Enabled(), key.state != kFaceNormal, pressed);
        if (ButtonStyle() == toolkit::tbsDropDown) {
            skin::PaintControlSection(*m_skinData, parent, true, 1, key.dropDownState, cache,
                                      position, DropDownRect());
            PaintDropDownArrow(*cache, *m_skinData->Manager(), kDropDownWidth, key.dropDownState);
        }
    }
    if (!Enabled())
        PaintButtonDisabled(*cache, *this, parent);
    m_skinData->SetBackgroundChanged(false);
    m_builtFrom = key;
    if (OnPaint)
        OnPaint(this, *cache);
}

void TsSpeedButton::Paint() {
    if (!SkinPainted()) {
        m_fade.reset();
        toolkit::TSpeedButton::Paint();
        return;
    }
    if (m_fade && m_fade->Finished())
        m_fade.reset();
    const toolkit::TBitmap* cache = m_skinData->CacheBmp();
    const bool stale = !cache || cache->Width() != Width() || cache->Height() != Height();
    const TButtonFaceKey key = FaceKey();
    if (stale || m_skinData->BackgroundChanged() || !m_builtFrom || *m_builtFrom != key) {
        std::unique_ptr<TsButtonFade> fade;
        if (!stale && m_builtFrom)
            fade = StartFade(*m_skinData, *m_builtFrom, key, m_animatEvents, m_fade.get(),
                             [this] { Invalidate(); });
        m_fade = std::move(fade);
        BuildFace();
    }
    platform::DeviceContext& dc = Canvas().Handle();
    if (m_fade && m_fade->Frame().Width() == Width() && m_fade->Frame().Height() == Height()) {
        platform::BitBlt(dc, 0, 0, Width(), Height(), m_fade->Frame().DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
        return;
    }
    skin::PutCacheOnDC(*this, *m_skinData, {0, 0, Width(), Height()}, 0, 0, false, dc,
                       {0, 0, Width(), Height()});
}

} // namespace skinned
