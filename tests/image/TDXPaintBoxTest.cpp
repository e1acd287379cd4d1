#include <gtest/gtest.h>

#include "image/DIB.h"

using namespace image;
using platform::Rect;
using platform::Size;

namespace {

constexpr TPreviewOptions kMainWindow{
    .autoStretch = true, .center = true, .keepAspect = true, .stretch = true};

} // namespace

TEST(TDXPaintBox, FitsAndCentresWithTheMainWindowSettings) {
    struct Case {
        Size client;
        Size picture;
        Rect shown;
    };
    for (const Case& c : {
             Case{{201, 179}, {100, 80}, Rect::FromSize(50, 49, 100, 80)},
             Case{{201, 179}, {400, 300}, Rect::FromSize(0, 14, 201, 151)},
             Case{{201, 179}, {300, 400}, Rect::FromSize(33, 0, 134, 179)},
             Case{{201, 179}, {1000, 10}, Rect::FromSize(0, 88, 201, 2)},
             Case{{200, 100}, {250, 100}, Rect::FromSize(0, 10, 200, 80)},
             Case{{201, 179}, {201, 179}, Rect::FromSize(0, 0, 201, 179)},
             Case{{0, 0}, {10, 10}, Rect::FromSize(0, 0, 0, 0)},
         }) {
        EXPECT_EQ(PreviewRect(kMainWindow, c.client, c.picture), c.shown)
            << c.client << " / " << c.picture;
    }
}

TEST(TDXPaintBox, OtherSettings) {
    const Size client{201, 179};
    EXPECT_EQ(PreviewRect({.center = true}, {100, 50}, {301, 10}),
              Rect::FromSize(-100, 20, 301, 10));
    EXPECT_EQ(PreviewRect({.stretch = true}, client, {7, 900}), Rect::FromSize(0, 0, 201, 179));
    // 201 / 50 as a 32-bit float times 40 rounds to 161.
    EXPECT_EQ(PreviewRect({.keepAspect = true, .stretch = true}, client, {50, 40}),
              Rect::FromSize(0, 0, 201, 161));
    EXPECT_EQ(PreviewRect({.viewWidth = 400}, client, {100, 80}), Rect::FromSize(0, 0, 400, 80));
    EXPECT_EQ(PreviewRect({.autoStretch = true, .viewWidth = 402}, client, {100, 80}),
              Rect::FromSize(0, 0, 201, 40));
    EXPECT_EQ(PreviewRect({}, client, {300, 300}), Rect::FromSize(0, 0, 300, 300));
}

TEST(TDXPaintBox, SettersStoreAndInvalidateOnChangeOnly) {
    TDXPaintBox box;
    int invalidations = 0;
    box.OnInvalidate = [&] { ++invalidations; };
    box.SetViewWidth(-5);
    EXPECT_EQ(box.ViewWidth(), 0);
    EXPECT_EQ(invalidations, 0);
    box.SetCenter(true);
    box.SetCenter(true);
    box.SetStretch(true);
    EXPECT_EQ(invalidations, 2);
    EXPECT_EQ(box.ClientSize(), (Size{105, 105}));
    TDIB other;
    other.SetSize(3, 3, 8);
    box.SetDIB(other);
    EXPECT_EQ(&box.DIB().Image(), &other.Image());
    EXPECT_EQ(invalidations, 3);
}

TEST(TDXPaintBox, PaintsOnlyThePictureArea) {
    TDXPaintBox box;
    box.SetAutoStretch(true);
    box.SetCenter(true);
    box.SetClientSize({10, 6});

    TDIB screen;
    screen.SetSize(10, 6, 24);
    screen.Canvas().Brush().SetColor(platform::RGB(1, 2, 3));
    screen.Canvas().FillRect({0, 0, 10, 6});

    box.Paint(screen.Canvas()); // empty picture: nothing painted
    EXPECT_EQ(screen.Pixels(5, 3), 0x030201u);

    box.DIB().SetSize(4, 2, 24);
    box.DIB().Canvas().Brush().SetColor(platform::RGB(255, 255, 255));
    box.DIB().Canvas().FillRect({0, 0, 4, 2});
    box.Paint(screen.Canvas());
    const Rect shown = Rect::FromSize(3, 2, 4, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(screen.Pixels(x, y), shown.Contains({x, y}) ? 0xFFFFFFu : 0x030201u)
                << x << ", " << y;
}
