// The frame's cache, caption, buttons and window shape.
#include "skinned/sSkinProvider.h"

#include <algorithm>
#include <map>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icon.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skinned/ChildPainting.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TForm.h"

namespace skinned {

using namespace platform;

// ---- painting ----

void TsSkinProvider::PaintFrameTo(DeviceContext& dc) {
    const Size size = WindowSize();
    toolkit::TBitmap* cache = Cache();
    if (!cache)
        return;
    if (m_changed || cache->Width() != size.cx || cache->Height() != size.cy)
        RebuildCache();
    if (m_shapeStale)
        UpdateShape();
    const Metrics fm = FrameMetrics();
    const Rect client{fm.BorderWidth, fm.BorderHeight + fm.CaptionHeight + fm.MenuHeight,
                      size.cx - fm.BorderWidth, size.cy - fm.BorderHeight};
    DcStateGuard guard(dc);
    if (!client.IsEmpty())
        ExcludeClipRect(dc, client);
    BitBlt(dc, 0, 0, size.cx, size.cy, cache->DC(), 0, 0, RasterOp::SrcCopy);
}

void TsSkinProvider::PaintClient(toolkit::TMessage& m) {
    const HWND h = m_form.HandleIfAllocated();
    if (m_changed && Cache())
        RebuildCache();
    const Metrics fm = FrameMetrics();
    const Point origin{fm.BorderWidth, fm.BorderHeight + fm.CaptionHeight + fm.MenuHeight};
    const auto paint = [&](DeviceContext& dc) {
        Rect client;
        GetClientRect(h, client);
        skin::PutCacheOnDC(m_form, *m_skinData, client.Offset(origin.x, origin.y), 0, 0, false, dc,
                           client);
        PaintGraphicChildren(dc, m_form, {0, 0});
    };
    if (auto* given = reinterpret_cast<DeviceContext*>(m.WParam)) {
        paint(*given);
    } else {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(h, ps))
            paint(*dc);
        EndPaint(h, ps);
    }
    RepaintChildren(m_form);
}

void TsSkinProvider::ReadButtonMasks() {
    skin::TsSkinManager* manager = Manager();
    for (TsCaptionButton& b : m_buttons)
        b.MaskIndex = -1;
    if (!manager || m_skinData->SectionIndex() < 0)
        return;
    const bool tool = m_form.BorderStyle() == toolkit::bsToolWindow ||
                      m_form.BorderStyle() == toolkit::bsSizeToolWin;
    const std::int32_t global = manager->CachedIndexes().GlobalInfo;
    const auto piece = [&](const char* section, std::int32_t index, const char* key) {
        return index < 0 ? -1 : manager->FindPieceIndex(index, section, key);
    };
    std::int32_t source = global;
    const char* sourceName = "GLOBALINFO";
    if (piece("GLOBALINFO", global, "BICONCLOSE") < 0) {
        source = m_skinData->SectionIndex();
        sourceName = "FORM";
    }
    const auto get = [&](const char* big, const char* small) {
        if (tool) {
            const std::int32_t s = piece(sourceName, source, small);
            if (s >= 0)
                return s;
        }
        return piece(sourceName, source, big);
    };
    const bool smallSet = tool && piece(sourceName, source, "SICONCLOSE") >= 0;
    const bool zoomed = m_form.HandleAllocated() && IsZoomed(m_form.HandleIfAllocated());
    m_buttons[kClose].MaskIndex =
        smallSet ? get("BICONCLOSE", "SICONCLOSE") : piece(sourceName, source, "BICONCLOSE");
    m_buttons[kMax].MaskIndex =
        smallSet ? get(zoomed ? "BICONNORM" : "BICONMAX", zoomed ? "SICONNORM" : "SICONMAX")
                 : piece(sourceName, source, zoomed ? "BICONNORM" : "BICONMAX");
    const bool iconic = m_form.HandleAllocated() && IsIconic(m_form.HandleIfAllocated());
    m_buttons[kMin].MaskIndex =
        smallSet ? get(iconic ? "BICONNORM" : "BICONMIN", iconic ? "SICONNORM" : "SICONMIN")
                 : piece(sourceName, source, iconic ? "BICONNORM" : "BICONMIN");
    m_buttons[kHelp].MaskIndex =
        smallSet ? get("BICONHELP", "SICONHELP") : piece(sourceName, source, "BICONHELP");
    const std::int32_t titleButton = piece("GLOBALINFO", global, "TITLEBUTTON") >= 0
                                         ? piece("GLOBALINFO", global, "TITLEBUTTON")
                                         : piece("FORM", m_skinData->SectionIndex(), "TITLEBUTTON");
    for (auto& extra : m_titleButtons)
        extra->Button.MaskIndex = titleButton;
}

