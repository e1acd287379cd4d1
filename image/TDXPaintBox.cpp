#include "image/TDXPaintBox.h"

#include <cmath>

namespace image {

namespace {

// Rounds half to even, as the platform's float-to-integer rounding does.
std::int32_t RoundEven(float value) {
    return static_cast<std::int32_t>(std::nearbyint(value));
}

// The smaller of the two ratios, each held as a 32-bit float; the horizontal one wins a tie.
float ScaleToFit(platform::Size client, std::int32_t w, std::int32_t h) {
    const float sx = static_cast<float>(client.cx) / static_cast<float>(w);
    const float sy = static_cast<float>(client.cy) / static_cast<float>(h);
    return sy < sx ? sy : sx;
}

} // namespace

platform::Rect PreviewRect(const TPreviewOptions& options, platform::Size client,
                           platform::Size picture) {
    std::int32_t w = picture.cx;
    std::int32_t h = picture.cy;
    if (options.viewWidth > 0 || options.viewHeight > 0) {
        w = options.viewWidth > 0 ? options.viewWidth : picture.cx;
        h = options.viewHeight > 0 ? options.viewHeight : picture.cy;
        if (options.autoStretch && (w > client.cx || h > client.cy) && w > 0 && h > 0) {
            const float s = ScaleToFit(client, w, h);
            w = RoundEven(static_cast<float>(w) * s);
            h = RoundEven(static_cast<float>(h) * s);
        }
    } else if (picture.cx <= 0 || picture.cy <= 0) {
        // Nothing to scale.
    } else if (options.autoStretch) {
        if (client.cx < picture.cx || client.cy < picture.cy) {
            const float s = ScaleToFit(client, picture.cx, picture.cy);
            w = RoundEven(static_cast<float>(picture.cx) * s);
            h = RoundEven(static_cast<float>(picture.cy) * s);
        }
    } else if (options.stretch && options.keepAspect) {
        const float s = ScaleToFit(client, picture.cx, picture.cy);
        w = RoundEven(static_cast<float>(picture.cx) * s);
        h = RoundEven(static_cast<float>(picture.cy) * s);
    } else if (options.stretch) {
        w = client.cx;
        h = client.cy;
    }
    std::int32_t left = 0;
    std::int32_t top = 0;
    if (options.center) {
        left = static_cast<std::int32_t>((std::int64_t{client.cx} - w) / 2);
        top = static_cast<std::int32_t>((std::int64_t{client.cy} - h) / 2);
    }
    return {left, top, static_cast<std::int32_t>(std::int64_t{left} + w),
            static_cast<std::int32_t>(std::int64_t{top} + h)};
}

TCustomDXPaintBox::TCustomDXPaintBox() : m_dib(std::make_unique<TDIB>()) {}

TCustomDXPaintBox::~TCustomDXPaintBox() = default;

void TCustomDXPaintBox::SetAutoStretch(bool value) {
    if (m_options.autoStretch != value) {
        m_options.autoStretch = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetCenter(bool value) {
    if (m_options.center != value) {
        m_options.center = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetKeepAspect(bool value) {
    if (m_options.keepAspect != value) {
        m_options.keepAspect = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetStretch(bool value) {
    if (m_options.stretch != value) {
        m_options.stretch = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetViewWidth(std::int32_t value) {
    value = value < 0 ? 0 : value;
    if (m_options.viewWidth != value) {
        m_options.viewWidth = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetViewHeight(std::int32_t value) {
    value = value < 0 ? 0 : value;
    if (m_options.viewHeight != value) {
        m_options.viewHeight = value;
        Invalidate();
    }
}

void TCustomDXPaintBox::SetDIB(const TDIB& value) {
    if (&value != m_dib.get()) {
        m_dib->Assign(&value);
        Invalidate();
    }
}

void TCustomDXPaintBox::Paint(toolkit::TCanvas& canvas) {
    if (m_dib->Empty())
        return;
    const platform::Size picture{m_dib->Width(), m_dib->Height()};
    const platform::Rect rect = PreviewRect(m_options, m_clientSize, picture);
    if (rect.Width() == picture.cx && rect.Height() == picture.cy)
        canvas.Draw(rect.left, rect.top, *m_dib);
    else
        canvas.StretchDraw(rect, *m_dib);
}

} // namespace image
