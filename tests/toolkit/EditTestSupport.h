#pragma once
// A shown form on the headless host with helpers that drive the focused control through real
// key and character input, and a search for a colour inside a control's area.

#include <initializer_list>
#include <string>

#include "ToolkitTestSupport.h"
#include "platform/win/Clipboard.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TMemo.h"

namespace toolkit::testing {

class EditTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm({50, 50, 650, 500});
        form->SetColor(clYellow);
        form->Show();
        Pump();
    }
    template <class T> T* Make(platform::Rect bounds) {
        T* c = new T(form);
        c->SetParent(form);
        c->SetBoundsRect(bounds);
        return c;
    }
    void Focus(TWinControl& c) {
        c.SetFocus();
        Pump();
    }
    void Type(const std::string& utf8) {
        host->Text(utf8);
        Pump();
    }
    void Keys(std::initializer_list<int> keys) {
        for (int k : keys)
            host->Key(k);
        Pump();
    }
    void WithModifier(int modifier, std::initializer_list<int> keys) {
        host->KeyDown(modifier);
        for (int k : keys)
            host->Key(k);
        host->KeyUp(modifier);
        Pump();
    }
    void ShiftKeys(std::initializer_list<int> keys) { WithModifier(platform::VK_SHIFT, keys); }
    void CtrlKeys(std::initializer_list<int> keys) { WithModifier(platform::VK_CONTROL, keys); }
    bool HasColourIn(TControl& c, const platform::Rect& r, platform::Color colour) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (PixelAt(c, {x, y}) == colour)
                    return true;
        return false;
    }

    TForm* form = nullptr;
};

} // namespace toolkit::testing
