// Push buttons and bit buttons: clicks by mouse and keys, default and cancel buttons ending a
// modal form, glyph placement and transparency.

#include "toolkit/TButton.h"
#include "StandardControlsSupport.h"
#include "platform/win/Input.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TBitBtn.h"

namespace toolkit::testing {
namespace {

using platform::RGB;

class Buttons : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        button = Add<TButton>(form, "Button1", {20, 20, 120, 50});
        button->SetCaption("Press");
        button->OnClick = [this](TObject*) { ++clicks; };
        other = Add<TButton>(form, "Other", {20, 80, 120, 110});
        ShowForm();
    }
    TButton* button = nullptr;
    TButton* other = nullptr;
    int clicks = 0;
};

TEST_F(Buttons, ReleasingInsideClicksReleasingOutsideDoesNot) {
    host->MouseMove(Screen(*button, {50, 15}));
    host->MouseDown(Screen(*button, {50, 15}));
    Pump();
    EXPECT_TRUE(button->Pressed());
    EXPECT_TRUE(button->Focused());
    // Dragged off, it looks up while still held; back on, pressed again.
    host->MouseMove(Screen(*button, {150, 15}));
    Pump();
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(button->MouseHeld());
    host->MouseMove(Screen(*button, {60, 15}));
    Pump();
    EXPECT_TRUE(button->Pressed());
    host->MouseUp(Screen(*button, {60, 15}));
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Pressed());

    host->MouseDown(Screen(*button, {50, 15}));
    host->MouseMove(Screen(*button, {50, 100}));
    host->MouseUp(Screen(*button, {50, 100}));
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->MouseHeld());
}

TEST_F(Buttons, PressedFaceIsSunkenAndItsCaptionMovesDownRight) {
    auto inkCorner = [&] {
        platform::Point first{1000, 1000};
        // Inside the focus rectangle, which is dark where it inverts the face.
        for (int y = 5; y < 25; ++y)
            for (int x = 5; x < 95; ++x)
                if (IsDark(PixelAt(*button, {x, y}))) {
                    first.x = std::min(first.x, x);
                    first.y = std::min(first.y, y);
                }
        return first;
    };
    // Neither default nor focused: the raised edge starts at the border.
    EXPECT_EQ(PixelAt(*button, {0, 15}), ColorToRGB(cl3DLight));
    EXPECT_EQ(PixelAt(*button, {1, 15}), ColorToRGB(clBtnHighlight));
    const platform::Point up = inkCorner();
    host->MouseDown(Screen(*button, {50, 15}));
    Pump();
    // Focused by the press: the black frame, then the flat shadow frame.
    EXPECT_EQ(PixelAt(*button, {0, 15}), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(*button, {1, 15}), ColorToRGB(clBtnShadow));
    const platform::Point down = inkCorner();
    EXPECT_EQ(down.x, up.x + 1);
    EXPECT_EQ(down.y, up.y + 1);
    host->MouseUp(Screen(*button, {50, 15}));
    Pump();
    EXPECT_EQ(inkCorner().x, up.x);
}

TEST_F(Buttons, SpaceClicksWhenItComesUpUnlessTheFocusLeftMeanwhile) {
    button->SetFocus();
    Pump();
    host->KeyDown(platform::VK_SPACE);
    Pump();
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(clicks, 0);
    host->KeyUp(platform::VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Pressed());

    host->KeyDown(platform::VK_SPACE);
    Pump();
    other->SetFocus();
    Pump();
    EXPECT_FALSE(button->Pressed());
    host->KeyUp(platform::VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Buttons, DisabledButtonsIgnoreMouseAndKeysAndShowAnEngravedCaption) {
    const int inkEnabled = DarkPixels(*button, {4, 4, 96, 26});
    button->SetEnabled(false);
    Pump();
    host->Click(Screen(*button, {50, 15}));
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Pressed());
    // No black text any more, but shadow-coloured text where it was.
    EXPECT_GT(inkEnabled, 10);
    EXPECT_LT(DarkPixels(*button, {4, 4, 96, 26}), inkEnabled / 4);
    int shadow = 0;
    for (int y = 4; y < 26; ++y)
        for (int x = 4; x < 96; ++x)
            shadow += PixelAt(*button, {x, y}) == ColorToRGB(clBtnShadow);
    EXPECT_GT(shadow, 5);
}

TEST_F(Buttons, TheCaptionsAcceleratorClicks) {
    button->SetCaption("&Press");
    other->SetFocus();
    Pump();
    host->Text("q");
    host->Text("p");
    Pump();
    EXPECT_EQ(clicks, 1);
}

class ModalButtons : public StandardControlsTest {
protected:
    void SetUp() override {
        StandardControlsTest::SetUp();
        ShowForm();
        dialog = MakeForm({200, 150, 500, 300});
        dialog->SetBorderStyle(bsDialog);
        ok = new TBitBtn(dialog);
        ok->SetName("OkBtn");
        ok->SetParent(dialog);
        ok->SetBounds(10, 10, 90, 30);
        ok->SetKind(bkOK);
        cancel = new TBitBtn(dialog);
        cancel->SetName("CancelBtn");
        cancel->SetParent(dialog);
        cancel->SetBounds(110, 10, 90, 30);
        cancel->SetKind(bkCancel);
    }
    platform::Point Middle(TControl& c) { return c.ClientToScreen({c.Width() / 2, 15}); }
    TForm* dialog = nullptr;
    TBitBtn* ok = nullptr;
    TBitBtn* cancel = nullptr;
};

