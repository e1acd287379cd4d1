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

TsPanel::TsPanel(toolkit::TComponent* owner) : TacSkinnedControl(owner, {skin::kTypePanel}) {
    SetControlStyle(ControlStyle() + toolkit::TControlStyle{toolkit::csOpaque});
    SkinData().SetPassesCommands(true);
}

bool TsPanel::SkinActive() const {
    return HasSkinData() && SkinData().Skinned(true);
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
    skin::DrawContourText(canvas, text, Enabled(), false, SkinData(),
                          toolkit::AlignmentFlags(Alignment()) | platform::DT_NOPREFIX, r);
}

bool TsPanel::FaceStale() const {
    const skin::TsCommonData& data = SkinData();
    return data.BackgroundChanged() || data.HalfVisible() || Alignment() != m_faceAlignment;
}

void TsPanel::RebuildCache() {
    toolkit::TBitmap* cache = SkinData().PrepareCache();
    if (cache->Empty())
        return;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    skin::PaintControlSection(SkinData(), parent, true, 1, 0, cache, {Left(), Top()},
                              {0, 0, Width(), Height()});
    DrawSkinCaption(cache->Canvas());
    m_faceAlignment = Alignment();
    if (OnPaint)
        OnPaint(this, cache->Canvas());
    SkinData().SetBackgroundChanged(false);
}

void TsPanel::SkinPaint(platform::DeviceContext& dc, bool printing) {
    skin::TsCommonData& data = SkinData();
    if (IsDestroying() || (Parent() && Parent()->IsDestroying()) || !SkinActive())
        return;
    data.SetUpdating(data.IsUpdating());
    if (data.Updating())
        return;
    // A partial paint leaves a cache that only fits that paint: the next one rebuilds it.
    const bool rebuild = FaceStale();
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

void TsPanel::SkinCommand(toolkit::TMessage& m) {
    skin::TsCommonData& data = SkinData();
    const std::uint16_t command = skin::CommandOf(m.WParam);
    const bool mine = reinterpret_cast<const skin::TsSkinManager*>(m.LParam) == data.SkinManager();
    switch (command) {
    case skin::kCmdNewSkin:
        // The children take the new skin first: the panel's own paint then finds them ready.
        skin::BroadcastToChildren(*this, m.WParam, m.LParam);
        data.WndProc(m);
        return;
    case skin::kCmdSkinRemoved:
        data.WndProc(m);
        if (mine)
            Invalidate();
        skin::BroadcastToChildren(*this, m.WParam, m.LParam);
        return;
    case skin::kCmdRefresh: {
        // The children are refreshed before the panel repaints, so its paint (which tells them
        // to repaint over it) finds them with the new skin's state and colours.
        const bool repaint = data.TakeRefresh(m);
        skin::BroadcastToChildren(*this, m.WParam, m.LParam);
        if (repaint && !IsDestroying())
            Repaint();
        return;
    }
    case skin::kCmdBeforeRefresh:
        data.WndProc(m);
        skin::BroadcastToChildren(*this, m.WParam, m.LParam);
        return;
    case kCmdParentUpdated:
        if (SkinActive() && (data.Updating() || skin::RepaintAllFlag())) {
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

void TsPanel::SkinnedWndProc(toolkit::TMessage& m) {
    using namespace platform;
    skin::TsCommonData& data = SkinData();
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
        data.SetUpdating(false);
        if (auto* given = reinterpret_cast<DeviceContext*>(m.WParam)) {
            if (FaceStale())
                RebuildCache();
            const platform::Rect whole{0, 0, Width(), Height()};
            skin::PutCacheOnDC(*this, data, whole, 0, 0, false, *given, whole);
            PaintGraphicChildren(*given, *this, {0, 0});
        }
        return;
    case WM_ERASEBKGND:
        if (!SkinActive())
            break;
        m.Result = 1;
        return;
    case toolkit::CM_VISIBLECHANGED:
        data.SetBackgroundChanged(true);
        data.SetUpdating(false);
        break;
    case toolkit::CM_TEXTCHANGED:
        TacSkinnedControl::SkinnedWndProc(m);
        if (Parent())
            data.Refresh();
        return;
    case toolkit::CM_FONTCHANGED:
        TacSkinnedControl::SkinnedWndProc(m);
        if (!Caption().empty()) {
            data.SetBackgroundChanged(true);
            Repaint();
        }
        return;
    case toolkit::CM_ENABLEDCHANGED:
        TacSkinnedControl::SkinnedWndProc(m);
        data.Refresh();
        return;
    default:
        break;
    }
    TacSkinnedControl::SkinnedWndProc(m);
}

} // namespace skinned
