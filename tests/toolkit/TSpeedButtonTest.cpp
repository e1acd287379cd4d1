// Speed buttons: clicks on release inside, groups, hot tracking of flat buttons, the drop-down
// zone, and images from an image list.

#include "toolkit/TSpeedButton.h"
#include "StandardControlsSupport.h"
#include "toolkit/TImageList.h"
#include "toolkit/TPanel.h"

namespace toolkit::testing {
namespace {

using platform::RGB;

class SpeedButtons : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        bar = Add<TPanel>(form, "Bar", {0, 0, 400, 40});
    }
    TSpeedButton* Button(const char* name, int left, int width = 40) {
        auto* b = Add<TSpeedButton>(bar, name, {left, 5, left + width, 27});
        b->OnClick = [this, b](TObject*) { clicked.push_back(b->Name()); };
        return b;
    }
    void ClickAt(TControl& c, platform::Point p) {
        host->MouseMove(Screen(c, p));
        host->Click(Screen(c, p));
        Pump();
    }
    TPanel* bar = nullptr;
    std::vector<std::string> clicked;
};

TEST_F(SpeedButtons, ClickOnlyWhenReleasedInside) {
    TSpeedButton* b = Button("B1", 10);
    ShowForm();
    host->MouseDown(Screen(*b, {20, 10}));
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsDown);
    host->MouseMove(Screen(*b, {80, 10}));
    Pump();
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    host->MouseUp(Screen(*b, {80, 10}));
    Pump();
    EXPECT_TRUE(clicked.empty());
    ClickAt(*b, {20, 10});
    EXPECT_EQ(clicked, (std::vector<std::string>{"B1"}));
    EXPECT_EQ(b->State(), TButtonState::bsUp);
    EXPECT_FALSE(b->Down());
    // Disabled: nothing.
    b->SetEnabled(false);
    ClickAt(*b, {20, 10});
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(SpeedButtons, OneButtonOfAGroupIsDownAndOnlyAllowAllUpLetsItGo) {
    TSpeedButton* a = Button("A", 10);
    TSpeedButton* b = Button("B", 60);
    TSpeedButton* c = Button("C", 110);
    TSpeedButton* other = Button("Other", 160);
    for (TSpeedButton* x : {a, b, c})
        x->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    a->SetDown(true);
    ShowForm();
    ClickAt(*b, {20, 10});
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(c->Down());
    EXPECT_TRUE(other->Down());
    EXPECT_EQ(b->State(), TButtonState::bsExclusive);
    // The down one clicked again stays down...
    ClickAt(*b, {20, 10});
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down());
    // ...unless the group may be all up, which one member's setting decides for all.
    c->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    ClickAt(*b, {20, 10});
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicked, (std::vector<std::string>{"B", "B", "B"}));
    // Without a group a button cannot stay down.
    auto* lone = Button("Lone", 210);
    lone->SetDown(true);
    EXPECT_FALSE(lone->Down());
}

TEST_F(SpeedButtons, CheckStyleTogglesWithoutAGroup) {
    TSpeedButton* b = Button("Check", 10);
    b->SetButtonStyle(tbsCheck);
    ShowForm();
    ClickAt(*b, {20, 10});
    EXPECT_TRUE(b->Down());
    ClickAt(*b, {20, 10});
    EXPECT_FALSE(b->Down());
}

TEST_F(SpeedButtons, FlatButtonsShowAFrameOnlyWhileTheMouseIsOver) {
    TSpeedButton* b = Button("Flat", 10);
    b->SetFlat(true);
    ShowForm();
    const platform::Color face = ColorToRGB(b->Color());
    EXPECT_EQ(PixelAt(*b, {0, 10}), face);
    host->MouseMove(Screen(*b, {20, 10}));
    Pump();
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(PixelAt(*b, {0, 10}), ColorToRGB(clBtnHighlight));
    host->MouseMove(Screen(*bar, {300, 30}));
    Pump();
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(PixelAt(*b, {0, 10}), face);
}

class DropDownButton : public SpeedButtons {
protected:
    void SetUp() override {
        SpeedButtons::SetUp();
        button = Button("Generator", 10, 23);
        button->SetButtonStyle(tbsDropDown);
        button->OnDropDownClick = [this](TObject*) {
            ++dropDowns;
            openDuringHandler = button->MenuOpen();
            stateDuringHandler = button->State();
        };
        ShowForm();
    }
    TSpeedButton* button = nullptr;
    int dropDowns = 0;
    bool openDuringHandler = false;
    TButtonState stateDuringHandler = TButtonState::bsUp;
};

TEST_F(DropDownButton, TheStyleAddsTheArrowZoneToTheWidth) {
    EXPECT_EQ(button->Width(), 39);
    EXPECT_EQ(button->DropDownRect(), (platform::Rect{23, 0, 39, 22}));
    button->SetButtonStyle(tbsButton);
    EXPECT_EQ(button->Width(), 23);
}

TEST_F(DropDownButton, PressesInTheArrowZoneDropDownInsteadOfClicking) {
    ClickAt(*button, {39 - 16, 10}); // the zone's left edge still clicks
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(dropDowns, 0);
    ClickAt(*button, {39 - 15, 10});
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(openDuringHandler);
    EXPECT_FALSE(button->MenuOpen());
    EXPECT_EQ(button->State(), TButtonState::bsUp);
    // The mouse was given up for the menu: later clicks work as before.
    ClickAt(*button, {5, 10});
    EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(DropDownButton, WithoutAClickHandlerThePressAnywhereDropsDown) {
    button->OnClick = nullptr;
    ClickAt(*button, {5, 10});
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(openDuringHandler);
    EXPECT_TRUE(clicked.empty());
    // A drop-down handler that itself presses again is not run twice.
    button->OnDropDownClick = [this](TObject*) {
        ++dropDowns;
        button->Perform(platform::WM_LBUTTONDOWN, platform::MK_LBUTTON,
                        platform::MAKELPARAM(30, 10));
    };
    ClickAt(*button, {30, 10});
    EXPECT_EQ(dropDowns, 2);
}

TEST_F(SpeedButtons, TheImageOfTheListIsDrawnWithItsTransparentPixelsLeftOut) {
    auto* images = new TImageList(form);
    std::vector<std::uint8_t> px;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool dot = x >= 4 && x < 12 && y >= 4 && y < 12;
            px.insert(px.end(), {std::uint8_t(dot ? 0 : 0xFF), 0, 0xFF}); // red on magenta
        }
    images->AddPixels(16, 16, px);
    TSpeedButton* b = Button("Generator", 10, 23);
    b->SetButtonStyle(tbsDropDown);
    b->SetImages(images);
    b->SetImageIndex(0);
    ShowForm();
    // The program's generator button: image at (3, 3), one further while pressed.
    EXPECT_EQ(PixelAt(*b, {3 + 4, 3 + 4}), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(*b, {3 + 3, 3 + 3}), ColorToRGB(b->Color()));
    host->MouseDown(Screen(*b, {5, 10}));
    Pump();
    EXPECT_EQ(PixelAt(*b, {3 + 4, 3 + 4}), ColorToRGB(b->Color()));
    EXPECT_EQ(PixelAt(*b, {3 + 12, 3 + 12}), RGB(255, 0, 0));
    host->MouseUp(Screen(*b, {5, 10}));
    Pump();
    // The list going away takes the image with it, safely.
    TComponent::Free(images);
    EXPECT_EQ(b->Images(), nullptr);
    b->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(*b, {3 + 4, 3 + 4}), ColorToRGB(b->Color()));
}

} // namespace
} // namespace toolkit::testing
