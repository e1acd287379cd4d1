#include "skinned/TacScrollWnd.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skin/sSkinManager.h"
#include "skinned/TacScrollPaint.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinned {

using platform::Rect;

namespace scrollpaint {

platform::Color WindowColor(platform::HWND h, skin::TsSkinManager* manager) {
    if (toolkit::TWinControl* control = toolkit::FindControl(h))
        if (control->Color() != toolkit::clNone)
            return toolkit::ColorToRGB(control->Color()) & 0xFFFFFF;
    return manager ? manager->GetGlobalColor() & 0xFFFFFF
                   : toolkit::ColorToRGB(toolkit::clBtnFace) & 0xFFFFFF;
}

// The window's own cached background (command 5), when it has one that covers `area`.
static bool WindowBackground(platform::HWND h, const Rect& area, skin::TsBackdropInfo& out) {
    skin::CommandBackdrop() = {};
    platform::SendMessage(h, toolkit::kLibraryCommandMessage,
                          skin::MakeCommand(skin::kCmdGiveBackground), 0);
    out = skin::CommandBackdrop();
    skin::CommandBackdrop() = {};
    return out.Ready && out.Bmp && area.left + out.X >= 0 && area.top + out.Y >= 0 &&
           area.right + out.X <= out.Bmp->Width() && area.bottom + out.Y <= out.Bmp->Height();
}

// Fills a bitmap of `area`'s size with what lies behind that area of the window.
void FillBehind(platform::HWND h, skin::TsSkinManager* manager, const Rect& area,
                toolkit::TBitmap& bmp) {
    const skin::TacRows24 rows(bmp);
    skin::TsBackdropInfo cached;
    if (WindowBackground(h, area, cached)) {
        cached.X += area.left;
        cached.Y += area.top;
        skin::CopyParentArea(rows, rows.Bounds(), cached);
        return;
    }
    skin::FillRect24(rows, rows.Bounds(), WindowColor(h, manager));
}

} // namespace scrollpaint

namespace {

using scrollpaint::FillBehind;
using scrollpaint::MaskAt;
using scrollpaint::WindowColor;

// The size of one state image of a glyph piece, or 0 × 0 when the piece's numbers give none.
platform::Size GlyphSize(const skin::TsMaskData& mask) {
    const std::int64_t count = std::max<std::int64_t>(1, mask.ImageCount);
    const std::int64_t rows = std::max<std::int64_t>(1, std::int64_t{mask.MaskType} + 1);
    const std::int64_t w = skin::PieceWidth(mask) / count;
    const std::int64_t h = skin::PieceHeight(mask) / rows;
    if (w <= 0 || h <= 0)
        return {0, 0};
    return {static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}

// A fingerprint of the pixels, eight bytes at a time.
std::uint64_t HashRows(const skin::TacRows24& rows) {
    std::uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](std::uint64_t v) {
        h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    };
    const std::size_t bytes = static_cast<std::size_t>(std::max(0, rows.width)) * 3;
    for (std::int32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* p = rows.At(0, y);
        std::size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            std::uint64_t v;
            std::memcpy(&v, p + i, 8);
            mix(v);
        }
        std::uint64_t rest = 0;
        std::memcpy(&rest, p + i, bytes - i);
        mix(rest);
    }
    return h;
}

class BarPainter {
public:
    BarPainter(skin::TsSkinManager& manager, toolkit::TBitmap& target,
               const skin::TsBackdropInfo& behind)
        : m_manager(manager), m_target(target), m_behind(behind) {}

    void Section(const skin::TsPieceIndexes& piece, std::string_view name, const Rect& rect,
                 std::int32_t state) {
        if (rect.IsEmpty() || !m_manager.IsValidSkinIndex(piece.Section))
            return;
        skin::TsSectionPaint paint;
        paint.SectionIndex = piece.Section;
        paint.SectionName = name;
        paint.Parent = m_behind;
        paint.TextureIndex = piece.Pattern;
        paint.HotTextureIndex = piece.HotPattern;
        paint.Manager = &m_manager;
        paint.State = state;
        skin::PaintSection(paint, m_target, rect);
    }

    // The piece's glyph centred in rect, when it fits there.
    void Glyph(std::int32_t index, const Rect& rect, std::int32_t state) {
        const skin::TsMaskData* mask = MaskAt(m_manager, index);
        if (!mask || rect.IsEmpty())
            return;
        const platform::Size size = GlyphSize(*mask);
        if (size.cx <= 0 || size.cx > rect.Width() || size.cy > rect.Height())
            return;
        const platform::Point at{rect.left + (rect.Width() - size.cx) / 2,
                                 rect.top + (rect.Height() - size.cy) / 2};
        skin::DrawGlyphPiece(skin::TacRows24(m_target), at, state, *mask, 1);
    }

private:
    skin::TsSkinManager& m_manager;
    toolkit::TBitmap& m_target;
    skin::TsBackdropInfo m_behind;
};

} // namespace

