// Forms and the application: modal use with default and cancel buttons, tab order, closing,
// the error box for exceptions from handlers, the message loop, timers on the test clock.

#include "ToolkitTestSupport.h"
#include "platform/win/Input.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBusyCursor.h"
#include "toolkit/TButtonControl.h"
#include "toolkit/TScreen.h"
#include "toolkit/TTimer.h"

namespace toolkit::testing {
namespace {

using platform::Cursor;
using platform::MouseButton;

class TTestButton : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    std::string ClassName() const override { return "TTestButton"; }
};

class Forms : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        mainForm = MakeForm({50, 50, 450, 350});
        mainForm->SetName("MainForm1");
        mainForm->Show();
        Pump();
    }
    TTestButton* Button(TWinControl* parent, const char* name, platform::Rect r,
                        TModalResult result = mrNone) {
        auto* b = new TTestButton(parent->ParentForm());
        b->SetName(name);
        b->SetParent(parent);
        b->SetBoundsRect(r);
        b->SetModalResult(result);
        return b;
    }
    TForm* Dialog() {
        TForm* d = MakeForm({200, 150, 500, 350});
        d->SetBorderStyle(bsDialog);
        return d;
    }
    platform::Point Middle(TControl& c) {
        return c.ClientToScreen({c.Width() / 2, c.Height() / 2});
    }

    TForm* mainForm = nullptr;
};

TEST_F(Forms, ShowModalEndsWhenAButtonSetsModalResultAndDisablesTheOwnerMeanwhile) {
    TForm* dialog = Dialog();
    auto* ok = Button(dialog, "OkButton", {10, 10, 90, 35}, mrOk);
    bool ownerDisabled = false;
    int clicks = 0;
    ok->OnClick = [&](TObject*) {
        ++clicks;
        ownerDisabled = !platform::IsWindowEnabled(mainForm->Handle());
    };
    host->Click(Middle(*ok), MouseButton::Left, 10);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(platform::IsWindowEnabled(mainForm->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(platform::IsWindowVisible(dialog->Handle()));
    EXPECT_EQ(platform::GetActiveWindow(), mainForm->Handle());
    // It can be shown modally again; a visible form cannot.
    host->Click(Middle(*ok), MouseButton::Left, 10);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    mainForm->Show();
    try {
        mainForm->ShowModal();
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot make a visible window modal");
    }
}

TEST_F(Forms, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    TForm* dialog = Dialog();
    auto* ok = Button(dialog, "OkButton", {10, 10, 90, 35}, mrOk);
    auto* cancel = Button(dialog, "CancelButton", {100, 10, 180, 35}, mrCancel);
    auto* retry = Button(dialog, "RetryButton", {190, 10, 270, 35}, mrRetry);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    host->Key(platform::VK_RETURN, 10);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    host->Key(platform::VK_ESCAPE, 10);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    // With the focus on another button, Enter presses that one.
    dialog->SetActiveControl(retry);
    host->Key(platform::VK_RETURN, 10);
    EXPECT_EQ(dialog->ShowModal(), mrRetry);
    // A disabled default button does not answer; the dialog stays until Esc.
    dialog->SetActiveControl(nullptr);
    ok->SetEnabled(false);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    host->Key(platform::VK_RETURN, 10);
    host->Key(platform::VK_ESCAPE, 20);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(okClicks, 0);
}

TEST_F(Forms, ClosingAModalFormCancelsItUnlessCloseQueryRefuses) {
    TForm* dialog = Dialog();
    dialog->HandleNeeded();
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    host->HostClose(dialog->Handle(), 10);
    host->HostClose(dialog->Handle(), 20);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
}

TEST_F(Forms, TabAndShiftTabFollowTabOrderSkippingWhatCannotTakeTheFocus) {
    auto* b1 = Button(mainForm, "B1", {10, 10, 60, 30});
    auto* b2 = Button(mainForm, "B2", {70, 10, 120, 30});
    auto* b3 = Button(mainForm, "B3", {130, 10, 180, 30});
    auto* b4 = Button(mainForm, "B4", {190, 10, 240, 30});
    b3->SetTabOrder(0); // b3, b1, b2, b4
    b2->SetTabStop(false);
    b4->SetEnabled(false);
    EXPECT_EQ(b3->TabOrder(), 0);
    EXPECT_EQ(b1->TabOrder(), 1);
    auto focused = [&]() -> std::string {
        for (TTestButton* b : {b1, b2, b3, b4})
            if (b->Focused())
                return b->Name();
        return "none";
    };
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        host->Key(platform::VK_TAB);
        Pump();
        seen.push_back(focused());
    }
    host->KeyDown(platform::VK_SHIFT);
    host->Key(platform::VK_TAB);
    host->KeyUp(platform::VK_SHIFT);
    Pump();
    seen.push_back(focused());
    EXPECT_EQ(seen, (std::vector<std::string>{"B3", "B1", "B3", "B1"}));
    EXPECT_EQ(mainForm->ActiveControl(), b1);
}

TEST_F(Forms, AnExceptionInAClickHandlerIsShownInTheErrorBoxAndTheLoopGoesOn) {
    auto* button = Button(mainForm, "Button1", {10, 10, 90, 35});
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1)
            throw InvalidIntegerError("abc");
        if (clicks == 2)
            throw std::runtime_error("Ends with a dot.");
    };
    host->Click(Middle(*button), MouseButton::Left, 10);
    host->Click(Middle(*button), MouseButton::Left, 20);
    host->Click(Middle(*button), MouseButton::Left, 30);
    host->HostClose(mainForm->Handle(), 40);
    app->Run();
    EXPECT_EQ(clicks, 3);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "'abc' is not a valid integer value.");
    EXPECT_EQ(boxes[0].caption, "test_toolkit");
    EXPECT_EQ(boxes[0].caption, app->Title());
    EXPECT_EQ(boxes[0].type, MsgDlgType::Error);
    EXPECT_EQ(boxes[1].text, "Ends with a dot.");
    EXPECT_TRUE(app->Terminated());
}

