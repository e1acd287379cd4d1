#include "skinned/TsComboBox.h"

#include <algorithm>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "skin/SkinModel.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollWnd.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"

namespace skinned {

namespace {

constexpr const char* kButtonSection = "COMBOBTN";
constexpr std::uint16_t kCmdParentUpdated = 6;
constexpr std::uint16_t kCmdDroppedDown = 14;
// The face's frame: the button and the chosen item keep this far from the edges.
constexpr int kInset = 3;

bool IsChoosingKey(platform::WORD key) {
    switch (key) {
    case platform::VK_UP:
    case platform::VK_DOWN:
    case platform::VK_LEFT:
    case platform::VK_RIGHT:
    case platform::VK_HOME:
    case platform::VK_END:
    case platform::VK_PRIOR:
    case platform::VK_NEXT:
    case platform::VK_F4:
    case platform::VK_DELETE:
    case platform::VK_BACK:
        return true;
    default:
        return false;
    }
}

} // namespace

TsCustomComboBox::TsCustomComboBox(toolkit::TComponent* owner)
    : TacSkinnedControl(owner, {skin::kTypeEdit}), m_data(&SkinData()),
      m_boundLabel(std::make_unique<TsBoundLabel>(SkinData())) {
    SetDropDownCount(kDefaultDropDownCount);
    // The section of a combo box, whatever its type code says of edits.
    m_data->SetSkinSection("COMBOBOX");
}

// The list adapter and the label go before the skin state they use.
TsCustomComboBox::~TsCustomComboBox() {
    m_listAdapter.reset();
    m_boundLabel.reset();
    m_data = nullptr;
}

void TsCustomComboBox::SetDisabledKind(TacDisabledKind kind) {
    if (kind.Bits() == m_disabledKind.Bits())
        return;
    m_disabledKind = kind;
    Changed();
}

void TsCustomComboBox::SetAlignment(toolkit::TAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    Changed();
}

void TsCustomComboBox::SetReadOnly(bool on) {
    m_readOnly = on;
    if (on)
        CloseUp(false);
    GuardTextPart();
    if (TextPart())
        TextPart()->SetReadOnly(on);
    Changed();
}

void TsCustomComboBox::GuardTextPart() {
    toolkit::TComboTextPart* part = TextPart();
    if (!part || part == m_guardedPart)
        return;
    m_guardedPart = part;
    // The text part's keys reach the list before the combo box sees them: a read-only combo
    // box stops them at the part. Its paints are ours while it shows the face.
    toolkit::TWndMethod inner = part->WindowProc();
    part->SetWindowProc([this, part, inner](toolkit::TMessage& m) {
        if (TextPartShowsFace()) {
            switch (m.Msg) {
            case platform::WM_ERASEBKGND:
                m.Result = 1;
                return;
            case platform::WM_NCPAINT:
                return;
            case platform::WM_PAINT:
                PaintTextPart(*part, m);
                return;
            default:
                break;
            }
        }
        if (m_readOnly) {
            switch (m.Msg) {
            case platform::WM_KEYDOWN:
            case platform::WM_SYSKEYDOWN:
                if (IsChoosingKey(static_cast<platform::WORD>(m.WParam)))
                    return;
                break;
            case platform::WM_CHAR:
            case platform::WM_CUT:
            case platform::WM_PASTE:
            case platform::WM_CLEAR:
            case platform::WM_UNDO:
                return;
            default:
                break;
            }
        }
        inner(m);
    });
}

bool TsCustomComboBox::Skinned() const {
    return m_data && m_data->Skinned(true);
}

bool TsCustomComboBox::Painting() const {
    return Skinned() && !m_data->IsUpdating();
}

bool TsCustomComboBox::TextPartShowsFace() const {
    return Style() == toolkit::csDropDown && Skinned() && (!HasFocus() || !Enabled() || m_readOnly);
}

void TsCustomComboBox::PaintTextPart(toolkit::TComboTextPart& part, toolkit::TMessage& m) {
    // The part lies on the face where the face shows the text: it shows that piece of it.
    const auto copy = [&](platform::DeviceContext& dc) {
        if (Painting())
            RenewFace();
        toolkit::TBitmap* cache = m_data->CacheBmp();
        if (!cache || cache->Width() != Width() || cache->Height() != Height())
            return;
        platform::BitBlt(dc, 0, 0, part.Width(), part.Height(), cache->DC(), part.Left(),
                         part.Top(), platform::RasterOp::SrcCopy);
    };
    if (auto* given = reinterpret_cast<platform::DeviceContext*>(m.WParam)) {
        copy(*given);
        return;
    }
    if (!part.HandleAllocated())
        return;
    platform::PAINTSTRUCT ps;
    if (platform::HDC dc = platform::BeginPaint(part.HandleIfAllocated(), ps))
        copy(*dc);
    platform::EndPaint(part.HandleIfAllocated(), ps);
}

platform::Rect TsCustomComboBox::SkinButtonRect() const {
    if (Style() == toolkit::csSimple)
        return {};
    const int width = platform::GetSystemMetrics(platform::SM_CXVSCROLL);
    const int right = Width() - kInset;
    return {std::max(kInset, right - width), kInset, right, FaceHeight() - kInset};
}

TsCustomComboBox::FaceKey TsCustomComboBox::Key() const {
    FaceKey key;
    const bool hot = skin::Highlighted(this, *m_data) || HasFocus();
    key.state = DroppedDown() ? 2 : hot ? 1 : 0;
    key.focused = HasFocus();
    key.enabled = Enabled();
    key.size = {Width(), FaceHeight()};
    key.position = {Left(), Top()};
    // A simple combo box's text part always shows itself.
    key.text = Style() != toolkit::csSimple ? Text() : std::string{};
    key.sectionIndex = m_data->SectionIndex();
    key.alignment = m_alignment;
    return key;
}

void TsCustomComboBox::Changed() {
    if (!m_data)
        return;
    m_data->SetBackgroundChanged(true);
    Invalidate();
    if (TextPart() && TextPartShowsFace())
        TextPart()->Invalidate();
}

void TsCustomComboBox::PaintSkinButton(toolkit::TBitmap& cache, const platform::Rect& area,
                                       std::int32_t state) {
    skin::TsSkinManager* manager = m_data->Manager();
    if (!manager || area.IsEmpty())
        return;
    const std::int32_t buttonSection = manager->FindSectionIndex(kButtonSection);
    if (buttonSection >= 0) {
        skin::TsSectionPaint paint;
        paint.SectionIndex = buttonSection;
        paint.SectionName = kButtonSection;
        paint.Manager = manager;
        // The button stands on the face just painted.
        paint.Parent = {&cache, 0, 0, true};
        // State 2 (the list is down) shows the button pressed where the section has the image.
        paint.State = state;
        paint.TextureIndex = manager->FindTextureIndex(buttonSection, kButtonSection, "PATTERN");
        paint.HotTextureIndex =
            manager->FindTextureIndex(buttonSection, kButtonSection, "HOTPATTERN");
        skin::PaintSection(paint, cache, area);
    }
    const std::string& section = m_data->SkinSection();
    const std::int32_t index =
        manager->FindPieceIndex(m_data->SectionIndex(), section, "GLYPHMASK");
    if (index < 0 || static_cast<std::size_t>(index) >= manager->ma().size())
        return;
    const skin::TsMaskData& glyph = manager->ma()[static_cast<std::size_t>(index)];
    // Counts come from the skin text: nothing below one frame and one image.
    const std::int32_t frames = std::max<std::int32_t>(1, glyph.ImageCount);
    const std::int32_t layers = std::max<std::int32_t>(1, glyph.MaskType + 1);
    const std::int32_t w = skin::PieceWidth(glyph) / frames;
    const std::int32_t h = skin::PieceHeight(glyph) / layers;
    if (w <= 0 || h <= 0)
        return;
    const std::int32_t x = area.left + (area.Width() - w) / 2;
    const std::int32_t y = (FaceHeight() - h) / 2;
    // A glyph wider than the button (a strip whose frame count the skin leaves out) stays on
    // the button instead of covering the chosen item's text.
    platform::Point origin;
    const skin::TacRows24 button = skin::SubRows(skin::TacRows24(cache), area, origin);
    skin::DrawGlyphPiece(button, {x - origin.x, y - origin.y}, std::min(state, frames - 1), glyph,
                         1);
}

void TsCustomComboBox::PaintSelected(toolkit::TBitmap& cache, const FaceKey& key) {
    const bool list = Style() == toolkit::csDropDownList;
    if (Style() == toolkit::csSimple || (list && ItemIndex() < 0))
        return;
    const platform::Rect button = SkinButtonRect();
    platform::Rect rect{kInset, kInset, std::max(kInset, button.left), FaceHeight() - kInset};
    platform::DeviceContext& dc = cache.Canvas().Handle();
    platform::DcStateGuard guard(dc);
    const bool highlight = list && key.focused && key.enabled;
    if (highlight)
        platform::FillRect(dc, rect, toolkit::ColorToRGB(toolkit::clHighlight));
    platform::SelectFont(dc, Font().Handle());
    platform::SetBkMode(dc, platform::BkMode::Transparent);
    platform::SetTextColor(
        dc, toolkit::ColorToRGB(highlight ? toolkit::clHighlightText : Font().Color()));
    unsigned flags =
        toolkit::AlignmentFlags(m_alignment) | platform::DT_SINGLELINE | platform::DT_NOPREFIX;
    platform::Rect text = rect.Offset(1, 1);
    if (list) {
        flags |= platform::DT_VCENTER;
    } else if (const toolkit::TComboTextPart* part = TextPart()) {
        // Where the text part shows the text itself, so that it does not move on focusing.
        text = part->TextRect().Offset(part->Left(), part->Top());
    }
    platform::DrawText(dc, key.text, text, flags);
    if (highlight)
        platform::DrawFocusRect(dc, rect);
}

void TsCustomComboBox::BuildFace(const FaceKey& key) {
    toolkit::TBitmap* cache = m_data->PrepareCache();
    if (!cache || cache->Empty())
        return;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*this);
    const platform::Rect face{0, 0, key.size.cx, std::min(key.size.cy, cache->Height())};
    skin::PaintControlSection(*m_data, parent, true, 1, key.state == 0 ? 0 : 1, cache, key.position,
                              face);
    PaintSkinButton(*cache, SkinButtonRect(), key.state);
    if (!(OwnerDrawn() && OnDrawItem))
        PaintSelected(*cache, key);
    if (!key.enabled)
        skin::PaintDisabledLook(*cache, DisabledFlags(m_disabledKind), toolkit::ColorToRGB(Color()),
                                key.position, parent);
    m_data->SetBackgroundChanged(false);
    m_builtFrom = key;
}

