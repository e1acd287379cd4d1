// The combo box and its list: the parts it is made of, dropping down and closing up, choosing an
// item, and painting. Keys, mouse and messages are in TComboBoxInput.cpp.

#include "toolkit/TComboBox.h"

#include <algorithm>

#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "toolkit/PlainItem.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"

namespace toolkit {
namespace {

constexpr int kFaceBorder = 2;
constexpr int kSimpleGap = 0;

bool IsButtonMessage(UINT msg) {
    using namespace platform;
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
}

} // namespace

// ---- TComboListBox --------------------------------------------------------------------------

TComboListBox::TComboListBox(TCustomComboBox& combo, bool popup)
    : TCustomListBox(popup ? nullptr : &combo), m_combo(&combo), m_popup(popup) {
    SetTabStop(false);
    if (popup) {
        SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csClickEvents});
        SetVisible(false);
    }
}

TComboListBox::~TComboListBox() = default;

void TComboListBox::CreateParams(TCreateParams& params) {
    TCustomListBox::CreateParams(params);
    if (!m_popup)
        return;
    params.Style =
        platform::WS_POPUP | platform::WS_BORDER | platform::WS_VSCROLL | platform::WS_CLIPSIBLINGS;
    params.ExStyle =
        platform::WS_EX_TOOLWINDOW | platform::WS_EX_TOPMOST | platform::WS_EX_NOACTIVATE;
}

platform::HWND TComboListBox::ParentWindowHandle() const {
    if (TCustomForm* form = m_combo ? m_combo->ParentForm() : nullptr)
        return form->Handle();
    return {};
}

void TComboListBox::Click() {
    // The list under a simple combo box: a click or a key there is a choice.
    if (!m_popup && m_combo && ItemIndex() >= 0)
        m_combo->Choose(ItemIndex(), true);
    else
        TCustomListBox::Click();
}

void TComboListBox::DrawItem(TCanvas& canvas, int index, const platform::Rect& rect, bool selected,
                             bool focusMark) {
    if (!m_combo || !m_combo->OwnerDrawn()) {
        TCustomListBox::DrawItem(canvas, index, rect, selected, focusMark);
        return;
    }
    TComboItemStates state;
    state.Set(ciSelected, selected);
    state.Set(ciFocused, focusMark);
    state.Set(ciDisabled, !m_combo->Enabled());
    m_combo->DrawItemOn(canvas, index, rect, state);
}

void TComboListBox::StartTracking() {
    m_entered = false;
    m_trackingBar = false;
    platform::SetCapture(Handle());
}

void TComboListBox::WndProc(TMessage& m) {
    using namespace platform;
    ++m_busy;
    struct Done {
        int& busy;
        ~Done() { --busy; }
    } done{m_busy};
    if (m_popup && m_combo) {
        if ((m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) && m.Msg != WM_MOUSEWHEEL) {
            PopupMouse(m);
            return;
        }
        if (m.Msg == WM_CAPTURECHANGED) {
            // Someone else took the mouse: the list cannot stay down without it.
            if (!m_trackingBar && m_combo->DroppedDown() && !m_combo->m_closing)
                m_combo->CloseUp(false);
            return;
        }
        if (m.Msg == WM_MOUSEACTIVATE) {
            m.Result = MA_NOACTIVATE;
            return;
        }
    }
    TCustomListBox::WndProc(m);
}

void TComboListBox::PopupMouse(TMessage& m) {
    using namespace platform;
    const Point client = LParamToPoint(m.LParam);
    const Point screen = ClientToScreen(client);
    Rect windowRect;
    GetWindowRect(HandleIfAllocated(), windowRect);
    const bool inClient = ClientRect().Contains(client);
    const std::weak_ptr<const bool> alive = m_combo->LifeToken();

    if (m.Msg == WM_MOUSEMOVE) {
        if (inClient) {
            m_entered = true;
            const int index = ItemAtPos(client, true);
            if (index >= 0 && index != ItemIndex())
                SetItemIndex(index);
        }
        return;
    }
    if (IsButtonMessage(m.Msg)) {
        if (inClient) {
            m_entered = true;
            const int index = ItemAtPos(client, true);
            if (index >= 0)
                SetItemIndex(index);
            return;
        }
        if (windowRect.Contains(screen)) {
            // The list's own scroll bar: let it track, then take the mouse back.
            const auto hit =
                SendMessage(HandleIfAllocated(), WM_NCHITTEST, 0, PointToLParam(screen));
            m_trackingBar = true;
            ReleaseCapture();
            SendMessage(HandleIfAllocated(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit),
                        PointToLParam(screen));
            m_trackingBar = false;
            if (!alive.expired() && m_combo && m_combo->DroppedDown())
                SetCapture(HandleIfAllocated());
            return;
        }
        // Anywhere else (the face and button included) closes the list; the click ends here.
        m_combo->CloseUp(false);
        return;
    }
    if (m.Msg == WM_LBUTTONUP && inClient && m_entered) {
        const int index = ItemAtPos(client, true);
        if (index >= 0)
            m_combo->CloseUp(true);
    }
}

