#pragma once
// The preview box as a control of the main window: a windowless control that owns one
// image::TDXPaintBox, hands it its size and canvas when painting, and repaints when the box
// asks to (a new picture, a changed option). Its ClassName is the box's, "TDXPaintBox".
//
// Changing the box's DIB directly (loading a file into it) does not repaint by itself: call
// Invalidate afterwards.

#include "image/TDXPaintBox.h"
#include "toolkit/TControl.h"

namespace app {

class TDXPaintBoxControl : public toolkit::TGraphicControl {
public:
    explicit TDXPaintBoxControl(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TDXPaintBox"; }

    image::TDXPaintBox& Box() { return m_box; }
    image::TDIB& DIB() { return m_box.DIB(); }

protected:
    void Paint() override;

private:
    image::TDXPaintBox m_box;
};

} // namespace app
