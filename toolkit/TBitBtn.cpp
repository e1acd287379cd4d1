#include "toolkit/TBitBtn.h"

#include <string_view>

#include "platform/gfx/text/TextDraw.h"
#include "toolkit/ControlText.h"

namespace toolkit {
namespace {

// clang-format off
// A tick and a cross, one character per pixel: '.' transparent, 'K' outline, 'F' fill.
constexpr std::string_view kTickRows[kKindGlyphSize] = {
    "................",
    "................",
    "..............K.",
    ".............KFK",
    "............KFFK",
    "...........KFFK.",
    "..KK......KFFK..",
    ".KFFK....KFFK...",
    ".KFFFK..KFFK....",
    "..KFFFKKFFK.....",
    "...KFFFFFK......",
    "....KFFFK.......",
    ".....KFK........",
    "......K.........",
    "................",
    "................",
};
constexpr std::string_view kCrossRows[kKindGlyphSize] = {
    "................",
    "................",
    "..KK........KK..",
    ".KFFK......KFFK.",
    ".KFFFK....KFFFK.",
    "..KFFFK..KFFFK..",
    "...KFFFKKFFFK...",
    "....KFFFFFFK....",
    ".....KFFFFK.....",
    "....KFFFFFFK....",
    "...KFFFKKFFFK...",
    "..KFFFK..KFFFK..",
    ".KFFFK....KFFFK.",
    ".KFFK......KFFK.",
    "..KK........KK..",
    "................",
};
// clang-format on

std::vector<std::uint8_t> Decode(const std::string_view (&rows)[kKindGlyphSize],
                                 platform::Color outline, platform::Color fill) {
    std::vector<std::uint8_t> out;
    out.reserve(kKindGlyphSize * kKindGlyphSize * 3);
    for (std::string_view row : rows)
        for (char ch : row) {
            const platform::Color c = ch == 'K' ? outline : ch == 'F' ? fill : kImageListMask;
            out.push_back(platform::GetBValue(c));
            out.push_back(platform::GetGValue(c));
            out.push_back(platform::GetRValue(c));
        }
    return out;
}

} // namespace

std::vector<std::uint8_t> KindGlyphPixels(TBitBtnKind kind) {
    switch (kind) {
    case bkOK:
        return Decode(kTickRows, platform::RGB(0x1E, 0x5C, 0x2A), platform::RGB(0x3C, 0xB0, 0x4C));
    case bkCancel:
        return Decode(kCrossRows, platform::RGB(0x7A, 0x16, 0x16), platform::RGB(0xE0, 0x3A, 0x3A));
    case bkCustom:
        break;
    }
    return {};
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
    m_glyph.OnChange = [this] { Invalidate(); };
}

TBitBtn::~TBitBtn() {
    if (m_glyph.Images())
        m_glyph.Images()->RemoveFreeNotification(this);
}

void TBitBtn::SetGlyph(const TBitmap& bitmap, TColor transparent) {
    m_glyph.Assign(bitmap, transparent);
    m_kind = bkCustom;
}

void TBitBtn::SetGlyphPixels(int width, int height, std::span<const std::uint8_t> bgr,
                             platform::Color transparent) {
    m_glyph.SetPixels(width, height, bgr, transparent);
    m_kind = bkCustom;
}

void TBitBtn::SetImages(TImageList* images) {
    m_glyph.SetImages(images, *this);
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
    TButton::Notification(component, operation);
    if (operation == TOperation::opRemove)
        m_glyph.ForgetImages(component);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    if (kind == m_kind)
        return;
    m_kind = kind;
    if (kind == bkCustom)
        return;
    const std::vector<std::uint8_t> pixels = KindGlyphPixels(kind);
    m_glyph.SetNumGlyphs(1);
    m_glyph.SetPixels(kKindGlyphSize, kKindGlyphSize, pixels);
    if (kind == bkOK) {
        SetCaption("OK");
        SetModalResult(mrOk);
        SetDefault(true);
    } else {
        SetCaption("Cancel");
        SetModalResult(mrCancel);
        SetCancel(true);
    }
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    if (layout == m_layout)
        return;
    m_layout = layout;
    Invalidate();
}

void TBitBtn::SetMargin(int margin) {
    margin = std::max(margin, -1);
    if (margin == m_margin)
        return;
    m_margin = margin;
    Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
    spacing = std::max(spacing, -1);
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    Invalidate();
}

void TBitBtn::SetWordWrap(bool on) {
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    Invalidate();
}

unsigned TBitBtn::CaptionFlags() const {
    unsigned flags = platform::DT_CENTER | platform::DT_EXPANDTABS;
    if (m_wordWrap)
        flags |= platform::DT_WORDBREAK;
    return flags;
}

TButtonPlacement TBitBtn::Placement(const platform::Rect& content) const {
    const platform::Size glyph = m_glyph.GlyphSize();
    platform::Size text;
    const std::string caption = Caption();
    if (!caption.empty()) {
        platform::Rect room = content;
        const bool beside = m_layout == blGlyphLeft || m_layout == blGlyphRight;
        if (beside && glyph.cx > 0)
            room.right -= glyph.cx + std::max(m_spacing, 0);
        if (m_margin > 0)
            room.right -= 2 * m_margin;
        room.right = std::max(room.right, room.left);
        const platform::Rect measured = MeasureText(Font(), caption, room, CaptionFlags());
        text = {measured.Width(), measured.Height()};
    }
    return CalcButtonLayout(content, glyph, text, m_layout, m_margin, m_spacing);
}

TButtonState TBitBtn::GlyphState() const {
    if (!Enabled())
        return TButtonState::bsDisabled;
    return Pressed() ? TButtonState::bsDown : TButtonState::bsUp;
}

void TBitBtn::PaintContent(TCanvas& canvas, const platform::Rect& content) {
    const TButtonPlacement p = Placement(content);
    m_glyph.Draw(canvas, {p.glyph.left, p.glyph.top}, GlyphState());
    if (Caption().empty())
        return;
    canvas.Font().Assign(&Font());
    platform::Rect text = p.text;
    DrawControlText(canvas, Caption(), text, CaptionFlags(), Enabled());
}

} // namespace toolkit
