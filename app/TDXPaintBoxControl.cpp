#include "app/TDXPaintBoxControl.h"

namespace app {

TDXPaintBoxControl::TDXPaintBoxControl(toolkit::TComponent* owner)
    : toolkit::TGraphicControl(owner) {
    m_box.OnInvalidate = [this] { Invalidate(); };
}

void TDXPaintBoxControl::Paint() {
    m_box.SetClientSize({Width(), Height()});
    m_box.Paint(Canvas());
}

} // namespace app
