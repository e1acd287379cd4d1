#include "skinned/TsLabelFX.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "skin/sSkinManager.h"
#include "toolkit/ControlText.h"
#include "toolkit/Int32.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"

namespace skinned {

TsLabelFX::TsLabelFX(toolkit::TComponent* owner)
    : TsCustomLabel(owner), m_shadow(std::make_unique<TsShadow>(this)),
      m_kind(std::make_unique<TsKind>(this)), m_mask(std::make_unique<toolkit::TBitmap>()) {}

TsLabelFX::~TsLabelFX() = default;

TsLabelFX::ShadowParams TsLabelFX::ChooseShadow() const {
    ShadowParams p{m_shadow->Color(), m_shadow->BlurCount(), m_shadow->Distance()};
    if (m_shadow->Mode() == smSkin1)
        if (skin::TsSkinManager* m = ActiveManager(); m && m->SkinData().Shadow1Blur != -1) {
            const skin::TsSkinData& sd = m->SkinData();
            // A skin file may hold any number: keep the blur and offset within reason.
            p = {static_cast<toolkit::TColor>(sd.Shadow1Color), std::clamp(sd.Shadow1Blur, 0, 64),
                 std::clamp(sd.Shadow1Offset, -64, 64)};
        }
    return p;
}

toolkit::TColor TsLabelFX::TextColor() const {
    switch (m_kind->KindType()) {
    case ktStandard:
        return Color();
    case ktCustom:
        return m_kind->Color();
    case ktSkin:
        if (skin::TsSkinManager* m = ActiveManager()) {
            const platform::Color c = m->GetGlobalFontColor();
            if (c != skin::kKeyColor && c != 0xFFFFFFFF)
                return c;
        }
        return m_kind->Color();
    }
    return m_kind->Color();
}

void TsLabelFX::SkinCommand(toolkit::TMessage& message) {
    TsCustomLabel::SkinCommand(message);
    switch (skin::CommandOf(message.WParam)) {
    case skin::kCmdNewSkin:
    case skin::kCmdSkinRemoved:
    case skin::kCmdRefresh:
        if (!IsDestroying() && !IsLoading())
            AdjustBounds();
        break;
    default:
        break;
    }
}

void TsLabelFX::DoDrawText(platform::Rect& rect, unsigned flags) {
    // The skin's shadow without a skin falls back to Shadow's own values (ChooseShadow).
    if (m_shadow->Mode() == smNone) {
        TsCustomLabel::DoDrawText(rect, flags);
        return;
    }
    const ShadowParams shadow = ChooseShadow();
    m_shadow->StoreBytes(shadow.color);

    std::string text = GetLabelText();
    const bool measuring = (flags & platform::DT_CALCRECT) != 0;
    if (measuring && (text.empty() || (ShowAccelChar() && text == "&")))
        text += " ";
    if (!ShowAccelChar())
        flags |= platform::DT_NOPREFIX;

    if (measuring) {
        rect = toolkit::MeasureText(Font(), text, rect, flags & ~platform::DT_CALCRECT);
        if (!Enabled() || shadow.color == toolkit::clNone || shadow.blur == 0)
            return;
        m_topLeftMargin = std::min(0, shadow.distance - shadow.blur);
        m_rightBottomMargin = std::max(0, shadow.distance + shadow.blur);
        const std::int32_t grow = m_rightBottomMargin - m_topLeftMargin;
        rect.right = toolkit::int32::Add(rect.right, grow);
        rect.bottom = toolkit::int32::Add(rect.bottom, grow);
        return;
    }

    toolkit::TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    if (!Enabled()) {
        toolkit::DrawControlText(canvas, text, rect, flags, false);
        return;
    }
    if (shadow.color != toolkit::clNone && shadow.blur > 0 && !rect.IsEmpty())
        PaintShadow(text, rect, flags, shadow);
    canvas.Font().SetColor(TextColor());
    toolkit::DrawControlText(canvas, text, rect, flags, true);
}

void TsLabelFX::MakeLevels(const std::string& text, const platform::Rect& rect, unsigned flags,
                           const ShadowParams& shadow) {
    const toolkit::TFont& font = Font();
    LevelsKey key{text,        rect,          flags,        shadow.blur,   shadow.distance,
                  font.Name(), font.Height(), font.Style(), font.Charset()};
    if (m_levelsKey == key)
        return;
    m_levelsKey.reset(); // until the levels below are complete
    m_blendValid = false;

    const std::int32_t w = rect.Width(), h = rect.Height();
    toolkit::TBitmap& mask = *m_mask;
    mask.SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    mask.SetSize(w, h);
    platform::FillRect(mask.DC(), {0, 0, w, h}, 0);
    toolkit::TCanvas& mc = mask.Canvas();
    mc.Font().Assign(&font);
    mc.Font().SetColor(0xFFFFFF);
    toolkit::DrawControlText(mc, text, rect.Offset(shadow.distance, shadow.distance), flags, true);

    // The levels: a one-cell border of zeros around the mask.
    const std::size_t cols = static_cast<std::size_t>(w) + 2,
                      rows = static_cast<std::size_t>(h) + 2;
    if (m_levels.size() < cols * rows * 2)
        m_levels.resize(cols * rows * 2);
    std::fill(m_levels.begin(), m_levels.begin() + static_cast<std::ptrdiff_t>(cols * rows * 2), 0);
    std::uint8_t* levels = m_levels.data();
    for (std::int32_t pass = 0; pass < shadow.blur; ++pass) {
        for (std::int32_t y = 0; y < h; ++y) {
            const std::uint8_t* row = mask.ScanLine(y);
            std::uint8_t* cells = levels + (y + 1) * cols + 1;
            for (std::int32_t x = 0; x < w; ++x)
                if (row[3 * x] != 0)
                    cells[x] = 255;
        }
        // In place, so each cell already sees the new values above and to its left.
        for (std::size_t y = 1; y + 1 < rows; ++y) {
            std::uint8_t* cells = levels + y * cols;
            const std::uint8_t* above = cells - cols;
            const std::uint8_t* below = cells + cols;
            for (std::size_t x = 1; x + 1 < cols; ++x)
                cells[x] = static_cast<std::uint8_t>(
                    (above[x] + below[x] + cells[x - 1] + cells[x + 1]) / 4);
        }
    }
    m_levelsKey = std::move(key);
}

void TsLabelFX::PaintShadow(const std::string& text, const platform::Rect& rect, unsigned flags,
                            const ShadowParams& shadow) {
    MakeLevels(text, rect, flags, shadow);
    const std::int32_t w = rect.Width(), h = rect.Height();
    const std::size_t cols = static_cast<std::size_t>(w) + 2;
    toolkit::TBitmap& mask = *m_mask;
    toolkit::TCanvas& canvas = Canvas();
    if (Transparent()) {
        platform::BitBlt(mask.DC(), 0, 0, w, h, canvas.Handle(), 0, 0, platform::RasterOp::SrcCopy);
    } else {
        platform::FillRect(mask.DC(), {0, 0, w, h}, toolkit::ColorToRGB(Color()) & 0xFFFFFF);
    }
    const std::array<std::uint8_t, 3> shade{m_shadow->B(), m_shadow->G(), m_shadow->R()};

    // The same levels and colour over the same background give the same pixels as last time.
    const auto rowBytes = static_cast<std::size_t>(w) * 3;
    bool same = m_blendValid && m_blendShade == shade;
    for (std::int32_t y = 0; same && y < h; ++y)
        same = std::memcmp(mask.ScanLine(y), m_blendUnder.data() + y * rowBytes, rowBytes) == 0;
    if (same) {
        for (std::int32_t y = 0; y < h; ++y)
            std::memcpy(mask.ScanLine(y), m_blendResult.data() + y * rowBytes, rowBytes);
    } else {
        m_blendUnder.resize(rowBytes * static_cast<std::size_t>(h));
        m_blendResult.resize(m_blendUnder.size());
        for (std::int32_t y = 0; y < h; ++y) {
            std::uint8_t* p = mask.ScanLine(y);
            std::memcpy(m_blendUnder.data() + y * rowBytes, p, rowBytes);
            const std::uint8_t* cells = m_levels.data() + (y + 1) * cols + 1;
            for (std::int32_t x = 0; x < w; ++x, p += 3) {
                const unsigned level = cells[x];
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<std::uint8_t>(
                        (p[c] * (255 - level) + unsigned{shade[c]} * level) / 256);
            }
            std::memcpy(m_blendResult.data() + y * rowBytes, mask.ScanLine(y), rowBytes);
        }
        m_blendShade = shade;
        m_blendValid = true;
    }
    platform::BitBlt(canvas.Handle(), 0, 0, w, h, mask.DC(), 0, 0, platform::RasterOp::SrcCopy);
}

} // namespace skinned