TEST_F(ModalButtons, KindsSetCaptionResultAndRole) {
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    EXPECT_FALSE(ok->GlyphData().Empty());
    EXPECT_EQ(cancel->Caption(), "Cancel");
    EXPECT_EQ(cancel->ModalResult(), mrCancel);
    EXPECT_TRUE(cancel->Cancel());
    // A glyph of one's own makes the button custom and keeps the rest.
    const std::vector<std::uint8_t> red(4 * 4 * 3, 0x40);
    ok->SetGlyphPixels(4, 4, red);
    EXPECT_EQ(ok->Kind(), bkCustom);
    EXPECT_EQ(ok->ModalResult(), mrOk);
}

TEST_F(ModalButtons, EnterAndEscEndTheModalFormThroughDefaultAndCancel) {
    host->Key(platform::VK_RETURN, 10);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    host->Key(platform::VK_ESCAPE, 10);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    // With the focus on Cancel, Enter presses Cancel.
    dialog->SetActiveControl(cancel);
    host->Key(platform::VK_RETURN, 10);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(ModalButtons, ClickingEndsTheModalFormButAReleaseOutsideDoesNot) {
    dialog->HandleNeeded();
    dialog->SetActiveControl(nullptr);
    host->MouseDown(Middle(*ok), platform::MouseButton::Left, 10);
    host->MouseMove(Middle(*cancel), 20);
    host->MouseUp(Middle(*cancel), platform::MouseButton::Left, 30);
    host->Click(Middle(*cancel), platform::MouseButton::Left, 40);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    host->Click(Middle(*ok), platform::MouseButton::Left, 10);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
}

TEST(ButtonLayout, GlyphAndCaptionFormOneBlock) {
    using platform::Rect;
    const Rect client{0, 0, 100, 30};
    const platform::Size glyph{16, 16}, text{40, 13};
    struct Case {
        TButtonLayout layout;
        int margin, spacing;
        Rect glyph, text;
    };
    const Case cases[] = {
        // Centred: (100 - 16 - 4 - 40) / 2 = 20.
        {blGlyphLeft, -1, 4, {20, 7, 36, 23}, {40, 8, 80, 21}},
        {blGlyphRight, -1, 4, {64, 7, 80, 23}, {20, 8, 60, 21}},
        // From the glyph's edge.
        {blGlyphLeft, 5, 4, {5, 7, 21, 23}, {25, 8, 65, 21}},
        {blGlyphRight, 5, 2, {79, 7, 95, 23}, {37, 8, 77, 21}},
        // Spacing -1 centres the caption in what the glyph leaves: (100 - 5 - 16 - 40) / 2.
        {blGlyphLeft, 5, -1, {5, 7, 21, 23}, {40, 8, 80, 21}},
        // Both -1: three equal gaps, (100 - 56) / 3 = 14.
        {blGlyphLeft, -1, -1, {14, 7, 30, 23}, {44, 8, 84, 21}},
    };
    for (const Case& c : cases) {
        const TButtonPlacement p =
            CalcButtonLayout(client, glyph, text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(p.glyph, c.glyph) << "margin " << c.margin << " spacing " << c.spacing;
        EXPECT_EQ(p.text, c.text) << "margin " << c.margin << " spacing " << c.spacing;
    }
    // Vertical: 60 high, (60 - 16 - 4 - 13) / 2 = 13.
    const Rect tall{0, 0, 100, 60};
    const TButtonPlacement top = CalcButtonLayout(tall, glyph, text, blGlyphTop, -1, 4);
    EXPECT_EQ(top.glyph, (Rect{42, 13, 58, 29}));
    EXPECT_EQ(top.text, (Rect{30, 33, 70, 46}));
    const TButtonPlacement bottom = CalcButtonLayout(tall, glyph, text, blGlyphBottom, -1, 4);
    // Measured from the bottom, the odd pixel ends up above.
    EXPECT_EQ(bottom.glyph, (Rect{42, 31, 58, 47}));
    EXPECT_EQ(bottom.text, (Rect{30, 14, 70, 27}));
    // No caption: no spacing, the glyph alone is centred; the generator button's image (the
    // button 39 wide less its 16-pixel arrow zone, 22 high) lands at (3, 3).
    const TButtonPlacement alone = CalcButtonLayout({0, 0, 23, 22}, glyph, {}, blGlyphLeft, -1, 4);
    EXPECT_EQ(alone.glyph, (Rect{3, 3, 19, 19}));
}

class BitButtonGlyphs : public StandardControlsTest {
protected:
    // A 20 x 20 picture: a magenta ground with a red 10 x 10 square in the middle.
    static std::vector<std::uint8_t> SquareOnMagenta() {
        std::vector<std::uint8_t> px;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
                px.push_back(inside ? 0x00 : 0xFF); // blue
                px.push_back(0x00);                 // green
                px.push_back(0xFF);                 // red
            }
        return px;
    }
};

TEST_F(BitButtonGlyphs, TheTransparentColourLeavesTheFaceShowing) {
    auto* btn = Add<TBitBtn>(form, "BitBtn1", {20, 20, 211, 51});
    btn->SetCaption("Open");
    btn->SetGlyphPixels(20, 20, SquareOnMagenta());
    ShowForm();
    const platform::Rect g = btn->Placement({2, 2, 189, 29}).glyph;
    ASSERT_EQ(g.Width(), 20);
    const platform::Color face = ColorToRGB(clBtnFace);
    EXPECT_EQ(PixelAt(*btn, {g.left + 10, g.top + 10}), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(*btn, {g.left + 1, g.top + 1}), face);
    EXPECT_EQ(PixelAt(*btn, {g.left + 19, g.top + 19}), face);
    // Pressed: the picture moves one pixel right and down.
    host->MouseDown(Screen(*btn, {100, 15}));
    Pump();
    EXPECT_EQ(PixelAt(*btn, {g.left + 5, g.top + 5}), face);
    EXPECT_EQ(PixelAt(*btn, {g.left + 15, g.top + 15}), RGB(255, 0, 0));
    host->MouseUp(Screen(*btn, {100, 15}));
    Pump();
    EXPECT_EQ(PixelAt(*btn, {g.left + 5, g.top + 5}), RGB(255, 0, 0));
}

TEST_F(BitButtonGlyphs, ABitmapKeysOutItsBottomLeftColourUnlessTold) {
    TBitmap picture;
    picture.SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* p = picture.ScanLine(y) + x * 3;
            const bool ground = x < 4; // left half green, right half blue
            p[0] = ground ? 0 : 255;
            p[1] = ground ? 255 : 0;
            p[2] = 0;
        }
    auto* btn = Add<TBitBtn>(form, "BitBtn1", {20, 20, 60, 50});
    btn->SetCaption("");
    btn->SetGlyph(picture);
    ShowForm();
    const platform::Rect g = btn->Placement({2, 2, 38, 28}).glyph;
    EXPECT_EQ(PixelAt(*btn, {g.left + 1, g.top + 1}), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(*btn, {g.left + 6, g.top + 1}), RGB(0, 0, 255));
    btn->SetGlyph(picture, RGB(0, 0, 255));
    Pump();
    EXPECT_EQ(PixelAt(*btn, {g.left + 1, g.top + 1}), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(*btn, {g.left + 6, g.top + 1}), ColorToRGB(clBtnFace));
}

