#include "toolkit/TCanvas.h"

#include "toolkit/Exceptions.h"
#include "toolkit/TGraphic.h"

namespace toolkit {

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
    platform::FillRect(Handle(), rect, m_brush.Color());
    Changed();
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
