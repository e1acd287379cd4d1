// The message path: toolkit notifications and the skin library's command message reach every
// control, windowed or not, through Perform, through the window's procedure, and through
// subclassing at either level.

#include "ToolkitTestSupport.h"
#include "platform/win/Input.h"
#include "toolkit/Exceptions.h"

namespace toolkit::testing {
namespace {

class Messages : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm();
        panel = new TLoggedWindow(form, &log);
        panel->SetName("panel");
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 150);
        label = new TLoggedGraphic(form, &log);
        label->SetName("label");
        label->SetParent(panel);
        label->SetBounds(20, 20, 50, 30);
        inner = new TLoggedWindow(form, &log);
        inner->SetName("inner");
        inner->SetParent(panel);
        inner->SetBounds(100, 20, 60, 60);
        form->Show();
        Pump();
        log.Clear();
    }

    MessageLog log;
    TForm* form = nullptr;
    TLoggedWindow* panel = nullptr;
    TLoggedGraphic* label = nullptr;
    TLoggedWindow* inner = nullptr;
};

TEST_F(Messages, ChangesAnnounceThemselvesToGraphicAndWindowedControls) {
    struct Case {
        const char* what;
        UINT msg;
        std::function<void(TControl&)> change;
    };
    const Case cases[] = {
        {"enabled", CM_ENABLEDCHANGED, [](TControl& c) { c.SetEnabled(false); }},
        {"text", CM_TEXTCHANGED, [](TControl& c) { c.SetText("new"); }},
        {"font", CM_FONTCHANGED, [](TControl& c) { c.Font().SetHeight(-20); }},
        {"visible", CM_VISIBLECHANGED, [](TControl& c) { c.SetVisible(false); }},
        {"colour", CM_COLORCHANGED, [](TControl& c) { c.SetColor(clRed); }},
    };
    for (const Case& k : cases)
        for (TControl* c : {static_cast<TControl*>(label), static_cast<TControl*>(inner)}) {
            log.Clear();
            k.change(*c);
            EXPECT_EQ(log.Count(c->Name(), k.msg), 1) << k.what << " on " << c->Name();
        }
    // Setting a value it already has announces nothing.
    log.Clear();
    label->SetText("new");
    label->SetColor(clRed);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(Messages, TheWindowAndTheControlAgreeOnTextVisibilityAndEnabledState) {
    inner->SetText("Caption");
    EXPECT_EQ(platform::GetWindowText(inner->Handle()), "Caption");
    platform::SetWindowText(inner->Handle(), "From outside");
    EXPECT_EQ(inner->Text(), "From outside");
    inner->SetEnabled(false);
    EXPECT_FALSE(platform::IsWindowEnabled(inner->Handle()));
    inner->Hide();
    EXPECT_FALSE(platform::IsWindowVisible(inner->Handle()));
    inner->Show();
    EXPECT_TRUE(platform::IsWindowVisible(inner->Handle()));
}

TEST_F(Messages, LibraryCommandReachesEveryKindOfControl) {
    // Through Perform, windowed or not.
    const WPARAM command = platform::MAKEWPARAM(1, 7);
    label->Perform(kLibraryCommandMessage, command, 42);
    inner->Perform(kLibraryCommandMessage, command, 43);
    // Through the window's procedure.
    platform::SendMessage(panel->Handle(), kLibraryCommandMessage, command, 44);
    platform::PostMessage(inner->Handle(), kLibraryCommandMessage, command, 45);
    Pump();
    std::vector<LPARAM> seen;
    for (const auto& e : log.entries)
        if (e.msg == kLibraryCommandMessage) {
            EXPECT_EQ(e.wParam, command);
            seen.push_back(e.lParam);
        }
    EXPECT_EQ(seen, (std::vector<LPARAM>{42, 43, 44, 45}));
    EXPECT_EQ(log.Order(kLibraryCommandMessage),
              (std::vector<std::string>{"label", "inner", "panel", "inner"}));
}

TEST_F(Messages, SubclassedWindowProcedureStillLeadsToWndProc) {
    std::vector<UINT> subclassSaw;
    const platform::HWND h = inner->Handle();
    platform::WNDPROC previous;
    previous = platform::SetWindowProc(
        h, platform::WNDPROC::Bind([&](platform::HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
            subclassSaw.push_back(msg);
            if (msg == kLibraryCommandMessage && platform::HIWORD(w) == 7)
                return platform::CallWindowProc(previous, hwnd, msg, w, l) + 100;
            return platform::CallWindowProc(previous, hwnd, msg, w, l);
        }));
    // A toolkit-level subclass on top: it answers command 7 itself after the control.
    const TWndMethod old = inner->WindowProc();
    inner->SetWindowProc([&](TMessage& m) {
        old(m);
        if (m.Msg == kLibraryCommandMessage && platform::HIWORD(m.WParam) == 7)
            m.Result = 1;
    });
    const LRESULT answer =
        platform::SendMessage(h, kLibraryCommandMessage, platform::MAKEWPARAM(0, 7), 0);
    EXPECT_EQ(answer, 101);
    EXPECT_EQ(log.Count("inner", kLibraryCommandMessage), 1);
    ASSERT_FALSE(subclassSaw.empty());
    EXPECT_EQ(subclassSaw.back(), kLibraryCommandMessage);
    // Painting keeps going through both.
    inner->Invalidate();
    Pump();
    EXPECT_EQ(log.Count("inner", platform::WM_PAINT), 1);
    inner->SetWindowProc(old);
    platform::SetWindowProc(h, previous);
}

TEST_F(Messages, ParentColourAndFontFlowDownUntilAChildSetsItsOwn) {
    auto* deep = new TLoggedGraphic(form, &log);
    deep->SetName("deep");
    deep->SetParent(inner);
    EXPECT_EQ(deep->Color(), panel->Color());
    log.Clear();
    panel->SetColor(clYellow);
    EXPECT_EQ(log.Count("label", CM_PARENTCOLORCHANGED), 1);
    EXPECT_EQ(label->Color(), clYellow);
    EXPECT_EQ(inner->Color(), clYellow);
    EXPECT_EQ(deep->Color(), clYellow);
    EXPECT_TRUE(deep->ParentColor());

    panel->Font().SetName("Times New Roman");
    panel->Font().SetStyle({TFontStyle::fsBold});
    EXPECT_EQ(deep->Font().Name(), "Times New Roman");
    EXPECT_TRUE(deep->Font().Style().Contains(TFontStyle::fsBold));
    EXPECT_TRUE(deep->ParentFont());

    // A child with its own values keeps them and shields nobody but itself.
    inner->SetColor(clAqua);
    inner->Font().SetHeight(-20);
    EXPECT_FALSE(inner->ParentColor());
    EXPECT_FALSE(inner->ParentFont());
    panel->SetColor(clLime);
    panel->Font().SetHeight(-9);
    EXPECT_EQ(inner->Color(), clAqua);
    EXPECT_EQ(inner->Font().Height(), -20);
    EXPECT_EQ(deep->Color(), clAqua); // deep inherits from inner now
    EXPECT_EQ(label->Color(), clLime);
    EXPECT_EQ(label->Font().Height(), -9);
    // Asking to inherit again takes the parent's at once.
    inner->SetParentColor(true);
    EXPECT_EQ(inner->Color(), clLime);
    EXPECT_EQ(deep->Color(), clLime);
    inner->SetParentFont(true);
    EXPECT_EQ(deep->Font().Height(), -9);
}

TEST_F(Messages, MouseEnterAndLeaveFollowTheMouseAcrossGraphicAndWindowedControls) {
    auto at = [&](TControl& c, int x, int y) { return c.ClientToScreen({x, y}); };
    for (platform::Point p :
         {at(*panel, 5, 5), at(*label, 5, 5), at(*inner, 5, 5), at(*panel, 5, 5)}) {
        host->MouseMove(p);
        Pump();
    }
    std::vector<std::string> events;
    for (const auto& e : log.entries)
        if ((e.msg == CM_MOUSEENTER || e.msg == CM_MOUSELEAVE) && e.lParam == 0)
            events.push_back((e.msg == CM_MOUSEENTER ? "enter " : "leave ") + e.control);
    EXPECT_EQ(events,
              (std::vector<std::string>{"enter panel", "leave panel", "enter label", "leave label",
                                        "enter inner", "leave inner", "enter panel"}));
    // Leaving the window from a graphic child tells the child.
    host->MouseMove(at(*label, 5, 5));
    Pump();
    host->MouseMove(form->ClientToScreen({-30, -30}));
    Pump();
    // The leave notice is posted while the move is taken out, after the queue was looked at.
    Pump();
    EXPECT_EQ(MouseControl(), nullptr);
    EXPECT_EQ(log.Count("label", CM_MOUSELEAVE), 2);
    // The container hears about its children, naming them.
    int heardLabel = 0;
    for (const auto& e : log.entries)
        if (e.control == "panel" && e.msg == CM_MOUSEENTER && ControlFromParam(e.lParam) == label)
            ++heardLabel;
    EXPECT_EQ(heardLabel, 2);
}

TEST_F(Messages, GraphicControlsGetClicksRoutedByTheirParent) {
    std::vector<std::string> clicks;
    label->OnClick = [&](TObject*) { clicks.push_back("label"); };
    panel->OnClick = [&](TObject*) { clicks.push_back("panel"); };
    std::vector<platform::Point> downs;
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        downs.push_back({x, y});
    };
    host->Click(label->ClientToScreen({3, 4}));
    host->Click(panel->ClientToScreen({150, 140}));
    // Pressed on the label, released outside it: no click.
    host->MouseDown(label->ClientToScreen({3, 4}));
    host->MouseUp(panel->ClientToScreen({5, 140}));
    Pump();
    EXPECT_EQ(clicks, (std::vector<std::string>{"label", "panel"}));
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0], (platform::Point{3, 4}));
    // A disabled graphic control lets the click through to its parent.
    label->SetEnabled(false);
    host->Click(label->ClientToScreen({3, 4}));
    Pump();
    EXPECT_EQ(clicks.back(), "panel");
}