namespace {
constexpr std::int32_t kMaxButtonSpace = 64;

// A small window drawn once: dark outline, blue title strip, white body.
const IconImage& StandardIcon() {
    static const IconImage icon = [] {
        constexpr int kSide = 16;
        IconImage i{kSide, kSide, std::vector<std::uint32_t>(kSide * kSide, 0)};
        for (int y = 1; y < kSide - 1; ++y)
            for (int x = 0; x < kSide; ++x) {
                const bool edge = x == 0 || x == kSide - 1 || y == 1 || y == kSide - 2;
                const std::uint32_t rgb = edge ? 0x202830u : y < 5 ? 0x3060C0u : 0xF4F4F4u;
                i.pixels[static_cast<std::size_t>(y * kSide + x)] = 0xFF000000u | rgb;
            }
        return i;
    }();
    return icon;
}

Size ButtonSize(skin::TsSkinManager* manager, std::int32_t maskIndex) {
    if (!manager || !manager->IsValidImgIndex(maskIndex))
        return {21, 21};
    const skin::TsMaskData& mask = manager->ma()[static_cast<std::size_t>(maskIndex)];
    const std::int32_t frames = std::max<std::int32_t>(mask.ImageCount, 1);
    // The loader holds MaskType to 0 … 1.
    const std::int32_t parts = mask.MaskType + 1;
    return {skin::PieceWidth(mask) / frames, skin::PieceHeight(mask) / parts};
}
} // namespace

void TsSkinProvider::LayoutButtons(std::int32_t width) {
    skin::TsSkinManager* manager = Manager();
    const Metrics fm = FrameMetrics();
    for (TsCaptionButton& b : m_buttons)
        b.Rect = {};
    for (auto& extra : m_titleButtons)
        extra->Button.Rect = {};
    if (fm.CaptionHeight <= 0 || !manager)
        return;
    // BISPACE: the gap before the first button and between buttons; a skin file may hold any
    // number, so it is kept within a caption's reach.
    const std::int32_t space = std::clamp(manager->SkinData().BISpace, 0, kMaxButtonSpace);
    std::int32_t right = width - fm.BorderWidth - space;
    const auto place = [&](TsCaptionButton& b) {
        const Size s = ButtonSize(manager, b.MaskIndex);
        std::int32_t top = (fm.CaptionHeight + fm.BorderHeight - s.cy) / 2;
        if (s.cy < 16)
            top += 2;
        b.Rect = {right - s.cx, top, right, top + s.cy};
        right = b.Rect.left - space;
    };
    if (HasSystemMenu())
        place(m_buttons[kClose]);
    if (MayMaximize())
        place(m_buttons[kMax]);
    if (MayMinimize())
        place(m_buttons[kMin]);
    if (HasSystemMenu() && m_form.BorderIcons().Contains(toolkit::biHelp))
        place(m_buttons[kHelp]);
    for (auto& extra : m_titleButtons)
        if (extra->Enabled)
            place(extra->Button);
}

