#include "toolkit/TCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/gfx/text/TextDraw.h"
#include "platform/gfx/text/Utf8.h"

#include "toolkit/Exceptions.h"
#include "toolkit/TGraphic.h"

namespace toolkit {
namespace {

// On and off run lengths of the dash patterns, starting with "on".
std::span<const int> DashPattern(TPenStyle style) {
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case TPenStyle::psDash:
        return kDash;
    case TPenStyle::psDot:
        return kDot;
    case TPenStyle::psDashDot:
        return kDashDot;
    case TPenStyle::psDashDotDot:
        return kDashDotDot;
    default:
        return {};
    }
}

// The x positions where the outline crosses the line through pixel centres of row y.
std::vector<double> Crossings(std::span<const platform::Point> pts, double y) {
    std::vector<double> xs;
    const std::size_t n = pts.size();
    for (std::size_t i = 0; i < n; ++i) {
        const platform::Point a = pts[i];
        const platform::Point b = pts[(i + 1) % n];
        if (a.y == b.y)
            continue;
        const double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
        if (y < y0 || y >= y1)
            continue;
        xs.push_back(a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

} // namespace

platform::DeviceContext& TCanvas::Handle() {
    if (m_handle == nullptr)
        CreateHandle();
    if (m_handle == nullptr)
        throw EInvalidOperation::CanvasDoesNotAllowDrawing();
    return *m_handle;
}

void TCanvas::Changing() {
    if (OnChanging)
        OnChanging();
}

void TCanvas::Changed() {
    if (OnChange)
        OnChange();
}

void TCanvas::Draw(std::int32_t x, std::int32_t y, TGraphic& graphic) {
    Changing();
    Handle();
    const auto w = static_cast<std::int32_t>(std::int64_t{x} + graphic.Width());
    const auto h = static_cast<std::int32_t>(std::int64_t{y} + graphic.Height());
    graphic.Draw(*this, {x, y, w, h});
    Changed();
}

void TCanvas::StretchDraw(const platform::Rect& rect, TGraphic& graphic) {
    Changing();
    Handle();
    graphic.Draw(*this, rect);
    Changed();
}

void TCanvas::FillRect(const platform::Rect& rect) {
    Changing();
    platform::DeviceContext& dc = Handle();
    if (m_brush.Style() != TBrushStyle::bsClear)
        platform::FillRect(dc, rect, ColorToRGB(m_brush.Color()));
    Changed();
}

void TCanvas::FrameRect(const platform::Rect& rect) {
    Changing();
    platform::FrameRect(Handle(), rect, ColorToRGB(m_brush.Color()));
    Changed();
}

void TCanvas::PenLine(platform::DeviceContext& dc, platform::Point from, platform::Point to) {
    if (m_pen.Style() == TPenStyle::psClear)
        return;
    const platform::Color color = ColorToRGB(m_pen.Color());
    const int width = std::max(1, m_pen.Width());
    const int before = (width - 1) / 2;
    const std::span<const int> pattern = DashPattern(m_pen.Style());
    // Straight solid lines are one fill.
    if (pattern.empty() && (from.x == to.x || from.y == to.y)) {
        platform::Rect r{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x),
                         std::max(from.y, to.y)};
        // The end point is left out: the rectangle stops before it on the moving axis.
        if (from.x == to.x) {
            if (to.y < from.y)
                r = {r.left, r.top + 1, r.right, r.bottom + 1};
            r.right = r.left + 1;
        } else {
            if (to.x < from.x)
                r = {r.left + 1, r.top, r.right + 1, r.bottom};
            r.bottom = r.top + 1;
        }
        r = {r.left - before, r.top - before, r.right - before + width - 1,
             r.bottom - before + width - 1};
        platform::FillRect(dc, r, color);
        return;
    }
    const std::int64_t dx = std::llabs(std::int64_t{to.x} - from.x);
    const std::int64_t dy = -std::llabs(std::int64_t{to.y} - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    std::int64_t err = dx + dy;
    platform::Point p = from;
    std::size_t run = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    bool on = true;
    while (!(p.x == to.x && p.y == to.y)) {
        if (on)
            platform::FillRect(
                dc, {p.x - before, p.y - before, p.x - before + width, p.y - before + width},
                color);
        if (!pattern.empty() && --left == 0) {
            run = (run + 1) % pattern.size();
            left = pattern[run];
            on = run % 2 == 0;
        }
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y) {
    Changing();
    PenLine(Handle(), m_penPos, {x, y});
    m_penPos = {x, y};
    Changed();
}

void TCanvas::Rectangle(const platform::Rect& rect) {
    Changing();
    platform::DeviceContext& dc = Handle();
    if (rect.IsEmpty()) {
        Changed();
        return;
    }
    const bool outline = m_pen.Style() != TPenStyle::psClear;
    if (m_brush.Style() != TBrushStyle::bsClear) {
        // Without an outline the platform's rectangle covers one pixel less each way.
        const platform::Rect inside =
            outline ? platform::Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}
                    : platform::Rect{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
        if (!inside.IsEmpty())
            platform::FillRect(dc, inside, ColorToRGB(m_brush.Color()));
    }
    if (outline) {
        const std::int32_t r = rect.right - 1, b = rect.bottom - 1;
        PenLine(dc, {rect.left, rect.top}, {r, rect.top});
        PenLine(dc, {r, rect.top}, {r, b});
        PenLine(dc, {r, b}, {rect.left, b});
        PenLine(dc, {rect.left, b}, {rect.left, rect.top});
        if (rect.Width() == 1 || rect.Height() == 1)
            PenLine(dc, {r, b}, {r + 1, b});
    }
    Changed();
}

void TCanvas::Polyline(std::span<const platform::Point> points) {
    Changing();
    platform::DeviceContext& dc = Handle();
    for (std::size_t i = 1; i < points.size(); ++i)
        PenLine(dc, points[i - 1], points[i]);
    if (!points.empty())
        m_penPos = points.back();
    Changed();
}

void TCanvas::Polygon(std::span<const platform::Point> points) {
    Changing();
    platform::DeviceContext& dc = Handle();
    if (points.size() < 2) {
        Changed();
        return;
    }
    if (m_brush.Style() != TBrushStyle::bsClear && points.size() >= 3) {
        const platform::Color fill = ColorToRGB(m_brush.Color());
        std::int32_t top = points[0].y, bottom = points[0].y;
        for (const platform::Point& p : points) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        // Only rows that can be seen cost anything.
        const platform::Rect clip = platform::GetClipBox(dc);
        top = std::max(top, clip.top);
        bottom = std::min(bottom, clip.bottom);
        for (std::int32_t y = top; y < bottom; ++y) {
            const std::vector<double> xs = Crossings(points, y + 0.5);
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                const auto x0 = static_cast<std::int32_t>(std::ceil(xs[i] - 0.5));
                const auto x1 = static_cast<std::int32_t>(std::ceil(xs[i + 1] - 0.5));
                if (x1 > x0)
                    platform::FillRect(dc, {x0, y, x1, y + 1}, fill);
            }
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        PenLine(dc, points[i], points[(i + 1) % points.size()]);
    Changed();
}

void TCanvas::SelectTextTools(platform::DeviceContext& dc) {
    platform::SelectFont(dc, m_font.Handle());
    platform::SetTextColor(dc, ColorToRGB(m_font.Color()));
    if (m_brush.Style() == TBrushStyle::bsClear) {
        platform::SetBkMode(dc, platform::BkMode::Transparent);
    } else {
        platform::SetBkMode(dc, platform::BkMode::Opaque);
        platform::SetBkColor(dc, ColorToRGB(m_brush.Color()));
    }
}

void TCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
    Changing();
    platform::DeviceContext& dc = Handle();
    {
        platform::DcStateGuard guard(dc);
        SelectTextTools(dc);
        platform::TextOut(dc, x, y, text);
    }
    m_penPos = {x + TextExtent(text).cx, y};
    Changed();
}

void TCanvas::TextRect(const platform::Rect& rect, std::int32_t x, std::int32_t y,
                       const std::string& text) {
    Changing();
    platform::DeviceContext& dc = Handle();
    {
        platform::DcStateGuard guard(dc);
        SelectTextTools(dc);
        unsigned options = platform::ETO_CLIPPED;
        if (m_brush.Style() != TBrushStyle::bsClear)
            options |= platform::ETO_OPAQUE;
        platform::ExtTextOut(dc, x, y, options, &rect, text);
    }
    Changed();
}

int TCanvas::DrawText(const std::string& text, platform::Rect& rect, unsigned format) {
    Changing();
    platform::DeviceContext& dc = Handle();
    int height = 0;
    {
        platform::DcStateGuard guard(dc);
        SelectTextTools(dc);
        height = platform::DrawText(dc, text, rect, format);
    }
    Changed();
    return height;
}

platform::Size TCanvas::TextExtent(const std::string& text) {
    return platform::TextExtent(*m_font.Handle(), platform::Utf8ToUtf32(text));
}

void TCanvas::CopyRect(const platform::Rect& destRect, TCanvas& source,
                       const platform::Rect& sourceRect) {
    Changing();
    platform::DeviceContext& dc = Handle();
    platform::DeviceContext& src = source.Handle();
    platform::StretchBlt(dc, destRect.left, destRect.top, destRect.Width(), destRect.Height(), src,
                         sourceRect.left, sourceRect.top, sourceRect.Width(), sourceRect.Height(),
                         m_copyMode);
    Changed();
}

platform::Color TCanvas::Pixels(std::int32_t x, std::int32_t y) {
    return platform::GetPixel(Handle(), x, y);
}

void TCanvas::SetPixels(std::int32_t x, std::int32_t y, platform::Color color) {
    Changing();
    platform::SetPixel(Handle(), x, y, color);
    Changed();
}

} // namespace toolkit