// ---- painting -------------------------------------------------------------------------------

void TacScrollWnd::PaintBar(const TacScrollBar& bar, const Rect& barRect, toolkit::TBitmap& bmp) {
    const std::int32_t w = barRect.Width(), h = barRect.Height();
    if (w <= 0 || h <= 0)
        return;
    const std::unique_ptr<toolkit::TBitmap> behind = skin::NewBitmap24(w, h);
    FillBehind(Handle(), Manager(), barRect, *behind);
    PaintBarOver(bar, LookOf(bar, barRect), *behind, bmp);
}

void TacScrollWnd::PaintBarOver(const TacScrollBar& bar, const BarLook& look,
                                toolkit::TBitmap& behind, toolkit::TBitmap& bmp) {
    const std::int32_t w = look.size.cx, h = look.size.cy;
    bmp.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    bmp.SetSize(w, h);
    skin::TsSkinManager* manager = look.manager;
    const skin::TacRows24 rows(bmp);
    skin::CopyBlock24(rows, 0, 0, skin::TacRows24(behind), rows.Bounds());
    if (!manager || !manager->SkinData().Active)
        return;

    const skin::TsBackdropInfo parent{&behind, 0, 0, true};
    const bool vertical = bar.Orientation == platform::SB_VERT;
    const TacScrollGeometry& g = look.geometry;
    const TacScrollPart pressed = look.pressed;
    const TacScrollPart hot = look.hot;
    const bool enabled = look.enabled;
    auto span = [&](std::int32_t from, std::int32_t to) {
        return vertical ? Rect{0, from, w, to} : Rect{from, 0, to, h};
    };
    auto state = [&](TacScrollPart part) -> std::int32_t {
        if (!enabled)
            return 0;
        if (pressed == part)
            return 2;
        return hot == part ? 1 : 0;
    };

    const skin::TsCachedIndexes& cache = manager->CachedIndexes();
    // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
    const skin::TsPieceIndexes& track1 = cache.ScrollBars[vertical ? 1 : 0];
    const skin::TsPieceIndexes& track2 = cache.ScrollBars[vertical ? 3 : 2];
    const char* track1Name = vertical ? "SCROLLBAR1V" : "SCROLLBAR1H";
    const char* track2Name = vertical ? "SCROLLBAR2V" : "SCROLLBAR2H";
    const skin::TsPieceIndexes& first = cache.ScrollButtons[vertical ? skin::kTop : skin::kLeft];
    const skin::TsPieceIndexes& second =
        cache.ScrollButtons[vertical ? skin::kBottom : skin::kRight];
    const char* firstName = vertical ? "SCROLLBTNTOP" : "SCROLLBTNLEFT";
    const char* secondName = vertical ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT";
    const skin::TsPieceIndexes& slider = cache.ScrollSliders[vertical ? 0 : 1];
    const char* sliderName = vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH";

    BarPainter painter(*manager, bmp, parent);
    const std::int32_t length = g.Length;
    const std::int32_t b = g.Button;
    if (length >= 2 * b && length - 2 * b > 0) {
        // The track parts meet under the thumb's centre.
        const std::int32_t middle =
            g.ThumbLength > 0 ? g.ThumbOffset + g.ThumbLength / 2 : length / 2;
        painter.Section(track1, track1Name, span(b, middle), state(kPartTrackBefore) == 2 ? 2 : 0);
        painter.Section(track2, track2Name, span(middle, length - b),
                        state(kPartTrackAfter) == 2 ? 2 : 0);
    } else {
        painter.Section(track1, track1Name, span(0, length / 2), 0);
        painter.Section(track2, track2Name, span(length / 2, length), 0);
    }
    const Rect firstRect = span(0, b), secondRect = span(length - b, length);
    painter.Section(first, firstName, firstRect, state(kPartFirstButton));
    painter.Glyph(first.Glyph, firstRect, state(kPartFirstButton));
    painter.Section(second, secondName, secondRect, state(kPartSecondButton));
    painter.Glyph(second.Glyph, secondRect, state(kPartSecondButton));
    if (enabled && g.ThumbLength > 0) {
        const Rect thumb = span(g.ThumbOffset, g.ThumbOffset + g.ThumbLength);
        const std::int32_t s = pressed == kPartThumb ? 2 : (hot == kPartThumb ? 1 : 0);
        painter.Section(slider, sliderName, thumb, s);
        painter.Glyph(slider.Glyph, thumb, s);
    }
    if (!enabled)
        skin::PaintDisabledLook(bmp, skin::kDisabledFade, WindowColor(Handle(), manager), {0, 0},
                                parent);
}