void TsSkinProvider::RebuildCache() {
    skin::TsSkinManager* manager = Manager();
    toolkit::TBitmap* cache = Cache();
    if (!cache || !manager || !Skinned())
        return;
    const Size size = WindowSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    cache->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    cache->SetSize(size.cx, size.cy);
    m_changed = false;
    ReadButtonMasks();

    skin::TsSectionPaint face;
    face.SectionIndex = m_skinData->SectionIndex();
    face.SectionName = "FORM";
    face.Manager = manager;
    face.TextureIndex = m_skinData->TextureIndex();
    face.HotTextureIndex = m_skinData->HotTextureIndex();
    face.State = m_active ? 1 : 0;
    skin::PaintSection(face, *cache, {0, 0, size.cx, size.cy});

    const Metrics fm = FrameMetrics();
    if (m_gripMode == TsGripMode::gmRightBottom) {
        const std::int32_t global = manager->CachedIndexes().GlobalInfo;
        const std::int32_t grip =
            global < 0 ? -1 : manager->FindPieceIndex(global, "GLOBALINFO", "GRIPIMAGE");
        if (manager->IsValidImgIndex(grip)) {
            const Size g = manager->GetStateImageSize(grip);
            skin::DrawGlyphPiece(
                *cache, {size.cx - fm.BorderWidth - g.cx, size.cy - fm.BorderHeight - g.cy}, 0,
                manager->ma()[static_cast<std::size_t>(grip)], 1);
        }
    }
    if (fm.CaptionHeight > 0)
        PaintCaption(*cache, size.cx);
}

void TsSkinProvider::PaintIcon(toolkit::TBitmap& cache, std::int32_t left, std::int32_t top) {
    const std::int32_t w = m_iconSize.cx, h = m_iconSize.cy;
    if (w <= 0 || h <= 0)
        return;
    const skin::TacRows24 rows(cache);
    const auto put = [&](std::int32_t x, std::int32_t y, Color c) {
        if (x < 0 || y < 0 || x >= rows.width || y >= rows.height)
            return;
        std::uint8_t* p = rows.At(x, y);
        p[0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
        p[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
        p[2] = static_cast<std::uint8_t>(c & 0xFF);
    };
    if (m_titleIcon.Glyph && !m_titleIcon.Glyph->Empty()) {
        toolkit::TBitmap& glyph = *m_titleIcon.Glyph;
        glyph.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
        const skin::TacRows24 src(glyph);
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x) {
                const std::uint8_t* s = src.At(x * src.width / w, y * src.height / h);
                const Color c = RGB(s[2], s[1], s[0]);
                if (c != skin::kKeyColor)
                    put(left + x, top + y, c);
            }
        return;
    }
    // Without a title icon the application's icon, or, when the program set none, the plain
    // window icon: the place kept for an icon never stays empty.
    const IconImage& own = GetApplicationIcon();
    const IconImage& icon = own.pixels.empty() ? StandardIcon() : own;
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) {
            const std::uint32_t p =
                icon.pixels[static_cast<std::size_t>(y * icon.height / h) * icon.width +
                            static_cast<std::size_t>(x * icon.width / w)];
            if (p >> 24)
                put(left + x, top + y,
                    RGB(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p)));
        }
}

void TsSkinProvider::PaintButton(toolkit::TBitmap& cache, const TsCaptionButton& button) {
    skin::TsSkinManager* manager = Manager();
    if (!button.Shown() || !manager || !manager->IsValidImgIndex(button.MaskIndex))
        return;
    // The dimmed look while the form is inactive.
    const std::int32_t copyMode = m_active ? 1 : 0;
    skin::DrawGlyphPiece(cache, {button.Rect.left, button.Rect.top}, button.State,
                         manager->ma()[static_cast<std::size_t>(button.MaskIndex)], copyMode);
}