TEST_F(Forms, TheBusyCursorCoversWhatWindowsAskForAndGoesAlsoWhenTheWorkFails) {
    auto* button = Button(mainForm, "Button1", {10, 10, 90, 35});
    std::vector<Cursor> during;
    button->OnClick = [&](TObject*) {
        const TBusyCursor busy;
        platform::SetCursor(Cursor::IBeam); // the pointer crosses an edit meanwhile
        { const TBusyCursor nested; }
        during.push_back(host->CurrentCursor());
        throw std::runtime_error("Failed.");
    };
    host->Click(Middle(*button));
    Pump();
    EXPECT_EQ(during, std::vector<Cursor>{Cursor::Wait});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(host->CurrentCursor(), Cursor::IBeam) << "what the window asked for last";
}

TEST_F(Forms, AFormMayBeFreedFromItsOwnButtonsHandler) {
    TForm* second = MakeForm();
    auto* button = Button(second, "CloseButton", {10, 10, 90, 35});
    bool destroyed = false;
    second->OnDestroy = [&](TObject*) { destroyed = true; };
    button->OnClick = [&](TObject*) { TComponent::Free(second); };
    second->Show();
    Pump();
    host->Click(Middle(*button));
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen().FormCount(), 1);
    // The loop is fine afterwards.
    auto* other = Button(mainForm, "Other", {10, 10, 90, 35});
    int clicks = 0;
    other->OnClick = [&](TObject*) { ++clicks; };
    host->Click(Middle(*other));
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Forms, OnExceptionReplacesTheErrorBox) {
    auto* button = Button(mainForm, "Button1", {10, 10, 90, 35});
    button->OnClick = [](TObject*) { throw EDivByZero(); };
    std::string caught;
    app->OnException = [&](TObject*, const std::exception& e) { caught = e.what(); };
    host->Click(Middle(*button));
    Pump();
    EXPECT_EQ(caught, "Division by zero");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Forms, TheErrorBoxIsTheSystemMessageBoxWithTheErrorIconAndOneOkButton) {
    // The real box this time: answered by Enter from its own loop.
    SetMessageBoxHandler({});
    auto* button = Button(mainForm, "Button1", {10, 10, 90, 35});
    button->OnClick = [](TObject*) { throw EDivByZero(); };
    std::string boxText, boxCaption;
    const platform::HHOOK hook =
        platform::SetWindowsHookEx(platform::WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
            if (code == platform::HCBT_ACTIVATE) {
                const platform::HWND h = platform::HwndFromParam(w);
                if (platform::GetClassName(h) == "#32770") {
                    boxCaption = platform::GetWindowText(h);
                    host->Key(platform::VK_RETURN);
                }
            }
            return platform::CallNextHookEx(0, code, w, l);
        });
    host->Click(Middle(*button));
    Pump();
    platform::UnhookWindowsHookEx(hook);
    EXPECT_EQ(boxCaption, app->Title());
    EXPECT_TRUE(platform::IsWindowEnabled(mainForm->Handle()));
}

TEST_F(Forms, ClosingFormsHidesReleasesOrEndsTheApplication) {
    TForm* second = MakeForm();
    second->Show();
    second->Close();
    EXPECT_FALSE(second->Visible());
    second->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    bool destroyed = false;
    second->OnDestroy = [&](TObject*) { destroyed = true; };
    second->Show();
    const int forms = Screen().FormCount();
    second->Close();
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen().FormCount(), forms - 1);
    EXPECT_FALSE(app->Terminated());
    mainForm->Close();
    Pump();
    EXPECT_TRUE(app->Terminated());
}