void TsCustomComboBox::RenewFace() {
    const FaceKey key = Key();
    const toolkit::TBitmap* cache = m_data->CacheBmp();
    const bool stale = !cache || cache->Width() != Width() || cache->Height() != Height();
    if (stale || m_data->BackgroundChanged() || !m_builtFrom || *m_builtFrom != key)
        BuildFace(key);
}

void TsCustomComboBox::PutFace(const platform::Rect& part) {
    if (part.IsEmpty())
        return;
    skin::PutCacheOnDC(*this, *m_data, part, 0, 0, false, Canvas().Handle(), part);
}

void TsCustomComboBox::Paint() {
    if (!Painting()) {
        // While the skin state updates, the paint is only validated: the plain look would
        // flash between two skinned ones.
        if (!Skinned())
            toolkit::TCustomComboBox::Paint();
        return;
    }
    RenewFace();
    const platform::Rect face{0, 0, Width(), FaceHeight()};
    // What a native part shows itself is left to it: the text part of a focused drop-down
    // combo box (the frame and the button stay ours), everything inside a simple one's frame.
    std::optional<platform::Rect> native;
    if (Enabled() && Style() == toolkit::csSimple)
        native = face.Inflate(-kInset, -kInset);
    else if (Enabled() && Style() == toolkit::csDropDown && HasFocus() && TextPart())
        native = TextPart()->BoundsRect();
    if (!native || native->IsEmpty()) {
        PutFace(face);
    } else {
        PutFace({face.left, face.top, face.right, native->top});
        PutFace({face.left, native->bottom, face.right, face.bottom});
        PutFace({face.left, native->top, native->left, native->bottom});
        PutFace({native->right, native->top, face.right, native->bottom});
    }
    platform::DeviceContext& dc = Canvas().Handle();
    if (OwnerDrawn() && OnDrawItem && ItemIndex() >= 0) {
        const platform::Rect button = SkinButtonRect();
        const platform::Rect rect{kInset, kInset, std::max(kInset, button.left),
                                  FaceHeight() - kInset};
        toolkit::TComboItemStates state{toolkit::ciFace};
        const bool focused = HasFocus() && !DroppedDown() && Enabled();
        state.Set(toolkit::ciSelected, focused);
        state.Set(toolkit::ciFocused, focused);
        state.Set(toolkit::ciDisabled, !Enabled());
        platform::DcStateGuard guard(dc);
        DrawItem(ItemIndex(), rect, state);
    }
}

