#include "skinned/sEditSkin.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/Utf8.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TWinControl.h"

namespace skinned {

namespace {

constexpr std::uint16_t kCmdParentUpdated = 6;

// The colour a skin leaves undefined.
constexpr std::int32_t kUndefinedColor = -1;

} // namespace

std::int32_t DisabledFlags(TacDisabledKind kind) {
    std::int32_t flags = 0;
    if (kind.Contains(TacDisabledKindItem::dkBlended))
        flags |= skin::kDisabledFade;
    if (kind.Contains(TacDisabledKindItem::dkGrayed))
        flags |= skin::kDisabledGrey;
    return flags;
}

void BoundLabelUpkeep(TsBoundLabel& label, toolkit::TControl& control, const toolkit::TMessage& m) {
    if (!label.Active() || !label.Label())
        return;
    switch (m.Msg) {
    case platform::WM_SIZE:
    case platform::WM_MOVE:
    case platform::WM_WINDOWPOSCHANGED:
        break;
    case toolkit::CM_VISIBLECHANGED:
        label.Label()->SetVisible(control.Visible());
        break;
    case toolkit::CM_ENABLEDCHANGED:
        label.Label()->SetEnabled(control.Enabled());
        break;
    default:
        return;
    }
    label.AlignLabel();
}

platform::Color SectionColor(const skin::TsCommonData& data, bool hot) {
    const skin::TsGeneralData* gd = data.Section();
    if (!gd)
        return skin::kKeyColor;
    return static_cast<platform::Color>(hot ? gd->HotColor : gd->Color);
}

platform::Color SectionFontColor(const skin::TsCommonData& data, bool hot) {
    const skin::TsGeneralData* gd = data.Section();
    if (!gd)
        return static_cast<platform::Color>(kUndefinedColor);
    const std::int32_t c = hot ? gd->HotFontColor[0] : gd->FontColor[0];
    // A hot font colour the skin leaves out is the normal one.
    if (hot && c == kUndefinedColor)
        return static_cast<platform::Color>(gd->FontColor[0]);
    return static_cast<platform::Color>(c);
}

TsEditSkin::TsEditSkin(toolkit::TCustomEdit& edit, skin::TsCommonData& data, Kind kind)
    : m_edit(edit), m_data(&data), m_kind(kind) {
    m_boundLabel = std::make_unique<TsBoundLabel>(*m_data);
}

TsEditSkin::~TsEditSkin() {
    // The label goes while the skin state it refers to is still there.
    m_boundLabel.reset();
}

void TsEditSkin::SetDisabledKind(TacDisabledKind kind) {
    if (kind.Bits() == m_disabledKind.Bits())
        return;
    m_disabledKind = kind;
    if (!m_edit.Enabled())
        Changed();
}

bool TsEditSkin::Painting() const {
    return m_data->Skinned(true) && !m_data->IsUpdating();
}

bool TsEditSkin::Hot() const {
    return skin::Highlighted(&m_edit, *m_data);
}

std::int32_t TsEditSkin::BorderWidth() const {
    // The plain edit's sunken edge is its only border: 1 + Ctl3D.
    return m_edit.BorderStyle() == toolkit::TFormBorderStyle::bsSingle ? 2 : 0;
}

TsEditSkin::FaceKey TsEditSkin::Key() const {
    FaceKey key;
    key.hot = Hot();
    key.enabled = m_edit.Enabled();
    key.size = {m_edit.Width(), m_edit.Height()};
    key.position = {m_edit.Left(), m_edit.Top()};
    if (m_kind == Kind::SingleLine)
        key.text = m_edit.Text();
    key.sectionIndex = m_data->SectionIndex();
    return key;
}

toolkit::TBitmap* TsEditSkin::Face() {
    if (!m_data->Skinned(true))
        return nullptr;
    const FaceKey key = Key();
    const toolkit::TBitmap* cache = m_data->CacheBmp();
    const bool stale = !cache || cache->Width() != key.size.cx || cache->Height() != key.size.cy;
    if (stale || m_data->BackgroundChanged() || !m_builtFrom || *m_builtFrom != key) {
        if (!m_data->RepaintOnMove() || stale)
            BuildFace(key);
    }
    toolkit::TBitmap* face = m_data->CacheBmp();
    return face && !face->Empty() ? face : nullptr;
}

void TsEditSkin::BuildFace(const FaceKey& key) {
    toolkit::TBitmap* cache = m_data->PrepareCache();
    if (!cache || cache->Empty())
        return;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(m_edit);
    const platform::Rect whole{0, 0, key.size.cx, key.size.cy};
    skin::PaintControlSection(*m_data, parent, true, 1, key.hot ? 1 : 0, cache, key.position,
                              whole);
    if (m_kind == Kind::SingleLine && !key.text.empty()) {
        std::string shown = key.text;
        if (const char32_t pc = m_edit.PasswordChar()) {
            const std::u32string one(1, pc);
            std::string mark = platform::Utf32ToUtf8(one);
            shown.clear();
            const std::u32string text = platform::Utf8ToUtf32(key.text);
            for (std::size_t i = 0; i < text.size(); ++i)
                shown += mark;
        }
        const std::int32_t inset = BorderWidth() + 1;
        toolkit::TCanvas& canvas = cache->Canvas();
        canvas.Font().Assign(&m_edit.Font());
        skin::DrawContourText(canvas, shown, key.enabled, key.hot, *m_data,
                              platform::DT_SINGLELINE | platform::DT_NOPREFIX |
                                  platform::DT_VCENTER,
                              whole.Inflate(-inset, -inset));
    }
    if (!key.enabled)
        skin::PaintDisabledLook(*cache, DisabledFlags(m_disabledKind),
                                toolkit::ColorToRGB(m_edit.Color()), key.position, parent);
    m_data->SetBackgroundChanged(false);
    m_builtFrom = key;
}

void TsEditSkin::TakeColors() {
    if (m_takingColors || !m_data->Skinned(true))
        return;
    m_takingColors = true;
    const bool hot = m_kind == Kind::SingleLine && Hot();
    if (!m_data->CustomColor()) {
        const platform::Color c = SectionColor(*m_data, hot);
        if (c != skin::kKeyColor && m_edit.Color() != static_cast<toolkit::TColor>(c))
            m_edit.SetColor(static_cast<toolkit::TColor>(c));
    }
    if (!m_data->CustomFont()) {
        const platform::Color c = SectionFontColor(*m_data, hot);
        if (static_cast<std::int32_t>(c) != kUndefinedColor &&
            m_edit.Font().Color() != static_cast<toolkit::TColor>(c))
            m_edit.Font().SetColor(static_cast<toolkit::TColor>(c));
    }
    m_takingColors = false;
}

void TsEditSkin::PaintBorder() {
    const std::int32_t border = BorderWidth();
    if (border == 0 || !m_edit.HandleAllocated())
        return;
    toolkit::TBitmap* face = Face();
    if (!face)
        return;
    const platform::HWND h = m_edit.HandleIfAllocated();
    platform::HDC dc = platform::GetWindowDC(h);
    if (!dc)
        return;
    // Four strips rather than one clipped copy: a memo's face is large and its frame thin.
    const std::int32_t w = m_edit.Width(), hgt = m_edit.Height();
    const platform::Rect strips[4] = {{0, 0, w, border},
                                      {0, hgt - border, w, hgt},
                                      {0, border, border, hgt - border},
                                      {w - border, border, w, hgt - border}};
    for (const platform::Rect& r : strips)
        if (r.Width() > 0 && r.Height() > 0)
            platform::BitBlt(*dc, r.left, r.top, r.Width(), r.Height(), face->Canvas().Handle(),
                             r.left, r.top, platform::RasterOp::SrcCopy);
    platform::ReleaseDC(h, dc);
}

void TsEditSkin::PaintWindow(platform::DeviceContext& dc) {
    if (const toolkit::TWinControl* parent = m_edit.Parent()) {
        const platform::Rect bounds = m_edit.BoundsRect();
        const bool halfVisible = bounds.Intersect(parent->ClientRect()) != bounds;
        if (halfVisible || skin::SendCommand(*m_edit.Parent(), skin::kCmdIsHalfVisible) != 0)
            m_data->SetBackgroundChanged(true);
    }
    toolkit::TBitmap* face = Face();
    if (!face)
        return;
    platform::BitBlt(dc, 0, 0, face->Width(), face->Height(), face->Canvas().Handle(), 0, 0,
                     platform::RasterOp::SrcCopy);
}

void TsEditSkin::Print(platform::DeviceContext& dc) {
    platform::DcStateGuard guard(dc);
    m_data->SetBackgroundChanged(true);
    PaintWindow(dc);
    const std::int32_t border = BorderWidth();
    platform::OffsetViewportOrgEx(dc, border, border);
    platform::IntersectClipRect(dc, m_edit.ClientRect());
    m_edit.Perform(platform::WM_PAINT, reinterpret_cast<platform::WPARAM>(&dc), 0);
}

void TsEditSkin::RedrawFrame() {
    if (m_edit.HandleAllocated() && !m_edit.IsDestroying())
        platform::RedrawWindow(m_edit.HandleIfAllocated(), nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_FRAME);
}

void TsEditSkin::Changed() {
    m_data->SetBackgroundChanged(true);
    TakeColors();
    RedrawFrame();
    if (OnFaceChanged)
        OnFaceChanged();
}

void TsEditSkin::Command(toolkit::TMessage& m) {
    const std::uint16_t command = skin::CommandOf(m.WParam);
    switch (command) {
    case skin::kCmdNewSkin:
    case skin::kCmdSkinRemoved:
        m_data->WndProc(m);
        m_builtFrom.reset();
        // Back to the plain edge, or ready for the new skin's.
        RedrawFrame();
        if (OnFaceChanged)
            OnFaceChanged();
        return;
    case skin::kCmdRefresh:
        m_data->WndProc(m);
        m_builtFrom.reset();
        if (m_data->Skinned(true))
            Changed();
        return;
    case kCmdParentUpdated:
        if (m_data->Updating()) {
            m_data->SetUpdating(false);
            RedrawFrame();
        }
        return;
    case skin::kCmdDependsOnYou:
        m.Result = 0;
        return;
    default:
        m_data->WndProc(m);
        return;
    }
}

bool TsEditSkin::Before(toolkit::TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_PAINT:
        if (!m_data->Skinned(true))
            break;
        if (m_data->IsUpdating()) {
            // The parent's "updated" command redraws the edit, frame included; until then
            // nothing of it may stay pending, or the paint would be asked for again at once.
            m_data->SetUpdating(true);
            if (m_edit.HandleAllocated())
                RedrawWindow(m_edit.HandleIfAllocated(), nullptr, nullptr,
                             RDW_VALIDATE | RDW_NOCHILDREN | RDW_NOFRAME | RDW_NOINTERNALPAINT);
            return true;
        }
        TakeColors();
        break;
    case WM_ERASEBKGND:
        if (!Painting())
            break;
        m.Result = 1;
        return true;
    case WM_PRINT:
        if (!Painting() || !m.WParam)
            break;
        Print(*reinterpret_cast<DeviceContext*>(m.WParam));
        return true;
    default:
        break;
    }
    return false;
}