// ---- TCustomComboBox ------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption, csClickEvents, csDoubleClicks});
    SetColor(clWindow);
    SetTabStop(true);
    m_items.OnChange = [this](TItemStrings::TChange change, int index) {
        ItemsChanged(change, index);
    };
    BuildParts();
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() {
    m_items.OnChange = nullptr;
    if (m_edit) {
        // The part's message hook points back here; it goes before this object does.
        m_edit->SetWindowProc(nullptr);
        m_edit->OnChange = nullptr;
        TComponent::Free(m_edit);
        m_edit = nullptr;
    }
    if (m_list) {
        // The list may be handling the very message that freed this combo box: it goes
        // after that message.
        m_list->Detach();
        if (m_list->HandleAllocated() && platform::GetCapture() == m_list->HandleIfAllocated())
            platform::ReleaseCapture();
        m_list->SetVisible(false);
        TApplication* app = Application();
        if (app && m_list->Busy())
            app->ReleaseLater(m_list.release());
        else
            m_list.reset();
    }
}

int TCustomComboBox::ItemHeight() const {
    if (OwnerDrawn() && m_itemHeight > 0)
        return m_itemHeight;
    return std::max(platform::TextExtent(*Font().Handle(), U"Ag").cy, 1);
}

void TCustomComboBox::SetItemHeight(int height) {
    height = std::max(height, 0);
    if (height == m_itemHeight)
        return;
    CloseUp(false);
    m_itemHeight = height;
    SetBounds(Left(), Top(), Width(), m_simpleHeight);
    Invalidate();
}

int TCustomComboBox::FaceHeight() const {
    return ItemHeight() + 8;
}

void TCustomComboBox::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height) {
    // The face has the height its font needs; only the simple style has room for more.
    m_simpleHeight = height;
    if (m_style != csSimple)
        height = FaceHeight();
    TCustomControl::SetBounds(left, top, width, height);
    LayoutParts();
}

platform::Rect TCustomComboBox::ButtonRect() const {
    if (m_style == csSimple)
        return {};
    const int w = platform::GetSystemMetrics(platform::SM_CXVSCROLL);
    const int right = Width() - kFaceBorder;
    return {std::max(right - w, kFaceBorder), kFaceBorder, right, FaceHeight() - kFaceBorder};
}

platform::Rect TCustomComboBox::ItemTextRect() const {
    const int right = m_style == csSimple ? Width() - 3 : ButtonRect().left - 1;
    return {3, 3, std::max(right, 3), FaceHeight() - 3};
}

bool TCustomComboBox::HasFocus() const {
    return Focused() || (m_edit && m_edit->Focused());
}

std::string TCustomComboBox::Text() const {
    if (m_edit)
        return m_edit->Text();
    if (m_itemIndex >= 0 && m_itemIndex < m_items.Count())
        return m_items[m_itemIndex];
    return "";
}

void TCustomComboBox::ApplyText() {
    const std::string text = TControl::Text();
    ++m_programWrite;
    if (m_edit) {
        m_edit->SetText(text);
        m_itemIndex = m_items.IndexOf(text);
    } else {
        m_itemIndex = m_items.IndexOf(text);
    }
    --m_programWrite;
    if (m_simpleList)
        m_simpleList->SetItemIndex(m_itemIndex);
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= m_items.Count())
        index = -1;
    const bool same = index == m_itemIndex;
    m_itemIndex = index;
    ++m_programWrite;
    if (m_edit && !(same && index < 0))
        m_edit->SetText(index >= 0 ? m_items[index] : "");
    --m_programWrite;
    if (m_simpleList)
        m_simpleList->SetItemIndex(index);
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style == m_style)
        return;
    CloseUp(false);
    m_style = style;
    BuildParts();
    SetBounds(Left(), Top(), Width(), m_simpleHeight);
    Invalidate();
}