void TsCustomComboBox::DropDown() {
    if (m_readOnly)
        return;
    // OnDropDown runs in there and may free the combo box.
    const std::weak_ptr<const bool> alive = LifeToken();
    toolkit::TCustomComboBox::DropDown();
    if (alive.expired() || !DroppedDown() || m_listAdapter || !ListBox() || !m_data->Skinned(true))
        return;
    // Only a list with more items than it shows gets a scroll bar to skin.
    if (Items().Count() > DropDownCount() && ListBox()->HandleAllocated())
        m_listAdapter = std::make_unique<TacComboListWnd>(ListBox()->HandleIfAllocated(), nullptr,
                                                          m_data->Manager());
}

bool TsCustomComboBox::DoKeyDown(platform::WORD& key, toolkit::TShiftState shift) {
    if (m_readOnly && IsChoosingKey(key)) {
        key = 0;
        return true;
    }
    return toolkit::TCustomComboBox::DoKeyDown(key, shift);
}

bool TsCustomComboBox::DoKeyPress(char32_t& key) {
    if (m_readOnly) {
        key = 0;
        return true;
    }
    return toolkit::TCustomComboBox::DoKeyPress(key);
}

void TsCustomComboBox::TextPartColors() {
    toolkit::TComboTextPart* part = TextPart();
    if (!part)
        return;
    part->SetColor(Color());
    part->Font().SetColor(Font().Color());
}

