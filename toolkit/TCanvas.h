#pragma once
// A canvas draws through a device context (its handle), in the context's logical coordinates.
// A canvas may have no context: every drawing operation then raises EInvalidOperation "Canvas
// does not allow drawing" and changes nothing.
//
// Every drawing operation runs, in order: OnChanging (the owner may swap the context here, as a
// copy-on-write picture does), Handle() (asking CreateHandle for a context when there is none),
// the drawing, then OnChange. The canvas does not own its context.

#include <cstdint>
#include <functional>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Geometry.h"
#include "toolkit/TPersistent.h"

namespace toolkit {

class TGraphic;

class TBrush {
public:
    platform::Color Color() const { return m_color; }
    void SetColor(platform::Color color) { m_color = color; }

private:
    platform::Color m_color = platform::RGB(255, 255, 255);
};

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
    platform::RasterOp CopyMode() const { return m_copyMode; }
    void SetCopyMode(platform::RasterOp mode) { m_copyMode = mode; }

    // The picture at its own size with its top left corner at (x, y).
    void Draw(std::int32_t x, std::int32_t y, TGraphic& graphic);
    // The picture stretched into rect.
    void StretchDraw(const platform::Rect& rect, TGraphic& graphic);
    // Fills rect with the brush colour.
    void FillRect(const platform::Rect& rect);
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
    platform::DeviceContext* m_handle = nullptr;
    TBrush m_brush;
    platform::RasterOp m_copyMode = platform::RasterOp::SrcCopy;
};

} // namespace toolkit