void TCustomComboBox::BuildParts() {
    const std::string text = Text();
    const bool wantEdit = !ListOnly();
    if (!wantEdit && m_edit) {
        m_edit->SetWindowProc(nullptr);
        m_edit->OnChange = nullptr;
        TComponent::Free(m_edit);
        m_edit = nullptr;
    }
    if (wantEdit && !m_edit) {
        m_edit = new TComboTextPart(this);
        m_edit->SetBorderStyle(TFormBorderStyle::bsNone);
        m_edit->SetTabStop(false);
        m_edit->SetParentColor(true);
        m_edit->SetParent(this);
        ++m_programWrite;
        m_edit->SetText(text);
        --m_programWrite;
        m_edit->OnChange = [this](TObject*) { TextPartChanged(); };
        TWndMethod inner = m_edit->WindowProc();
        m_edit->SetWindowProc([this, inner](TMessage& m) {
            if (!TextPartMessage(m))
                inner(m);
        });
    }
    const bool wantList = m_style == csSimple;
    if (!wantList && m_simpleList) {
        TComponent::Free(m_simpleList);
        m_simpleList = nullptr;
    }
    if (wantList && !m_simpleList) {
        m_simpleList = new TComboListBox(*this, false);
        m_simpleList->SetParentFont(true);
        m_simpleList->SetParent(this);
        SyncSimpleList();
    }
    LayoutParts();
}

void TCustomComboBox::LayoutParts() {
    if (m_edit)
        m_edit->SetBoundsRect(ItemTextRect());
    if (m_simpleList)
        m_simpleList->SetBounds(0, FaceHeight() + kSimpleGap, Width(),
                                std::max(Height() - FaceHeight() - kSimpleGap, 0));
}

void TCustomComboBox::SyncSimpleList() {
    if (!m_simpleList)
        return;
    m_simpleList->Items().Assign(m_items.Lines());
    m_simpleList->SetItemIndex(m_itemIndex);
}

void TCustomComboBox::ItemsChanged(TItemStrings::TChange change, int index) {
    using C = TItemStrings::TChange;
    CloseUp(false);
    if (change == C::Reset)
        m_itemIndex = m_edit ? m_items.IndexOf(m_edit->Text()) : -1;
    else if (change == C::Delete && index == m_itemIndex)
        m_itemIndex = -1;
    else if (change == C::Delete && index < m_itemIndex)
        --m_itemIndex;
    else if (change == C::Insert && index <= m_itemIndex)
        ++m_itemIndex;
    SyncSimpleList();
    Invalidate();
}

void TCustomComboBox::SetDroppedDown(bool on) {
    if (on)
        DropDown();
    else
        CloseUp(false);
}

