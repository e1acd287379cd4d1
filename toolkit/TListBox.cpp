#include "toolkit/TListBox.h"

#include <algorithm>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/ScrollBar.h"
#include "toolkit/PlainItem.h"

namespace toolkit {
namespace {

constexpr int kWheelLines = 3;

} // namespace

bool ListNavigationTarget(platform::WORD key, int from, int count, int page, int& target) {
    using namespace platform;
    const int last = count - 1;
    page = std::max(page, 1);
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        target = from < 0 ? 0 : from - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = from + 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = last;
        break;
    case VK_PRIOR:
        target = from - page;
        break;
    case VK_NEXT:
        target = from < 0 ? page : from + page;
        break;
    default:
        return false;
    }
    target = last < 0 ? -1 : std::clamp(target, 0, last);
    return true;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
    m_items.OnChange = [this](TItemStrings::TChange change, int index) {
        ItemsChanged(change, index);
    };
}

TCustomListBox::~TCustomListBox() {
    m_items.OnChange = nullptr;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= platform::WS_VSCROLL;
    params.ExStyle |= platform::WS_EX_CLIENTEDGE;
}

int TCustomListBox::ItemHeight() const {
    if (m_itemHeight > 0)
        return m_itemHeight;
    return std::max(platform::TextExtent(*Font().Handle(), U"Ag").cy, 1);
}

void TCustomListBox::SetItemHeight(int height) {
    m_itemHeight = std::max(height, 0);
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::VisibleItemCount() const {
    return std::max(ClientHeight() / ItemHeight(), 1);
}

platform::Rect TCustomListBox::ItemRect(int index) const {
    const int h = ItemHeight();
    return platform::Rect::FromSize(0, (index - m_topIndex) * h, ClientWidth(), h);
}

int TCustomListBox::ItemAtPos(platform::Point p, bool existing) const {
    if (Count() == 0)
        return -1;
    const int row = p.y < 0 ? -1 - (-p.y - 1) / ItemHeight() : p.y / ItemHeight();
    const int index = m_topIndex + row;
    if (existing)
        return index >= 0 && index < Count() && p.x >= 0 && p.x < ClientWidth() ? index : -1;
    return std::clamp(index, 0, Count() - 1);
}

void TCustomListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    if (index == m_itemIndex)
        return;
    m_itemIndex = index;
    if (index >= 0)
        MakeVisible(index);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int index) {
    const int most = std::max(Count() - VisibleItemCount(), 0);
    index = std::clamp(index, 0, most);
    if (index == m_topIndex)
        return;
    m_topIndex = index;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::MakeVisible(int index) {
    if (index < 0)
        return;
    if (index < m_topIndex)
        SetTopIndex(index);
    else if (index >= m_topIndex + VisibleItemCount())
        SetTopIndex(index - VisibleItemCount() + 1);
}

void TCustomListBox::SelectByUser(int index) {
    if (index < 0 || index >= Count())
        return;
    MakeVisible(index);
    if (index == m_itemIndex)
        return;
    m_itemIndex = index;
    Invalidate();
    UserSelected();
}

void TCustomListBox::UserSelected() {
    Click();
}

void TCustomListBox::ItemsChanged(TItemStrings::TChange change, int index) {
    using C = TItemStrings::TChange;
    if (change == C::Reset) {
        m_itemIndex = -1;
    } else if (change == C::Delete) {
        if (index == m_itemIndex)
            m_itemIndex = -1;
        else if (index < m_itemIndex)
            --m_itemIndex;
    } else if (change == C::Insert && index <= m_itemIndex) {
        ++m_itemIndex;
    }
    m_topIndex = std::clamp(m_topIndex, 0, std::max(Count() - VisibleItemCount(), 0));
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::UpdateScrollBar() {
    if (!HandleAllocated() || m_updatingScrollBar)
        return;
    m_updatingScrollBar = true;
    platform::SCROLLINFO si;
    si.fMask = platform::SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(Count() - 1, 0);
    si.nPage = static_cast<platform::UINT>(Count() > 0 ? VisibleItemCount() : 1);
    si.nPos = m_topIndex;
    platform::SetScrollInfo(HandleIfAllocated(), platform::SB_VERT, si, true);
    m_updatingScrollBar = false;
    // Showing or hiding the bar changes the client height, and with it how much fits.
    const int most = std::max(Count() - VisibleItemCount(), 0);
    if (m_topIndex > most) {
        m_topIndex = most;
        UpdateScrollBar();
        Invalidate();
    }
}

void TCustomListBox::Scroll(int code) {
    using namespace platform;
    switch (code) {
    case SB_LINEUP:
        SetTopIndex(m_topIndex - 1);
        break;
    case SB_LINEDOWN:
        SetTopIndex(m_topIndex + 1);
        break;
    case SB_PAGEUP:
        SetTopIndex(m_topIndex - VisibleItemCount());
        break;
    case SB_PAGEDOWN:
        SetTopIndex(m_topIndex + VisibleItemCount());
        break;
    case SB_TOP:
        SetTopIndex(0);
        break;
    case SB_BOTTOM:
        SetTopIndex(Count());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(HandleIfAllocated(), SB_VERT, si))
            SetTopIndex(si.nTrackPos);
        break;
    }
    default:
        break;
    }
}

