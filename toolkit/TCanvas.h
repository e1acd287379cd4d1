#pragma once
// A canvas draws through a device context (its handle), in the context's logical coordinates.
// A canvas may have no context: every drawing operation then raises EInvalidOperation "Canvas
// does not allow drawing" and changes nothing.
//
// Every drawing operation runs, in order: OnChanging (the owner may swap the context here, as a
// copy-on-write picture does), Handle() (asking CreateHandle for a context when there is none),
// the drawing, then OnChange. The canvas does not own its context.
//
// Shapes and text use the canvas's tools: the Pen draws lines and outlines, the Brush fills
// (bsClear: no fill, and text without a background), the Font draws text in its colour. Lines
// leave out their end point (LineTo(x, y) draws up to, not including, (x, y)); Rectangle
// outlines with the pen just inside its rectangle and fills the inside with the brush, as the
// platform's shapes do. Every operation keeps the context's own state (font, colours, clip) as
// it was: the tools are selected for the one call only. Measuring text (TextWidth, TextHeight,
// TextExtent) needs no context.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Geometry.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TPersistent.h"

namespace toolkit {

class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas() = default;
    explicit TCanvas(platform::DeviceContext* dc) : m_handle(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas() override = default;

    std::string ClassName() const override { return "TCanvas"; }

    // The context, asking CreateHandle when there is none; raises "Canvas does not allow
    // drawing" when there still is none.
    platform::DeviceContext& Handle();
    void SetHandle(platform::DeviceContext* dc) { m_handle = dc; }
    bool HandleAllocated() const { return m_handle != nullptr; }

    TBrush& Brush() { return m_brush; }
    TFont& Font() { return m_font; }
    TPen& Pen() { return m_pen; }
    platform::RasterOp CopyMode() const { return m_copyMode; }
    void SetCopyMode(platform::RasterOp mode) { m_copyMode = mode; }

    // The picture at its own size with its top left corner at (x, y).
    void Draw(std::int32_t x, std::int32_t y, TGraphic& graphic);
    // The picture stretched into rect.
    void StretchDraw(const platform::Rect& rect, TGraphic& graphic);
    // Fills rect with the brush colour (nothing with a clear brush).
    void FillRect(const platform::Rect& rect);
    // A one-pixel frame just inside rect in the brush colour.
    void FrameRect(const platform::Rect& rect);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(const platform::Rect& rect);
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        Rectangle(platform::Rect{left, top, right, bottom});
    }
    // The closed shape through the points: filled with the brush (alternate filling: a point is
    // inside when a ray from it crosses the outline an odd number of times), outlined with the
    // pen. Fewer than two points draw nothing.
    void Polygon(std::span<const platform::Point> points);
    void Polyline(std::span<const platform::Point> points);

    platform::Point PenPos() const { return m_penPos; }
    void MoveTo(std::int32_t x, std::int32_t y) { m_penPos = {x, y}; }
    void LineTo(std::int32_t x, std::int32_t y);

    // UTF-8 text with the top left of its cell at (x, y); the pen moves to its end.
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text);
    // Text at (x, y) clipped to rect; rect is filled with the brush first unless it is clear.
    void TextRect(const platform::Rect& rect, std::int32_t x, std::int32_t y,
                  const std::string& text);
    // The platform's DrawText with the canvas font and colours (format: DT_* flags). Answers
    // the text height; with DT_CALCRECT measures into rect instead of drawing.
    int DrawText(const std::string& text, platform::Rect& rect, unsigned format);
    platform::Size TextExtent(const std::string& text);
    std::int32_t TextWidth(const std::string& text) { return TextExtent(text).cx; }
    std::int32_t TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Copies source's sourceRect stretched into destRect with the copy mode.
    void CopyRect(const platform::Rect& destRect, TCanvas& source,
                  const platform::Rect& sourceRect);

    // A pixel as RGB; kInvalidColor outside the drawable area (reading runs no hooks).
    platform::Color Pixels(std::int32_t x, std::int32_t y);
    void SetPixels(std::int32_t x, std::int32_t y, platform::Color color);

    std::function<void()> OnChanging;
    std::function<void()> OnChange;

protected:
    // Descendants that get their context on demand (a control's canvas) provide it here.
    virtual void CreateHandle() {}

    void Changing();
    void Changed();

private:
    // Runs draw with the pen's colour, width and dash pattern.
    void PenLine(platform::DeviceContext& dc, platform::Point from, platform::Point to);
    void SelectTextTools(platform::DeviceContext& dc);

    platform::DeviceContext* m_handle = nullptr;
    TBrush m_brush;
    TFont m_font;
    TPen m_pen;
    platform::Point m_penPos;
    platform::RasterOp m_copyMode = platform::RasterOp::SrcCopy;
};

} // namespace toolkit