void TCustomComboBox::DropDown() {
    if (m_droppedDown || m_style == csSimple || !HandleAllocated())
        return;
    const std::weak_ptr<const bool> alive = LifeToken();
    Fire(OnDropDown, this);
    if (alive.expired())
        return;
    if (!m_list)
        m_list = std::make_unique<TComboListBox>(*this, true);
    TComboListBox& list = *m_list;
    list.Font().Assign(&Font());
    list.SetColor(Color());
    list.Items().Assign(m_items.Lines());
    list.SetItemHeight(OwnerDrawn() ? ItemHeight() : 0);
    const int rows = std::clamp(m_items.Count(), 1, m_dropDownCount);
    const int height = rows * list.ItemHeight() + 2;
    platform::Point at = ClientToScreen({0, Height()});
    const platform::Rect work = platform::GetWorkArea();
    if (!work.IsEmpty() && at.y + height > work.bottom &&
        ClientToScreen({0, 0}).y - height >= work.top)
        at.y = ClientToScreen({0, 0}).y - height;
    list.SetBounds(at.x, at.y, Width(), height);
    list.HandleNeeded();
    list.SetItemIndex(m_itemIndex);
    list.MakeVisible(std::max(m_itemIndex, 0));
    m_droppedDown = true;
    list.SetVisible(true);
    platform::SetWindowPos(list.Handle(), platform::HWND_TOPMOST, 0, 0, 0, 0,
                           platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
    list.StartTracking();
    Invalidate();
}

void TCustomComboBox::CloseUp(bool choose) {
    if (!m_droppedDown)
        return;
    m_droppedDown = false;
    m_buttonDown = false;
    const int index = m_list ? m_list->ItemIndex() : -1;
    m_closing = true;
    if (m_list) {
        if (m_list->HandleAllocated() && platform::GetCapture() == m_list->HandleIfAllocated())
            platform::ReleaseCapture();
        m_list->SetVisible(false);
    }
    m_closing = false;
    Invalidate();
    const std::weak_ptr<const bool> alive = LifeToken();
    Fire(OnCloseUp, this);
    if (alive.expired())
        return;
    if (choose && index >= 0)
        Choose(index, true);
}

void TCustomComboBox::Choose(int index, bool always) {
    if (index < 0 || index >= m_items.Count())
        return;
    bool changed = index != m_itemIndex;
    m_itemIndex = index;
    if (m_edit) {
        changed = changed || m_edit->Text() != m_items[index];
        ++m_programWrite;
        m_edit->SetText(m_items[index]);
        m_edit->SelectAll();
        --m_programWrite;
    }
    if (m_simpleList)
        m_simpleList->SetItemIndex(index);
    Invalidate();
    if (changed || always)
        Change();
}

void TCustomComboBox::Change() {
    Fire(OnChange, this);
}

void TCustomComboBox::TextPartChanged() {
    if (m_programWrite > 0)
        return;
    m_itemIndex = m_items.IndexOf(m_edit->Text());
    if (m_simpleList)
        m_simpleList->SetItemIndex(m_itemIndex);
    Change();
}

void TCustomComboBox::Paint() {
    TCanvas& c = Canvas();
    PaintFace(c);
    if (m_style != csSimple)
        PaintButton(c, ButtonRect());
    if (m_style == csDropDownList)
        PaintSelectedItem(c, ItemTextRect());
    if (OwnerDrawn()) {
        const platform::Rect rect = ItemTextRect();
        const bool focused = Focused() && !m_droppedDown && Enabled();
        TComboItemStates state{ciFace};
        state.Set(ciSelected, focused);
        state.Set(ciFocused, focused);
        state.Set(ciDisabled, !Enabled());
        if (m_itemIndex >= 0) {
            platform::DcStateGuard guard(c.Handle());
            DrawItem(m_itemIndex, rect, state);
        } else if (focused) {
            platform::FillRect(c.Handle(), rect, ColorToRGB(clHighlight));
        }
        if (focused)
            platform::DrawFocusRect(c.Handle(), rect);
    }
}

void TCustomComboBox::DrawItemOn(TCanvas& canvas, int index, const platform::Rect& rect,
                                 TComboItemStates state) {
    TControlCanvas& own = Canvas();
    platform::DeviceContext* previous = own.HandleAllocated() ? &own.Handle() : nullptr;
    own.SetHandle(&canvas.Handle());
    {
        platform::DcStateGuard guard(canvas.Handle());
        DrawItem(index, rect, state);
    }
    own.SetHandle(previous);
}

void TCustomComboBox::DrawItem(int index, const platform::Rect& rect, TComboItemStates state) {
    if (OnDrawItem) {
        Fire(OnDrawItem, this, index, rect, state);
        return;
    }
    if (index < 0 || index >= m_items.Count())
        return;
    platform::DeviceContext& dc = Canvas().Handle();
    const bool selected = state.Contains(ciSelected);
    if (selected)
        platform::FillRect(dc, rect, ColorToRGB(clHighlight));
    platform::SelectFont(dc, Font().Handle());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    platform::SetTextColor(dc, ColorToRGB(state.Contains(ciDisabled) ? clGrayText
                                          : selected                 ? clHighlightText
                                                                     : Font().Color()));
    platform::Rect text = rect;
    text.left += 2;
    platform::DrawText(dc, m_items[index], text,
                       platform::DT_SINGLELINE | platform::DT_NOPREFIX | platform::DT_VCENTER);
}

void TCustomComboBox::PaintFace(TCanvas& canvas) {
    platform::DeviceContext& dc = canvas.Handle();
    const platform::Rect face{0, 0, Width(), FaceHeight()};
    const platform::Rect inner = platform::DrawEdge3D(dc, face, platform::EdgeKind::Sunken);
    platform::FillRect(dc, inner, ColorToRGB(Enabled() ? Color() : clBtnFace));
}

void TCustomComboBox::PaintButton(TCanvas& canvas, const platform::Rect& rect) {
    platform::DrawClassicButton(canvas.Handle(), rect, platform::FrameGlyph::ArrowDown,
                                ButtonPressed(), Enabled());
}

void TCustomComboBox::PaintSelectedItem(TCanvas& canvas, const platform::Rect& rect) {
    const bool highlight = Focused() && !m_droppedDown && Enabled();
    DrawPlainItem(canvas, *this, Text(), rect, highlight, highlight);
}

} // namespace toolkit
