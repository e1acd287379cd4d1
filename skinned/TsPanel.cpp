#include "skinned/TsPanel.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "skin/sCommonPaint.h"
#include "skin/sSkinManager.h"
#include "skinned/ChildPainting.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"

namespace skinned {
namespace {

constexpr std::uint16_t kCmdParentUpdated = 6;
// Invalidate, erase, all children, update now, frame.
constexpr platform::UINT kRedrawAll = 1413;

} // namespace

TsPanel::TsPanel(toolkit::TComponent* owner)
    : toolkit::TPanel(owner), m_skinData(std::make_unique<skin::TsCommonData>(this, true)) {
    SetControlStyle(ControlStyle() + toolkit::TControlStyle{toolkit::csOpaque});
    m_skinData->SetControlTypeCode(skin::kTypePanel);
    m_skinData->Initialise();
}

// The skin state goes first: nothing may reach it while the panel part is taken apart.
TsPanel::~TsPanel() {
    m_skinData.reset();
}

void TsPanel::Loaded() {
    toolkit::TPanel::Loaded();
    m_skinData->Initialise();
}

bool TsPanel::SkinActive() const {
    return m_skinData && m_skinData->Skinned(true);
}

void TsPanel::Paint() {
    if (OnPaint)
        OnPaint(this, Canvas());
    else
        toolkit::TPanel::Paint();
}

void TsPanel::DrawSkinCaption(toolkit::TCanvas& canvas) {
    const std::string text = Caption();
    if (text.empty())
        return;
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(toolkit::TBrushStyle::bsClear);
    platform::Rect r = ClientRect();
    const std::int32_t h = canvas.TextHeight("W");
    r.top = (r.top + r.bottom - h) / 2;
    r.bottom = r.top + h;
    skin::DrawContourText(canvas, text, Enabled(), false, *m_skinData,
                          toolkit::AlignmentFlags(Alignment()) | platform::DT_NOPREFIX, r);
}

void TsPanel::RebuildCache() {
    toolkit::TBitmap* cache = m_skinData->PrepareCache();
    if (cache->Empty())
        return;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    skin::PaintControlSection(*m_skinData, parent, true, 1, 0, cache, {Left(), Top()},
                              {0, 0, Width(), Height()});
    DrawSkinCaption(cache->Canvas());
    if (OnPaint)
        OnPaint(this, cache->Canvas());
    m_skinData->SetBackgroundChanged(false);
}

void TsPanel::SkinPaint(platform::DeviceContext& dc, bool printing) {
    skin::TsCommonData& data = *m_skinData;
    if (IsDestroying() || (Parent() && Parent()->IsDestroying()) || !SkinActive())
        return;
    data.SetUpdating(data.IsUpdating());
    if (data.Updating())
        return;
    // A partial paint leaves a cache that only fits that paint: the next one rebuilds it.
    const bool rebuild = data.BackgroundChanged() || data.HalfVisible();
    if (data.DependsOnParent()) {
        const platform::Rect clip = platform::GetClipBox(dc);
        data.SetHalfVisible(clip.Width() != Width() || clip.Height() != Height());
    } else {
        data.SetHalfVisible(false);
    }
    if (rebuild && !data.RepaintOnMove())
        RebuildCache();
    const platform::Rect whole{0, 0, Width(), Height()};
    skin::PutCacheOnDC(*this, data, whole, 0, 0, false, dc, whole);
    PaintGraphicChildren(dc, *this, {0, 0});
    if (!printing)
        RepaintChildren(*this);
}

void TsPanel::HandleCommand(toolkit::TMessage& m) {
    skin::TsCommonData& data = *m_skinData;
    const std::uint16_t command = skin::CommandOf(m.WParam);
    const bool mine = reinterpret_cast<const skin::TsSkinManager*>(m.LParam) == data.SkinManager();
    switch (command) {
    case skin::kCmdSkinRemoved:
        data.WndProc(m);
        if (mine)
            Invalidate();
        return;
    case kCmdParentUpdated:
        if (SkinActive() && data.Updating()) {
            data.SetUpdating(false);
            if (HandleAllocated())
                platform::RedrawWindow(HandleIfAllocated(), nullptr, nullptr, kRedrawAll);
        }
        return;
    case skin::kCmdRepaintOnMove:
        data.WndProc(m);
        if (data.RepaintOnMove() && SkinActive())
            RebuildCache();
        return;
    default:
        data.WndProc(m);
        return;
    }
}

void TsPanel::WndProc(toolkit::TMessage& m) {
    using namespace platform;
    // Messages may arrive while the base part is still being built or already taken apart.
    if (!m_skinData) {
        toolkit::TPanel::WndProc(m);
        return;
    }
    if (m.Msg == toolkit::kLibraryCommandMessage) {
        HandleCommand(m);
        return;
    }
    switch (m.Msg) {
    case WM_PAINT:
        if (!SkinActive())
            break;
        if (auto* given = reinterpret_cast<DeviceContext*>(m.WParam)) {
            SkinPaint(*given, false);
        } else if (HandleAllocated()) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(HandleIfAllocated(), ps);
            if (dc)
                SkinPaint(*dc, false);
            EndPaint(HandleIfAllocated(), ps);
        }
        return;
    case WM_PRINT:
        if (!SkinActive())
            break;
        m_skinData->SetUpdating(false);
        if (auto* given = reinterpret_cast<DeviceContext*>(m.WParam)) {
            if (m_skinData->BackgroundChanged() || m_skinData->HalfVisible())
                RebuildCache();
            const platform::Rect whole{0, 0, Width(), Height()};
            skin::PutCacheOnDC(*this, *m_skinData, whole, 0, 0, false, *given, whole);
            PaintGraphicChildren(*given, *this, {0, 0});
        }
        return;
    case WM_ERASEBKGND:
        if (!SkinActive())
            break;
        m.Result = 1;
        return;
    case toolkit::CM_VISIBLECHANGED:
        m_skinData->SetBackgroundChanged(true);
        m_skinData->SetUpdating(false);
        break;
    case toolkit::CM_TEXTCHANGED:
        m_skinData->WndProc(m);
        toolkit::TPanel::WndProc(m);
        if (Parent())
            m_skinData->Refresh();
        return;
    case toolkit::CM_FONTCHANGED:
        m_skinData->WndProc(m);
        toolkit::TPanel::WndProc(m);
        if (!Caption().empty()) {
            m_skinData->SetBackgroundChanged(true);
            Repaint();
        }
        return;
    case toolkit::CM_ENABLEDCHANGED:
        m_skinData->WndProc(m);
        toolkit::TPanel::WndProc(m);
        m_skinData->Refresh();
        return;
    case toolkit::CM_MOUSEENTER:
    case toolkit::CM_MOUSELEAVE: {
        m_skinData->WndProc(m);
        toolkit::TPanel::WndProc(m);
        // A child's enter and leave pass through its parent too; only the panel's own count.
        const toolkit::TNotifyEvent& event =
            m.Msg == toolkit::CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
        if (m.LParam == 0 && event)
            event(this);
        return;
    }
    default:
        break;
    }
    if (m_skinData->WndProc(m))
        return;
    toolkit::TPanel::WndProc(m);
}

} // namespace skinned