TEST_F(BitButtonGlyphs, DisabledUsesItsOwnCellOrAnEngravedShape) {
    // Two cells: up is red, disabled is green (with magenta corners).
    std::vector<std::uint8_t> px;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool corner = (x % 10) == 0 && y == 0;
            const platform::Color c = corner   ? kImageListMask
                                      : x < 10 ? RGB(200, 0, 0)
                                               : RGB(0, 90, 0);
            px.insert(px.end(),
                      {platform::GetBValue(c), platform::GetGValue(c), platform::GetRValue(c)});
        }
    auto* btn = Add<TBitBtn>(form, "BitBtn1", {20, 20, 60, 50});
    btn->SetCaption("");
    btn->SetGlyphPixels(20, 10, px);
    btn->SetNumGlyphs(2);
    btn->SetEnabled(false);
    ShowForm();
    const platform::Rect g = btn->Placement({2, 2, 38, 28}).glyph;
    ASSERT_EQ(g.Width(), 10);
    EXPECT_EQ(PixelAt(*btn, {g.left + 5, g.top + 5}), RGB(0, 90, 0));
    EXPECT_EQ(PixelAt(*btn, {g.left, g.top}), ColorToRGB(clBtnFace));
    // One cell only: the dark picture shows in the shadow colour, its highlight beside it.
    btn->SetNumGlyphs(1);
    Pump();
    const platform::Rect one = btn->Placement({2, 2, 38, 28}).glyph;
    EXPECT_EQ(PixelAt(*btn, {one.left + 5, one.top + 5}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(*btn, {one.right, one.top + 5}), ColorToRGB(clBtnHighlight));
}

TEST_F(BitButtonGlyphs, AShortPixelBufferIsRefusedAndTheOldPictureKept) {
    auto* btn = Add<TBitBtn>(form, "BitBtn1", {20, 20, 60, 50});
    btn->SetKind(bkCancel);
    const std::vector<std::uint8_t> few(10, 0);
    try {
        btn->SetGlyphPixels(20, 20, few);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
    EXPECT_EQ(btn->GlyphData().GlyphSize(), (platform::Size{kKindGlyphSize, kKindGlyphSize}));
    EXPECT_EQ(btn->Kind(), bkCancel);
}

} // namespace
} // namespace toolkit::testing
