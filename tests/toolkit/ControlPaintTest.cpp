// Painting: the background in the control's colour, graphic children in z-order over their
// parent, windowed children never painted over.

#include "ToolkitTestSupport.h"
#include "toolkit/TBitmap.h"

namespace toolkit::testing {
namespace {

using platform::RGB;

class Paint : public ToolkitTest {
protected:
    TLoggedGraphic* Square(TWinControl* parent, int x, int y, TColor color, const char* name) {
        auto* g = new TLoggedGraphic(form, &log);
        g->SetName(name);
        g->SetParent(parent);
        g->SetBounds(x, y, 40, 40);
        g->SetColor(color);
        return g;
    }
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm();
        panel = new TLoggedWindow(form, &log);
        panel->SetName("panel");
        panel->SetParent(form);
        panel->SetBounds(0, 0, 200, 150);
        panel->SetColor(clYellow);
    }
    MessageLog log;
    TForm* form = nullptr;
    TLoggedWindow* panel = nullptr;
};

TEST_F(Paint, GraphicChildrenPaintAfterTheirParentInZOrder) {
    auto* red = Square(panel, 10, 10, clRed, "red");
    Square(panel, 20, 20, clLime, "green");
    Square(panel, 30, 30, clBlue, "blue");
    form->Show();
    Pump();
    EXPECT_EQ(log.Order(platform::WM_PAINT),
              (std::vector<std::string>{"panel", "red", "green", "blue"}));
    EXPECT_EQ(PixelAt(*panel, {5, 5}), RGB(255, 255, 0));
    EXPECT_EQ(PixelAt(*panel, {12, 12}), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(*panel, {25, 25}), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(*panel, {45, 45}), RGB(0, 0, 255)); // all three overlap here
    EXPECT_EQ(PixelAt(*panel, {75, 75}), RGB(255, 255, 0));

    red->BringToFront();
    Pump();
    EXPECT_EQ(PixelAt(*panel, {45, 45}), RGB(255, 0, 0));
    // A hidden graphic child leaves its parent's colour behind.
    red->Hide();
    Pump();
    EXPECT_EQ(PixelAt(*panel, {12, 12}), RGB(255, 255, 0));
    EXPECT_EQ(PixelAt(*panel, {45, 45}), RGB(0, 0, 255));
}

TEST_F(Paint, WindowedChildrenAreNeverPaintedOver) {
    Square(panel, 10, 10, clRed, "under");
    auto* cover = new TLoggedWindow(form, &log);
    cover->SetName("cover");
    cover->SetParent(panel);
    cover->SetBounds(20, 20, 30, 30);
    cover->SetColor(clAqua);
    form->Show();
    Pump();
    EXPECT_EQ(PixelAt(*panel, {25, 25}), RGB(0, 255, 255));
    EXPECT_EQ(PixelAt(*panel, {15, 15}), RGB(255, 0, 0));
    // Repainting the graphic child alone does not reach into the window above it.
    log.Clear();
    panel->Controls(0)->Invalidate();
    Pump();
    EXPECT_EQ(log.Count("under", platform::WM_PAINT), 1);
    EXPECT_EQ(PixelAt(*panel, {25, 25}), RGB(0, 255, 255));
}

TEST_F(Paint, ACanvasUsedOutsidePaintingDrawsOnlyInsideItsControl) {
    auto* square = Square(panel, 10, 10, clRed, "square");
    form->Show();
    Pump();
    square->Canvas().Brush().SetColor(clBlack);
    square->Canvas().FillRect({-50, -50, 500, 500});
    TControlCanvas::FreeDeviceContexts();
    EXPECT_EQ(PixelAt(*panel, {10, 10}), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(*panel, {49, 49}), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(*panel, {9, 9}), RGB(255, 255, 0));
    EXPECT_EQ(PixelAt(*panel, {50, 50}), RGB(255, 255, 0));
    EXPECT_FALSE(square->Canvas().HandleAllocated());
}

TEST_F(Paint, AContextGivenWithThePaintMessageIsPaintedInto) {
    Square(panel, 10, 10, clRed, "red");
    form->Show();
    Pump();
    // The skin engine paints a container and its graphic children into its own bitmap.
    TBitmap cache;
    cache.SetSize(200, 150);
    cache.Canvas().Brush().SetColor(clWhite);
    cache.Canvas().FillRect({0, 0, 200, 150});
    panel->Perform(platform::WM_PAINT, reinterpret_cast<WPARAM>(&cache.DC()), 0);
    EXPECT_EQ(cache.Canvas().Pixels(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(cache.Canvas().Pixels(5, 5), RGB(255, 255, 255)); // no erase on a given context
}

} // namespace
} // namespace toolkit::testing
