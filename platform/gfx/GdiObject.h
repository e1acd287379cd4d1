#pragma once
// The common base of the objects a device context can hold (DIB sections, palettes, and the
// fonts, pens and brushes of the text and drawing code). Objects are shared: a device context
// keeps what is selected into it alive, so releasing an object while it is selected is safe.

namespace platform {

class GdiObject {
public:
    GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject() = default;
};

} // namespace platform