namespace {
// text cut to fit width with "..." at its end (code points kept whole); text when it fits.
std::string Ellipsized(toolkit::TCanvas& canvas, const std::string& text, std::int32_t width) {
    if (canvas.TextWidth(text) <= width)
        return text;
    std::string cut = text;
    while (!cut.empty()) {
        do
            cut.pop_back();
        while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80);
        if (!cut.empty() && static_cast<unsigned char>(cut.back()) >= 0xC0)
            cut.pop_back();
        if (canvas.TextWidth(cut + "...") <= width)
            return cut + "...";
    }
    return canvas.TextWidth("...") <= width ? "..." : "";
}
} // namespace

void TsSkinProvider::PaintCaption(toolkit::TBitmap& cache, std::int32_t width) {
    skin::TsSkinManager* manager = Manager();
    const Metrics fm = FrameMetrics();
    const std::string titleName = m_titleSkin.empty() ? "FORMTITLE" : m_titleSkin;
    const std::int32_t title = manager->FindSectionIndex(titleName);
    const Rect strip{0, 0, width, fm.BorderHeight + fm.CaptionHeight};

    skin::TsSectionPaint paint;
    paint.SectionIndex = title;
    paint.SectionName = titleName;
    paint.Manager = manager;
    paint.State = m_active ? 1 : 0;
    paint.Parent = skin::TsBackdropInfo{&cache, 0, 0, true};
    skin::PaintSection(paint, cache, strip);

    // The icon: single and sizeable frames only.
    const std::int32_t h = fm.CaptionHeight;
    const bool iconFrame =
        m_form.BorderStyle() == toolkit::bsSingle || m_form.BorderStyle() == toolkit::bsSizeable;
    m_iconSize = {};
    if (iconFrame && m_showAppIcon) {
        if (m_titleIcon.Width > 0 && m_titleIcon.Height > 0) {
            m_iconSize = {m_titleIcon.Width, m_titleIcon.Height};
        } else {
            const std::int32_t side = h < 9 ? 0 : h <= 16 ? 8 : h <= 27 ? 16 : 32;
            m_iconSize = {side, side};
        }
        PaintIcon(cache, fm.BorderWidth, (fm.BorderHeight + h - m_iconSize.cy) / 2);
    }

    LayoutButtons(width);
    const bool anyButton = std::any_of(m_buttons.begin(), m_buttons.end(),
                                       [](const TsCaptionButton& b) { return b.Shown(); });
    if (anyButton) {
        const std::int32_t bar =
            manager->FindPieceIndex(m_skinData->SectionIndex(), "FORM", "TITLEBAR");
        if (manager->IsValidImgIndex(bar)) {
            const Size s = manager->GetStateImageSize(bar);
            skin::DrawGlyphPiece(cache, {width - s.cx, 0}, 0,
                                 manager->ma()[static_cast<std::size_t>(bar)], 1);
        }
    }
    // Buttons repaint alone over this copy when only their states change.
    if (!m_captionStrip)
        m_captionStrip = std::make_unique<toolkit::TBitmap>();
    m_captionStrip->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    m_captionStrip->SetSize(strip.Width(), strip.Height());
    skin::CopyBlock24(*m_captionStrip, 0, 0, cache, strip);

    std::int32_t leftmost = width - fm.BorderWidth;
    for (const TsCaptionButton& b : m_buttons)
        if (b.Shown()) {
            leftmost = std::min(leftmost, b.Rect.left);
            PaintButton(cache, b);
        }
    for (auto& extra : m_titleButtons)
        if (extra->Button.Shown()) {
            leftmost = std::min(leftmost, extra->Button.Rect.left);
            PaintButton(cache, extra->Button);
        }

    toolkit::TCanvas& canvas = cache.Canvas();
    canvas.Font().Assign(&m_form.Font());
    canvas.Font().SetHeight(GetNonClientMetrics().lfCaptionFont.lfHeight);
    canvas.Font().SetStyle({toolkit::TFontStyle::fsBold});
    m_textRect = {m_iconSize.cx + fm.BorderWidth + 4, fm.BorderHeight, leftmost - 6,
                  fm.BorderHeight + h};
    m_drawnCaption = m_textRect.IsEmpty()
                         ? std::string()
                         : Ellipsized(canvas, m_form.Caption(), m_textRect.Width());
    if (!m_drawnCaption.empty()) {
        Rect r = m_textRect;
        skin::DrawContourText(canvas, m_drawnCaption, true, manager, m_active, title,
                              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                                  toolkit::AlignmentFlags(m_captionAlignment),
                              r);
    }
}

