#pragma once
// A shown form for the list controls' tests, with input helpers in the controls' own client
// coordinates.

#include "ToolkitTestSupport.h"
#include "platform/win/Input.h"

namespace toolkit::testing {

class ListControlsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm({50, 50, 650, 450});
        form->SetName("Form1");
        form->Show();
        Pump();
    }
    template <class T> T* Make(const char* name, platform::Rect bounds) {
        T* c = new T(form);
        c->SetName(name);
        c->SetParent(form);
        c->SetBoundsRect(bounds);
        return c;
    }
    void ClickAt(TControl& c, platform::Point client) {
        host->Click(c.ClientToScreen(client));
        Pump();
    }
    void Press(int vk) {
        host->Key(vk);
        Pump();
    }
    void PressWith(int modifier, int vk) {
        host->KeyDown(modifier);
        host->Key(vk);
        host->KeyUp(modifier);
        Pump();
    }
    void Type(const std::string& utf8) {
        host->Text(utf8);
        Pump();
    }

    TForm* form = nullptr;
};

} // namespace toolkit::testing