TEST_F(Messages, FocusChangeIsBroadcastToEveryControl) {
    inner->SetTabStop(true);
    inner->SetFocus();
    Pump();
    EXPECT_TRUE(inner->Focused());
    EXPECT_EQ(form->ActiveControl(), inner);
    bool labelHeard = false;
    for (const auto& e : log.entries)
        if (e.control == "label" && e.msg == CM_FOCUSCHANGED && ControlFromParam(e.lParam) == inner)
            labelHeard = true;
    EXPECT_TRUE(labelHeard);
    EXPECT_EQ(log.Count("inner", CM_ENTER), 1);
    // Taking a focused control away leaves the form without an active control.
    delete inner;
    inner = nullptr;
    EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(Messages, CharactersNobodyWantsGoRoundTheFormAsDialogCharacters) {
    // The label answers "&x" as a mnemonic would.
    label->SetWindowProc([this, old = label->WindowProc()](TMessage& m) {
        old(m);
        if (m.Msg == CM_DIALOGCHAR && m.WParam == 'x')
            m.Result = 1;
    });
    std::vector<char32_t> typed;
    inner->OnKeyPress = [&](TObject*, char32_t& key) { typed.push_back(key); };
    inner->SetFocus();
    host->Text("xy");
    Pump();
    EXPECT_EQ(log.Count("label", CM_DIALOGCHAR), 2);
    EXPECT_EQ(log.Count("inner", CM_DIALOGCHAR), 1); // the broadcast stops at the answer
    // "x" was used up as a dialog character; "y" reaches the focused control.
    EXPECT_EQ(typed, (std::vector<char32_t>{U'y'}));
}

TEST_F(Messages, AHandlerMayDeleteItsOwnControl) {
    label->OnClick = [&](TObject* sender) {
        delete static_cast<TControl*>(sender);
        label = nullptr;
    };
    host->Click(panel->ClientToScreen({25, 25}));
    Pump();
    EXPECT_EQ(label, nullptr);
    EXPECT_EQ(panel->ControlCount(), 1);
}

TEST_F(Messages, AControlWithoutParentHasNoWindow) {
    TLoggedWindow orphan(nullptr, nullptr);
    orphan.SetName("orphan");
    try {
        orphan.HandleNeeded();
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Control 'orphan' has no parent window");
    }
}

} // namespace
} // namespace toolkit::testing
