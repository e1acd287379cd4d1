// Layout of a windowed control: its client area, bounds kept in step with the window, and
// the alignment of its children.

#include <algorithm>

#include "platform/win/DefWindowProc.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TWinControl.h"

namespace toolkit {
namespace {

platform::Rect FrameOf(const TCreateParams& p) {
    platform::Rect frame;
    platform::AdjustWindowRectEx(frame, p.Style, false, p.ExStyle);
    return frame;
}

} // namespace

platform::Rect TWinControl::ClientRect() const {
    if (m_handle && platform::WindowSystem::Running()) {
        platform::Rect r;
        if (platform::GetClientRect(m_handle, r))
            return r;
    }
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    const platform::Rect frame = FrameOf(p);
    return {0, 0, std::max(0, m_width - frame.Width()), std::max(0, m_height - frame.Height())};
}

platform::Point TWinControl::ClientOrigin() const {
    if (m_handle && platform::WindowSystem::Running()) {
        platform::Point p;
        platform::ClientToScreen(m_handle, p);
        return p;
    }
    TCreateParams params;
    const_cast<TWinControl*>(this)->CreateParams(params);
    const platform::Rect frame = FrameOf(params);
    const platform::Point o = TControl::ClientOrigin();
    return {o.x - frame.left, o.y - frame.top};
}

void TWinControl::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                            std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    const bool resized = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    if (m_handle && platform::WindowSystem::Running())
        platform::SetWindowPos(m_handle, {}, left, top, width, height,
                               platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
    RequestAlign();
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::UpdateBounds() {
    if (!m_handle)
        return;
    platform::Rect r;
    if (!platform::GetWindowRect(m_handle, r))
        return;
    const platform::LONG_PTR style = platform::GetWindowLongPtr(m_handle, platform::GWL_STYLE);
    if ((style & platform::WS_CHILD) && Parent() && Parent()->HandleAllocated()) {
        platform::Point pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
        platform::MapWindowPoints({}, Parent()->HandleIfAllocated(), pts, 2);
        r = {pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    }
    if (r == BoundsRect())
        return;
    const bool resized = r.Width() != m_width || r.Height() != m_height;
    m_left = r.left;
    m_top = r.top;
    m_width = r.Width();
    m_height = r.Height();
    RequestAlign();
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::Realign() {
    if (m_alignLevel > 0 || IsLoading() || IsDestroying()) {
        MutableControlState().Include(csAlignmentNeeded);
        return;
    }
    ++m_alignLevel;
    struct Level {
        int& level;
        ~Level() { --level; }
    } level{m_alignLevel};
    platform::Rect r = AlignRect();
    AlignControls(nullptr, r);
    MutableControlState().Exclude(csAlignmentNeeded);
}

void TWinControl::EnableAlign() {
    if (m_alignLevel > 0)
        --m_alignLevel;
    if (m_alignLevel == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

platform::Rect TWinControl::AlignRect() const {
    platform::Rect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TWinControl::AdjustClientRect(platform::Rect& r) const {
    int inset = m_borderWidth;
    if (m_bevelOuter != bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        inset += m_bevelWidth;
    r = r.Inflate(-inset, -inset);
}

void TWinControl::AlignControls(TControl*, platform::Rect& rect) {
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (TControl* c : m_controls)
            if (c->Align() == kind && c->Visible())
                list.push_back(c);
        auto key = [kind](const TControl* c) -> std::int64_t {
            switch (kind) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(std::int64_t{c->Top()} + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(std::int64_t{c->Left()} + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(),
                         [&](const TControl* a, const TControl* b) { return key(a) < key(b); });
        for (TControl* c : list) {
            const std::int32_t w = std::max(0, rect.Width());
            const std::int32_t h = std::max(0, rect.Height());
            switch (kind) {
            case alTop:
                c->SetBounds(rect.left, rect.top, w, c->Height());
                rect.top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
                rect.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, c->Width(), h);
                rect.left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
                rect.right -= c->Width();
                break;
            case alClient:
                c->SetBounds(rect.left, rect.top, w, h);
                break;
            default:
                break;
            }
        }
    }
}

void TWinControl::SetBorderWidth(int width) {
    if (width == m_borderWidth)
        return;
    m_borderWidth = std::max(0, width);
    Realign();
    Invalidate();
}

void TWinControl::SetBevelWidth(int width) {
    if (width == m_bevelWidth)
        return;
    m_bevelWidth = std::max(1, width);
    Realign();
    Invalidate();
}

void TWinControl::SetBevelInner(TBevelCut cut) {
    if (cut == m_bevelInner)
        return;
    m_bevelInner = cut;
    Realign();
    Invalidate();
}

void TWinControl::SetBevelOuter(TBevelCut cut) {
    if (cut == m_bevelOuter)
        return;
    m_bevelOuter = cut;
    Realign();
    Invalidate();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

} // namespace toolkit