void TacScrollWnd::PaintBars(platform::DeviceContext& dc) {
    if (!Attached())
        return;
    const TacScrollLayout layout = Layout();
    for (const TacScrollBar* bar : {&m_hbar, &m_vbar}) {
        const Rect r = bar->Orientation == platform::SB_VERT ? layout.Vert : layout.Horz;
        if (r.IsEmpty())
            continue;
        // A bar is painted again only when something it shows has changed: its parts and
        // states, the skin, or the window's face behind it.
        BarCache& cache = m_cache[bar->Orientation == platform::SB_VERT ? 1 : 0];
        if (!cache.behind)
            cache.behind = std::make_unique<toolkit::TBitmap>();
        cache.behind->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
        cache.behind->SetSize(r.Width(), r.Height());
        FillBehind(Handle(), Manager(), r, *cache.behind);
        BarLook look = LookOf(*bar, r);
        look.behindHash = HashRows(skin::TacRows24(*cache.behind));
        if (!cache.face || !cache.look || !(*cache.look == look)) {
            if (!cache.face)
                cache.face = std::make_unique<toolkit::TBitmap>();
            PaintBarOver(*bar, look, *cache.behind, *cache.face);
            cache.look = look;
        }
        platform::BitBlt(dc, r.left, r.top, r.Width(), r.Height(), cache.face->DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    }
    const Rect box = layout.SizeBox;
    if (box.IsEmpty())
        return;
    skin::TsSkinManager* manager = Manager();
    const std::unique_ptr<toolkit::TBitmap> corner = skin::NewBitmap24(box.Width(), box.Height());
    const skin::TacRows24 rows(*corner);
    // The window's own face, as behind the bars: the corner belongs to the window.
    FillBehind(Handle(), manager, box, *corner);
    // The grip only where dragging the corner would size the parent: at its client corner.
    const platform::HWND parent = platform::GetParent(Handle());
    Rect wr, pc;
    if (manager && parent && platform::GetWindowRect(Handle(), wr) &&
        platform::GetClientRect(parent, pc)) {
        platform::Point corner{pc.right, pc.bottom};
        platform::ClientToScreen(parent, corner);
        const skin::TsSkinManager& m = *manager;
        const std::int32_t info = m.CachedIndexes().GlobalInfo;
        if (wr.right == corner.x && wr.bottom == corner.y && info >= 0) {
            const std::int32_t grip = m.FindPieceIndex(info, "GLOBALINFO", "GRIPIMAGE");
            if (const skin::TsMaskData* mask = MaskAt(*manager, grip)) {
                const platform::Size size = GlyphSize(*mask);
                if (size.cx > 0)
                    skin::DrawGlyphPiece(rows, {box.Width() - size.cx, box.Height() - size.cy}, 0,
                                         *mask, 1);
            }
        }
    }
    platform::BitBlt(dc, box.left, box.top, box.Width(), box.Height(), corner->DC(), 0, 0,
                     platform::RasterOp::SrcCopy);
}

void TacScrollWnd::RepaintBars() {
    if (!Attached() || !platform::IsWindowVisible(Handle()))
        return;
    skin::TsSkinManager* manager = Manager();
    if (!manager || !manager->SkinData().Active || SkinData().Updating())
        return;
    platform::HDC dc = platform::GetWindowDC(Handle());
    if (!dc)
        return;
    PaintBars(*dc);
    platform::ReleaseDC(Handle(), dc);
}

// ---- TacEditWnd -----------------------------------------------------------------------------

namespace {
// How far apart two colours are in brightness (0 … 255 × 1000).
std::int32_t Contrast(platform::Color a, platform::Color b) {
    const auto luma = [](platform::Color c) {
        return 299 * std::int32_t(platform::GetRValue(c)) +
               587 * std::int32_t(platform::GetGValue(c)) +
               114 * std::int32_t(platform::GetBValue(c));
    };
    return std::abs(luma(a) - luma(b));
}
} // namespace

TacEditWnd::TacEditWnd(platform::HWND window, skin::TsCommonData* data,
                       skin::TsSkinManager* manager, const std::string& section)
    : TacBaseWnd(window, data, manager, section) {
    m_applyingSkin = true;
    TakeSkinColors();
    m_applyingSkin = false;
}

TacEditWnd::~TacEditWnd() {
    Detach();
}

void TacEditWnd::TakeSkinColors() {
    // A skinned control takes the section's colours itself.
    if (!OwnsSkinData() || !Attached())
        return;
    toolkit::TWinControl* control = toolkit::FindControl(Handle());
    const skin::TsGeneralData* section = SkinData().Section();
    if (!control || !section)
        return;
    m_oldColor = control->Color();
    m_oldFontColor = control->Font().Color();
    m_oldParentColor = control->ParentColor();
    m_oldParentFont = control->ParentFont();
    m_colorsTaken = true;
    if (!SkinData().CustomColor()) {
        platform::Color color = static_cast<platform::Color>(section->Color);
        if (section->Transparency > 0 && control->Parent()) {
            const platform::Color parent = skin::GetParentColor(*control);
            color = parent != skin::kKeyColor ? parent : control->Parent()->Color();
        }
        control->SetColor(color);
    }
    if (SkinData().CustomFont())
        return;
    // The hot font colour, unless the section's plain one reads better on the new colour: a
    // skin that leaves the hot colour at its default black would otherwise put black text on a
    // dark field. A font colour of -1 is not defined by the skin: the control keeps its own.
    std::int32_t font = section->HotFontColor[0];
    const std::int32_t plain = section->FontColor[0];
    const platform::Color back = toolkit::ColorToRGB(control->Color()) & 0xFFFFFF;
    if (plain != -1 && (font == -1 || Contrast(static_cast<platform::Color>(plain), back) >
                                          Contrast(static_cast<platform::Color>(font), back)))
        font = plain;
    if (font != -1)
        control->Font().SetColor(static_cast<platform::Color>(font));
}

platform::LRESULT TacEditWnd::WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    if (!OwnsSkinData())
        return TacBaseWnd::WndProc(msg, w, l);
    if (msg == platform::WM_STYLECHANGING && m_applyingSkin) {
        if (auto* change = reinterpret_cast<platform::STYLESTRUCT*>(l))
            change->styleNew = change->styleOld;
        return 0;
    }
    if (msg != platform::WM_NCPAINT && msg != platform::WM_SETFOCUS &&
        msg != platform::WM_KILLFOCUS)
        return TacBaseWnd::WndProc(msg, w, l);
    const std::weak_ptr<const bool> alive = AliveToken();
    const platform::LRESULT r = TacBaseWnd::WndProc(msg, w, l);
    if (!alive.expired())
        PaintBorder();
    return r;
}

