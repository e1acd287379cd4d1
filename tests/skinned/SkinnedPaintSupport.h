#pragma once
// A headless application with a skin manager holding the internal skin, and pixel helpers for
// the skinned controls' tests.

#include <memory>

#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "tests/support/Bitmaps.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinnedtest {

using charvane::testing::BitmapPixel;

// A control of class T owned by and placed on parent.
template <class T> T* Make(toolkit::TWinControl* parent, platform::Rect bounds) {
    T* control = new T(parent);
    control->SetBoundsRect(bounds);
    control->SetParent(parent);
    return control;
}

// A graphic control that paints a 2 × 2 red dot at its middle and leaves the rest alone.
class TDot : public toolkit::TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::string ClassName() const override { return "TDot"; }
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        const int x = Width() / 2, y = Height() / 2;
        platform::FillRect(Canvas().Handle(), {x, y, x + 2, y + 2}, 0x0000FF);
    }
};

class SkinnedPaintTest : public toolkit::testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinName(skin::kInternalSkinName);
    }
    void TearDown() override {
        manager.reset();
        ToolkitTest::TearDown();
    }
    std::unique_ptr<skin::TsSkinManager> manager;
};

} // namespace skinnedtest
