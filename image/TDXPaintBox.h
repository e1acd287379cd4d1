#pragma once
// The preview box: shows one TDIB at natural size, fitted or stretched, centred or at the top
// left of its client area. TCustomDXPaintBox holds the behaviour; the window control that hosts
// it supplies the client size, repaints on Invalidate and calls Paint with its canvas.
//
// Geometry (client pixels): PreviewRect picks the shown size from the view size, AutoStretch,
// Stretch and KeepAspect, in that precedence; scale factors are 32-bit floats, the smaller of the
// horizontal and vertical ratios (horizontal on a tie), sizes rounded half to even. With Center
// the picture is centred (a negative offset when it is larger than the client area).

#include <cstdint>
#include <functional>
#include <memory>

#include "image/TDIB.h"
#include "platform/gfx/Geometry.h"
#include "toolkit/TCanvas.h"

namespace image {

struct TPreviewOptions {
    bool autoStretch = false;
    bool center = false;
    bool keepAspect = false;
    bool stretch = false;
    std::int32_t viewWidth = 0;
    std::int32_t viewHeight = 0;
};

// Where a picture of pictureSize is shown in a client area of clientSize.
platform::Rect PreviewRect(const TPreviewOptions& options, platform::Size clientSize,
                           platform::Size pictureSize);

class TCustomDXPaintBox {
public:
    TCustomDXPaintBox(); // a 105 × 105 box with an empty DIB
    virtual ~TCustomDXPaintBox();

    bool AutoStretch() const { return m_options.autoStretch; }
    bool Center() const { return m_options.center; }
    bool KeepAspect() const { return m_options.keepAspect; }
    bool Stretch() const { return m_options.stretch; }
    std::int32_t ViewWidth() const { return m_options.viewWidth; }
    std::int32_t ViewHeight() const { return m_options.viewHeight; }
    // Setters invalidate only when the value changes; negative view sizes become 0.
    void SetAutoStretch(bool value);
    void SetCenter(bool value);
    void SetKeepAspect(bool value);
    void SetStretch(bool value);
    void SetViewWidth(std::int32_t value);
    void SetViewHeight(std::int32_t value);

    TDIB& DIB() { return *m_dib; }
    // Assigns value to the box's own DIB (sharing its store) and invalidates.
    void SetDIB(const TDIB& value);
    std::shared_ptr<platform::Palette> GetPalette() { return m_dib->GetPalette(); }

    platform::Size ClientSize() const { return m_clientSize; }
    void SetClientSize(platform::Size size) { m_clientSize = size; }

    // Paints the picture into canvas (client coordinates); an empty DIB paints nothing.
    virtual void Paint(toolkit::TCanvas& canvas);
    // Asks the host to repaint.
    virtual void Invalidate() {
        if (OnInvalidate)
            OnInvalidate();
    }
    std::function<void()> OnInvalidate;

protected:
    TPreviewOptions m_options;

private:
    std::unique_ptr<TDIB> m_dib;
    platform::Size m_clientSize{105, 105};
};

class TDXPaintBox : public TCustomDXPaintBox {};

} // namespace image