void TacEditWnd::HotChanged() {
    PaintBorder();
}

void TacEditWnd::PaintBorder() {
    skin::TsSkinManager* manager = Manager();
    if (!Attached() || !platform::IsWindowVisible(Handle()) || !manager ||
        !manager->SkinData().Active || !SkinData().Skinned() || SkinData().Updating())
        return;
    Rect wr, cr;
    platform::GetWindowRect(Handle(), wr);
    platform::GetClientRect(Handle(), cr);
    platform::Point origin{0, 0};
    platform::ClientToScreen(Handle(), origin);
    const Rect client = cr.Offset(origin.x - wr.left, origin.y - wr.top);
    const Rect whole{0, 0, wr.Width(), wr.Height()};
    if (client == whole || whole.IsEmpty())
        return;
    if (!m_borderFace || m_borderFace->Width() != whole.Width() ||
        m_borderFace->Height() != whole.Height())
        m_borderFace = skin::NewBitmap24(whole.Width(), whole.Height());
    toolkit::TBitmap* const face = m_borderFace.get();
    FillBehind(Handle(), manager, whole,
               *face); // covers all of it: nothing of the last paint stays
    skin::TsSectionPaint paint;
    paint.SectionIndex = SkinData().SectionIndex();
    paint.SectionName = SkinData().SkinSection();
    paint.Parent = {face, 0, 0, true};
    paint.TextureIndex = SkinData().TextureIndex();
    paint.HotTextureIndex = SkinData().HotTextureIndex();
    paint.Manager = manager;
    paint.FillCentre = false;
    paint.State = Hot() || platform::GetFocus() == Handle() ? 1 : 0;
    skin::PaintSection(paint, *face, whole);
    platform::HDC dc = platform::GetWindowDC(Handle());
    if (!dc)
        return;
    {
        platform::DcStateGuard guard(*dc);
        const TacScrollLayout layout = Layout();
        for (const Rect& r : {client, layout.Horz, layout.Vert, layout.SizeBox})
            if (!r.IsEmpty())
                platform::ExcludeClipRect(*dc, r);
        platform::BitBlt(*dc, 0, 0, whole.Width(), whole.Height(), face->DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    }
    platform::ReleaseDC(Handle(), dc);
}

void TacEditWnd::Detaching() {
    if (m_colorsTaken) {
        m_colorsTaken = false;
        toolkit::TWinControl* control = WindowGoing() ? nullptr : toolkit::FindControl(Handle());
        if (control && !control->IsDestroying()) {
            control->SetColor(m_oldColor);
            control->Font().SetColor(m_oldFontColor);
            control->SetParentColor(m_oldParentColor);
            control->SetParentFont(m_oldParentFont);
        }
    }
    TacBaseWnd::Detaching();
}

bool TacComboListWnd::HoldsMouse() const {
    return Attached() && platform::IsWindowVisible(Handle());
}

} // namespace skinned