void TCustomListBox::WndProc(TMessage& m) {
    using namespace platform;
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_VSCROLL:
        Scroll(LOWORD(m.WParam));
        return;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / 120;
        SetTopIndex(m_topIndex - notches * kWheelLines);
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        UpdateScrollBar();
        return;
    case CM_FONTCHANGED:
        TCustomControl::WndProc(m);
        UpdateScrollBar();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

void TCustomListBox::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollBar();
}

bool TCustomListBox::DoKeyDown(platform::WORD& key, TShiftState shift) {
    if (TCustomControl::DoKeyDown(key, shift))
        return true;
    int target = -1;
    if (!ListNavigationTarget(key, m_itemIndex, Count(), VisibleItemCount() - 1, target))
        return false;
    SelectByUser(target);
    return true;
}

bool TCustomListBox::DoKeyPress(char32_t& key) {
    if (TCustomControl::DoKeyPress(key))
        return true;
    if (key <= 0x20)
        return false;
    const int target = m_items.NextStartingWith(key, m_itemIndex);
    if (target >= 0)
        SelectByUser(target);
    return true;
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused())
            SetFocus();
        const int index = ItemAtPos({x, y}, false);
        if (index >= 0) {
            MakeVisible(index);
            if (index != m_itemIndex) {
                m_itemIndex = index;
                Invalidate();
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
    if (shift.Contains(ssLeft) && MouseCapture()) {
        const int index = ItemAtPos({x, y}, false);
        if (index >= 0) {
            MakeVisible(index);
            if (index != m_itemIndex) {
                m_itemIndex = index;
                Invalidate();
            }
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::Paint() {
    TCanvas& c = Canvas();
    const platform::Rect client = ClientRect();
    PaintBackground(c, client);
    const int last = std::min(Count(), m_topIndex + VisibleItemCount() + 1);
    const bool focused = Focused();
    for (int i = m_topIndex; i < last; ++i)
        DrawItem(c, i, ItemRect(i), i == m_itemIndex, focused && i == m_itemIndex);
}

void TCustomListBox::PaintBackground(TCanvas& canvas, const platform::Rect& rect) {
    platform::FillRect(canvas.Handle(), rect, ColorToRGB(Color()));
}

void TCustomListBox::DrawItem(TCanvas& canvas, int index, const platform::Rect& rect, bool selected,
                              bool focusMark) {
    DrawPlainItem(canvas, *this, m_items[index], rect, selected, focusMark);
}

} // namespace toolkit