void TsCustomComboBox::PassToList(const toolkit::TMessage& m) {
    if (m_listAdapter && m_listAdapter->Attached())
        platform::SendMessage(m_listAdapter->Handle(), m.Msg, m.WParam, m.LParam);
}

void TsCustomComboBox::SkinCommand(toolkit::TMessage& m) {
    if (!m_data) {
        TacSkinnedControl::SkinCommand(m);
        return;
    }
    const std::uint16_t command = skin::CommandOf(m.WParam);
    const bool mine =
        reinterpret_cast<const skin::TsSkinManager*>(m.LParam) == m_data->SkinManager();
    switch (command) {
    case skin::kCmdNewSkin:
        m_data->WndProc(m);
        PassToList(m);
        m_builtFrom.reset();
        return;
    case skin::kCmdSkinRemoved:
        // The skin state gives an edit-like control the system's window colours back.
        m_data->WndProc(m);
        if (mine) {
            m_listAdapter.reset();
            m_builtFrom.reset();
            TextPartColors();
            Invalidate();
        }
        return;
    case skin::kCmdRefresh:
        m_data->WndProc(m);
        PassToList(m);
        if (mine && m_data->Skinned(true)) {
            TextPartColors();
            Changed();
        }
        return;
    case kCmdParentUpdated:
        if (m_data->Updating()) {
            m_data->SetUpdating(false);
            Changed();
        }
        return;
    case kCmdDroppedDown:
        m.Result = DroppedDown() ? 1 : 0;
        return;
    default:
        m_data->WndProc(m);
        return;
    }
}

void TsCustomComboBox::SkinnedWndProc(toolkit::TMessage& m) {
    if (!m_data) {
        TacSkinnedControl::SkinnedWndProc(m);
        return;
    }
    GuardTextPart();
    if (m.Msg == platform::WM_ERASEBKGND && Skinned()) {
        m.Result = 1;
        return;
    }
    // A handler run by the combo box may free it.
    const std::weak_ptr<const bool> alive = LifeToken();
    TacSkinnedControl::SkinnedWndProc(m);
    if (alive.expired() || !m_data)
        return;
    BoundLabelUpkeep(*m_boundLabel, *this, m);
    switch (m.Msg) {
    case toolkit::CM_EXIT:
    case platform::WM_KILLFOCUS:
        m_data->SetMouseOver(false);
        Changed();
        break;
    case toolkit::CM_ENTER:
    case platform::WM_SETFOCUS:
        m_data->SetMouseOver(false);
        Changed();
        break;
    case toolkit::CM_MOUSEENTER:
    case toolkit::CM_MOUSELEAVE:
    case toolkit::CM_FONTCHANGED:
    case toolkit::CM_VISIBLECHANGED:
    case toolkit::CM_ENABLEDCHANGED:
    case toolkit::CM_TEXTCHANGED:
        Changed();
        break;
    case toolkit::CM_COLORCHANGED:
        TextPartColors();
        break;
    default:
        break;
    }
}

} // namespace skinned