void TsEditSkin::After(const toolkit::TMessage& m) {
    using namespace platform;
    if (m_edit.IsDestroying())
        return;
    BoundLabelUpkeep(*m_boundLabel, m_edit, m);
    switch (m.Msg) {
    case WM_NCPAINT:
        // Over the plain frame, so that scroll bars the window has are drawn as they were.
        if (Painting())
            PaintBorder();
        break;
    case WM_SIZE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case toolkit::CM_MOUSEENTER:
    case toolkit::CM_MOUSELEAVE:
        if (m_data->Skinned(true))
            Changed();
        break;
    case toolkit::CM_EXIT:
        if (m_data->Skinned(true)) {
            m_data->SetMouseOver(false);
            Changed();
        }
        break;
    case toolkit::CM_TEXTCHANGED:
        // Only a one-line face shows the text; the native edit repaints its own client area.
        if (m_kind == Kind::SingleLine && !m_edit.IsLoading() && m_data->Skinned(true))
            Changed();
        break;
    case toolkit::CM_FONTCHANGED:
    case toolkit::CM_VISIBLECHANGED:
    case toolkit::CM_ENABLEDCHANGED:
        // Colours the skin itself gives change nothing the face is built from.
        if (!m_takingColors && !m_edit.IsLoading() && m_data->Skinned(true)) {
            m_data->Refresh();
            Changed();
        }
        break;
    case toolkit::CM_COLORCHANGED:
        if (m_data->CustomColor())
            m_data->SetBackgroundChanged(true);
        break;
    default:
        break;
    }
}

} // namespace skinned