TEST_F(Forms, FreeingTheMainFormEndsTheApplicationButTheApplicationEndingPostsNothing) {
    TComponent::Free(mainForm);
    EXPECT_EQ(app->MainForm(), nullptr);
    Pump();
    EXPECT_TRUE(app->Terminated());
    app = std::make_unique<TApplication>();
    MakeForm();
    app.reset();
    platform::MSG msg;
    EXPECT_FALSE(platform::PeekMessage(msg, {}, 0, 0, platform::PM_REMOVE));
}

TEST_F(Forms, CreateFormRunsOnCreateAndTheApplicationFreesItsFormsWithOnDestroy) {
    class TMyForm : public TForm {
    public:
        explicit TMyForm(TComponent* owner) : TForm(owner) {
            OnCreate = [this](TObject*) { createdWithCaption = Caption(); };
            SetCaption("Made");
        }
        std::string createdWithCaption;
    };
    auto* f = app->CreateForm<TMyForm>();
    EXPECT_EQ(f->createdWithCaption, "Made");
    EXPECT_EQ(app->MainForm(), mainForm);
    int destroyed = 0;
    f->OnDestroy = [&](TObject*) { ++destroyed; };
    mainForm->OnDestroy = [&](TObject*) { ++destroyed; };
    app.reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(Screen().FormCount(), 0);
}

TEST_F(Forms, PositionAndClientSize) {
    TForm* f = MakeForm({0, 0, 400, 300});
    f->SetPosition(poScreenCenter);
    f->Show();
    EXPECT_EQ(f->Left(), (1024 - 400) / 2);
    EXPECT_EQ(f->Top(), (768 - 300) / 2);
    EXPECT_EQ(Screen().Width(), 1024);
    EXPECT_EQ(Screen().ActiveForm(), f);
    f->SetClientWidth(250);
    platform::Rect client;
    platform::GetClientRect(f->Handle(), client);
    EXPECT_EQ(client.Width(), 250);
}

TEST_F(Forms, ChangingTheBorderRemakesTheWindowWithItsControls) {
    auto* b = Button(mainForm, "B1", {10, 10, 60, 30});
    const platform::HWND before = mainForm->Handle();
    mainForm->SetBorderStyle(bsSingle);
    EXPECT_NE(mainForm->Handle(), before);
    EXPECT_FALSE(platform::IsWindow(before));
    EXPECT_TRUE(platform::IsWindowVisible(mainForm->Handle()));
    EXPECT_TRUE(platform::IsChild(mainForm->Handle(), b->Handle()));
    EXPECT_FALSE(platform::GetWindowLongPtr(mainForm->Handle(), platform::GWL_STYLE) &
                 platform::WS_THICKFRAME);
}

TEST_F(Forms, TransparentColourMarksTheWindowLayered) {
    mainForm->SetTransparentColorValue(clSkyBlue);
    mainForm->SetTransparentColor(true);
    EXPECT_EQ(mainForm->LayeredColorKey(), ColorToRGB(clSkyBlue));
    platform::Color key = 0;
    platform::DWORD flags = 0;
    ASSERT_TRUE(platform::GetLayeredWindowAttributes(mainForm->Handle(), &key, nullptr, &flags));
    EXPECT_EQ(key, ColorToRGB(clSkyBlue));
    EXPECT_EQ(flags, platform::LWA_COLORKEY);
    // A window made later gets the key at once.
    TForm* later = MakeForm();
    later->SetTransparentColorValue(clFuchsia);
    later->SetTransparentColor(true);
    later->HandleNeeded();
    ASSERT_TRUE(platform::GetLayeredWindowAttributes(later->Handle(), &key, nullptr, &flags));
    EXPECT_EQ(key, platform::RGB(255, 0, 255));
    mainForm->SetTransparentColor(false);
    EXPECT_FALSE(mainForm->LayeredColorKey());
}

TEST_F(Forms, TimerTicksOnTheTestClock) {
    TTimer timer(mainForm);
    timer.SetInterval(100);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        if (++ticks == 3)
            throw EDivByZero();
    });
    for (int i = 0; i < 3; ++i) {
        host->Advance(100);
        Pump();
    }
    EXPECT_EQ(ticks, 3);
    ASSERT_EQ(boxes.size(), 1u); // a failing handler shows the box; the timer goes on
    host->Advance(99);
    Pump();
    EXPECT_EQ(ticks, 3);
    host->Advance(1);
    Pump();
    EXPECT_EQ(ticks, 4);
    timer.SetEnabled(false);
    host->Advance(500);
    Pump();
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(timer.Running());
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
}

} // namespace
} // namespace toolkit::testing
