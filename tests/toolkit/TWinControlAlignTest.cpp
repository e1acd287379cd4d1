// Alignment of children: the classic order, insets from border and bevels, nested panels laid
// out like the program's main window, and the platform windows following the controls.

#include "ToolkitTestSupport.h"

namespace toolkit::testing {
namespace {

using platform::Rect;

class Align : public ToolkitTest {
protected:
    TLoggedWindow* Panel(TWinControl* parent, TAlign align, int size, const char* name) {
        auto* p = new TLoggedWindow(
            parent->ParentForm() ? static_cast<TComponent*>(parent->ParentForm()) : parent,
            nullptr);
        p->SetName(name);
        p->SetBounds(0, 0, size, size);
        p->SetParent(parent);
        p->SetAlign(align);
        return p;
    }
};

TEST_F(Align, ClassicOrderTopBottomLeftRightThenClientInsideBorderAndBevels) {
    TForm* form = MakeForm();
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto* box = Panel(form, alClient, 0, "box");
    box->SetBorderWidth(2);
    box->SetBevelOuter(bvRaised);
    box->SetBevelInner(bvLowered);
    box->SetBevelWidth(3); // inset 2 + 3 + 3 = 8 on every side
    // Made in an order that differs from the alignment order on purpose.
    auto* client = Panel(box, alClient, 10, "client");
    auto* right = Panel(box, alRight, 20, "right");
    auto* left = Panel(box, alLeft, 30, "left");
    auto* bottom = Panel(box, alBottom, 40, "bottom");
    auto* top = Panel(box, alTop, 50, "top");

    EXPECT_EQ(box->BoundsRect(), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(box->AlignRect(), (Rect{8, 8, 292, 192}));
    EXPECT_EQ(top->BoundsRect(), (Rect{8, 8, 292, 58}));
    EXPECT_EQ(bottom->BoundsRect(), (Rect{8, 152, 292, 192}));
    EXPECT_EQ(left->BoundsRect(), (Rect{8, 58, 38, 152}));
    EXPECT_EQ(right->BoundsRect(), (Rect{272, 58, 292, 152}));
    EXPECT_EQ(client->BoundsRect(), (Rect{38, 58, 272, 152}));

    // The parent growing lays everything out again; hiding a child gives its room away.
    form->SetClientWidth(400);
    EXPECT_EQ(right->BoundsRect(), (Rect{372, 58, 392, 152}));
    top->Hide();
    EXPECT_EQ(left->BoundsRect(), (Rect{8, 8, 38, 152}));
    EXPECT_EQ(client->BoundsRect(), (Rect{38, 8, 372, 152}));
}

TEST_F(Align, ControlsOfOneKindStackByTheirPositionThenListOrder) {
    TForm* form = MakeForm();
    form->SetClientWidth(200);
    form->SetClientHeight(300);
    auto* a = Panel(form, alNone, 10, "a");
    auto* b = Panel(form, alNone, 20, "b");
    auto* c = Panel(form, alNone, 30, "c");
    a->SetTop(100);
    b->SetTop(5);
    c->SetTop(50);
    form->DisableAlign();
    a->SetAlign(alTop);
    b->SetAlign(alTop);
    c->SetAlign(alTop);
    form->EnableAlign();
    EXPECT_EQ(b->Top(), 0);
    EXPECT_EQ(c->Top(), 20);
    EXPECT_EQ(a->Top(), 50);
}

TEST_F(Align, MainWindowLayoutWithNestedPanels) {
    TForm* form = MakeForm({0, 0, 782, 570});
    const int cw = form->ClientWidth(), ch = form->ClientHeight();
    auto* sPanel1 = Panel(form, alLeft, 211, "sPanel1");
    auto* sPanel2 = Panel(sPanel1, alTop, 30, "sPanel2");
    auto* sPanel3 = Panel(sPanel1, alTop, 212, "sPanel3");
    auto* sPanel4 = Panel(sPanel1, alTop, 105, "sPanel4");
    auto* sPanel6 = Panel(sPanel1, alClient, 0, "sPanel6");
    sPanel6->SetBevelOuter(bvRaised);
    sPanel6->SetBevelWidth(4);
    auto* preview = Panel(sPanel6, alClient, 0, "preview");
    auto* sPanel5 = Panel(form, alClient, 0, "sPanel5");
    sPanel5->SetBevelOuter(bvRaised);
    sPanel5->SetBevelWidth(5);
    auto* memo = Panel(sPanel5, alClient, 0, "memo");
    // The second top panel made after the third must still stack by position.
    sPanel3->SetTop(30);
    sPanel4->SetTop(242);

    EXPECT_EQ(sPanel1->BoundsRect(), (Rect{0, 0, 211, ch}));
    EXPECT_EQ(sPanel2->BoundsRect(), (Rect{0, 0, 211, 30}));
    EXPECT_EQ(sPanel3->BoundsRect(), (Rect{0, 30, 211, 242}));
    EXPECT_EQ(sPanel4->BoundsRect(), (Rect{0, 242, 211, 347}));
    EXPECT_EQ(sPanel6->BoundsRect(), (Rect{0, 347, 211, ch}));
    EXPECT_EQ(preview->BoundsRect(), (Rect{4, 4, 207, ch - 347 - 4}));
    EXPECT_EQ(sPanel5->BoundsRect(), (Rect{211, 0, cw, ch}));
    EXPECT_EQ(memo->BoundsRect(), (Rect{5, 5, cw - 211 - 5, ch - 5}));

    // The platform windows follow, once made, in their parents' client coordinates.
    form->Show();
    Rect r;
    ASSERT_TRUE(platform::GetWindowRect(memo->Handle(), r));
    const platform::Point origin = sPanel5->ClientOrigin();
    EXPECT_EQ(r, (Rect{origin.x + 5, origin.y + 5, origin.x + cw - 211 - 5, origin.y + ch - 5}));
    // Resizing the window from outside (the user dragging its frame) lays out again.
    platform::SetWindowPos(form->Handle(), {}, 0, 0, 882, 570,
                           platform::SWP_NOMOVE | platform::SWP_NOZORDER);
    EXPECT_EQ(form->Width(), 882);
    EXPECT_EQ(sPanel5->Width(), form->ClientWidth() - 211);
}

TEST_F(Align, SizesNeverGoNegative) {
    TForm* form = MakeForm();
    form->SetClientWidth(50);
    form->SetClientHeight(40);
    auto* top = Panel(form, alTop, 30, "top");
    auto* bottom = Panel(form, alBottom, 30, "bottom");
    auto* client = Panel(form, alClient, 0, "client");
    EXPECT_EQ(top->Height(), 30);
    EXPECT_EQ(bottom->Height(), 30);
    EXPECT_EQ(client->Height(), 0);
    form->SetClientWidth(-5);
    EXPECT_EQ(form->ClientWidth(), 0);
    EXPECT_GE(top->Width(), 0);
}

TEST_F(Align, ClientSizeOfAFormDependsOnItsFrameBeforeAndAfterTheWindowExists) {
    TForm* form = MakeForm();
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    const Rect outerBefore = form->BoundsRect();
    form->HandleNeeded();
    Rect client;
    platform::GetClientRect(form->Handle(), client);
    EXPECT_EQ(client, (Rect{0, 0, 200, 100}));
    EXPECT_EQ(form->BoundsRect(), outerBefore);
    EXPECT_GT(form->Width(), 200);
}

} // namespace
} // namespace toolkit::testing
