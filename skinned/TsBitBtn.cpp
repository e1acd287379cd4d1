#include "skinned/TsBitBtn.h"

#include "platform/gfx/DeviceContext.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"

namespace skinned {

TsBitBtn::TsBitBtn(toolkit::TComponent* owner)
    : toolkit::TBitBtn(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    m_skinData->SetControlTypeCode(skin::kTypeBitBtn);
    m_skinData->Initialise();
}

TsBitBtn::~TsBitBtn() {
    // The fade reads the cache: it goes first.
    m_fade.reset();
}

void TsBitBtn::WndProc(toolkit::TMessage& message) {
    // Messages may arrive while the base part is still being built.
    if (!m_skinData) {
        toolkit::TBitBtn::WndProc(message);
        return;
    }
    if (message.Msg == toolkit::kLibraryCommandMessage) {
        m_skinData->WndProc(message);
        AfterCommand(skin::CommandOf(message.WParam));
        return;
    }
    if (m_skinData->WndProc(message))
        return;
    toolkit::TBitBtn::WndProc(message);
}

void TsBitBtn::AfterCommand(std::uint16_t command) {
    if (IsDestroying() || !CommandRebuildsFace(command))
        return;
    m_builtFrom.reset();
    Invalidate();
}

void TsBitBtn::Loaded() {
    toolkit::TBitBtn::Loaded();
    m_skinData->Initialise();
}

void TsBitBtn::SetShowFocus(bool on) {
    if (on == m_showFocus)
        return;
    m_showFocus = on;
    m_builtFrom.reset();
    Invalidate();
}

void TsBitBtn::SetFocusMargin(int margin) {
    if (margin == m_focusMargin)
        return;
    m_focusMargin = margin;
    m_builtFrom.reset();
    Invalidate();
}

std::int32_t TsBitBtn::SkinState() const {
    const bool hot = skin::Highlighted(this, *m_skinData) || (Active() && Enabled());
    return FaceStateIndex(Pressed(), hot);
}

bool TsBitBtn::SkinPainted() const {
    return m_skinData->Skinned(true) && !m_skinData->IsUpdating();
}

TButtonFaceKey TsBitBtn::FaceKey() const {
    TButtonFaceKey key;
    key.state = SkinState();
    key.enabled = Enabled();
    key.focused = Focused();
    key.size = {Width(), Height()};
    key.position = {Left(), Top()};
    key.caption = Caption();
    key.sectionIndex = m_skinData->SectionIndex();
    return key;
}

void TsBitBtn::BuildFace() {
    toolkit::TBitmap* cache = m_skinData->PrepareCache();
    if (!cache || cache->Empty())
        return;
    const TButtonFaceKey key = FaceKey();
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    PaintButtonBackdrop(*cache, *this, parent);
    skin::PaintControlSection(*m_skinData, parent, true, 1, key.state, cache, {Left(), Top()},
                              {0, 0, Width(), Height()});
    const bool hot = key.state != kFaceNormal;
    PaintButtonContent(*cache, *m_skinData, GlyphData(), GlyphState(), Placement(ClientRect()),
                       Caption(), CaptionFlags(), Enabled(), hot, key.state == kFacePressed);
    const skin::TsGeneralData* section = m_skinData->Section();
    if (Enabled() && key.focused && m_showFocus && section && section->ShowFocus &&
        !Caption().empty()) {
        toolkit::TButtonPlacement placement = Placement(ClientRect());
        if (key.state == kFacePressed)
            placement.text = placement.text.Offset(1, 1);
        const platform::Rect caption{placement.text.left - 1, placement.text.top,
                                     placement.text.right + 2, placement.text.bottom};
        PaintFocusDots(*cache, caption.Inflate(m_focusMargin, m_focusMargin));
    }
    if (!Enabled())
        PaintButtonDisabled(*cache, *this, parent);
    m_skinData->SetBackgroundChanged(false);
    m_builtFrom = key;
    if (OnPaint)
        OnPaint(this, *cache);
}

void TsBitBtn::Paint() {
    if (!SkinPainted()) {
        m_fade.reset();
        toolkit::TBitBtn::Paint();
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
