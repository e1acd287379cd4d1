#pragma once
// A shown form for the standard controls' tests, with pixel helpers for text and glyph ink.

#include "ToolkitTestSupport.h"

namespace toolkit::testing {

class StandardControlsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm({100, 100, 600, 450});
        form->SetName("Form1");
        form->SetColor(clBtnFace);
    }
    void ShowForm() {
        form->Show();
        Pump();
    }
    template <class T> T* Add(TWinControl* parent, const char* name, platform::Rect bounds) {
        T* c = new T(form);
        c->SetName(name);
        c->SetParent(parent);
        c->SetBoundsRect(bounds);
        return c;
    }
    static bool IsDark(platform::Color c) {
        return platform::GetRValue(c) + platform::GetGValue(c) + platform::GetBValue(c) < 3 * 0x60;
    }
    // How many pixels of area (client coordinates of c) are dark: text and glyph ink.
    int DarkPixels(TControl& c, const platform::Rect& area) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += IsDark(PixelAt(c, {x, y}));
        return n;
    }
    platform::Point Screen(TControl& c, platform::Point client) { return c.ClientToScreen(client); }

    TForm* form = nullptr;
};

} // namespace toolkit::testing