void TsSkinProvider::RepaintButtons(const std::vector<Rect>& areas) {
    toolkit::TBitmap* cache = Cache();
    if (!cache || cache->Empty() || !m_captionStrip || m_changed || !m_form.HandleAllocated())
        return;
    for (const Rect& area : areas) {
        skin::CopyBlock24(*cache, area.left, area.top, *m_captionStrip, area);
        for (const TsCaptionButton& b : m_buttons)
            if (b.Rect == area)
                PaintButton(*cache, b);
        for (auto& extra : m_titleButtons)
            if (extra->Button.Rect == area)
                PaintButton(*cache, extra->Button);
    }
    const HWND h = m_form.HandleIfAllocated();
    if (!IsWindowVisible(h))
        return;
    if (HDC dc = GetWindowDC(h)) {
        for (const Rect& area : areas)
            BitBlt(*dc, area.left, area.top, area.Width(), area.Height(), cache->DC(), area.left,
                   area.top, RasterOp::SrcCopy);
        ReleaseDC(h, dc);
    }
}

void TsSkinProvider::UpdateShape() {
    skin::TsSkinManager* manager = Manager();
    if (!manager || !Skinned() || !m_form.HandleAllocated() || m_form.IsDestroying())
        return;
    m_shapeStale = false;
    // A window that says it shapes itself keeps its own region.
    constexpr UINT kShapeQuery = 48205;
    constexpr WPARAM kOwnShape = 16802;
    if (SendMessage(m_form.HandleIfAllocated(), kShapeQuery, kOwnShape, 0) ==
        static_cast<LRESULT>(kOwnShape))
        return;
    const Size size = WindowSize();
    m_cornerRects.clear();
    if (manager->IsValidImgIndex(m_skinData->BorderIndex())) {
        const skin::TsMaskData& border =
            manager->ma()[static_cast<std::size_t>(m_skinData->BorderIndex())];
        skin::CornerKeyRuns(m_cornerRects, size.cx, border, false, 0);
        skin::CornerKeyRuns(m_cornerRects, size.cx, border, true,
                            size.cy - manager->GetMaskWidthBottom(m_skinData->BorderIndex()));
    }
    const std::string titleName = m_titleSkin.empty() ? "FORMTITLE" : m_titleSkin;
    if (const std::int32_t title = manager->FindSectionIndex(titleName); title >= 0) {
        const std::int32_t piece = manager->FindOwnPieceIndex(titleName, "BORDERSMASK");
        if (manager->IsValidImgIndex(piece) && FrameMetrics().CaptionHeight > 0)
            skin::CornerKeyRuns(m_cornerRects, size.cx,
                                manager->ma()[static_cast<std::size_t>(piece)], false, 0);
    }
    Region shape(Rect{0, 0, size.cx, size.cy});
    for (const Rect& r : m_cornerRects)
        shape.Subtract(r);
    const HWND h = m_form.HandleIfAllocated();
    const std::optional<Region> now = GetWindowRgn(h);
    if (!now || !(*now == shape))
        SetWindowRgn(h, std::move(shape), true);
}

void TsSkinProvider::RebuildFrame() {
    m_changed = m_shapeStale = true;
    if (!m_form.HandleAllocated() || !IsWindowVisible(m_form.HandleIfAllocated()))
        return;
    RedrawWindow(m_form.HandleIfAllocated(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TsSkinProvider::AnimateSkinChange(std::int32_t) {
    // The window system composes windows itself: the new look simply replaces the old one.
}

} // namespace skinned
