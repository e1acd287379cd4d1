// Shows a form with panels of every alignment, nested like the program's main window, a few
// painted graphic controls and two buttons. Closes itself after the number of milliseconds
// given as the first argument (default: stays until closed). With CHARVANE_DEMO_MENU set, the
// drop-down button's menu opens by itself after half a second (for screenshots).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Glyphs.h"
#include "platform/gfx/text/TextDraw.h"
#include "platform/win/ClassicLook.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TButtonControl.h"
#include "toolkit/TForm.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMenu.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

namespace {

// A plain panel: background, raised bevel, caption in the middle.
class TDemoPanel : public TCustomControl {
public:
    explicit TDemoPanel(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
        SetBevelOuter(bvRaised);
    }
    std::string ClassName() const override { return "TDemoPanel"; }

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        const platform::Rect r = ClientRect();
        c.Brush().SetColor(Color());
        c.FillRect(r);
        for (int i = 0; i < BevelWidth(); ++i) {
            const platform::Rect e = r.Inflate(-i, -i);
            platform::DrawBevel(c.Handle(), e, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow));
        }
        c.Font().Assign(&Font());
        c.Brush().SetStyle(TBrushStyle::bsClear);
        platform::Rect text = r;
        c.DrawText(Caption(), text,
                   platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    }
};

// A graphic control: a framed swatch with a label under it.
class TSwatch : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        c.Brush().SetColor(Color());
        c.Pen().SetColor(clBlack);
        c.Rectangle(0, 0, Width(), Height() - 16);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.Font().Assign(&Font());
        c.TextOut(2, Height() - 15, Caption());
        c.Pen().SetStyle(TPenStyle::psDot);
        c.MoveTo(0, Height() - 1);
        c.LineTo(Width(), Height() - 1);
    }
};

// A push button in the classic look.
class TDemoButton : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    std::string ClassName() const override { return "TDemoButton"; }

protected:
    void PaintWindow(platform::DeviceContext& dc) override {
        platform::Rect r = ClientRect();
        platform::FillRect(dc, r, ColorToRGB(clBtnFace));
        platform::DrawEdge3D(dc, r, platform::EdgeKind::Raised);
        platform::SelectFont(dc, Font().Handle());
        platform::SetBkMode(dc, platform::BkMode::Transparent);
        platform::SetTextColor(dc, ColorToRGB(Font().Color()));
        platform::DrawText(dc, Caption(), r,
                           platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    }
};

// Like a window definition: the place comes first, then the parent and the alignment.
template <class T>
T* Make(TForm* form, TWinControl* parent, const char* name, TAlign align, int top, int w, int h) {
    T* c = new T(form);
    c->SetName(name);
    c->SetBounds(0, top, w, h);
    c->SetParent(parent);
    c->SetAlign(align);
    return c;
}

} // namespace

int main(int argc, char** argv) {
    TApplication application;
    application.Initialize();
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("Toolkit demo: panels and alignment");
    form->SetBounds(0, 0, 782, 570);
    form->SetPosition(poScreenCenter);

    auto* left = Make<TDemoPanel>(form, form, "LeftPanel", alLeft, 0, 211, 0);
    auto* top1 = Make<TDemoPanel>(form, left, "Top30", alTop, 0, 0, 30);
    auto* top2 = Make<TDemoPanel>(form, left, "Top212", alTop, 30, 0, 212);
    auto* top3 = Make<TDemoPanel>(form, left, "Top105", alTop, 242, 0, 105);
    auto* rest = Make<TDemoPanel>(form, left, "ClientBevel4", alClient, 347, 0, 0);
    rest->SetBevelWidth(4);
    rest->SetColor(clSkyBlue);
    auto* right = Make<TDemoPanel>(form, form, "ClientBevel5", alClient, 0, 0, 0);
    right->SetBevelWidth(5);
    right->SetColor(clWhite);
    auto* bottom = Make<TDemoPanel>(form, right, "BottomBar", alBottom, 500, 0, 40);
    auto* side = Make<TDemoPanel>(form, right, "RightBar", alRight, 0, 90, 0);
    side->Font().SetName("Times New Roman");
    side->Font().SetHeight(-16);
    side->Font().SetStyle({TFontStyle::fsBold});

    const TColor colours[] = {clRed, clLime, clBlue};
    const char* names[] = {"Red", "Green", "Blue"};
    for (int i = 0; i < 3; ++i) {
        auto* s = new TSwatch(form);
        s->SetName(std::string("Swatch") + names[i]);
        s->SetCaption(names[i]);
        s->SetParent(top2);
        s->SetBounds(10 + i * 60, 120 + i * 10, 50, 56);
        s->SetColor(colours[i]);
    }
    auto* ok = new TDemoButton(form);
    ok->SetName("OkButton");
    ok->SetCaption("OK");
    ok->SetParent(bottom);
    ok->SetBounds(10, 8, 75, 25);
    ok->SetDefault(true);
    ok->OnClick = [&](TObject*) { form->Close(); };
    auto* cancel = new TDemoButton(form);
    cancel->SetName("CancelButton");
    cancel->SetCaption("Cancel");
    cancel->SetParent(bottom);
    cancel->SetBounds(95, 8, 75, 25);
    (void)top1;
    (void)top3;

    // The standard controls in their plain look, on a panel filling the rest of the right side.
    auto* board = Make<TPanel>(form, right, "Board", alClient, 0, 0, 0);
    board->SetCaption("Panel caption\nsecond line");
    board->SetBevelInner(bvLowered);
    board->SetBevelWidth(2);
    auto* nameLabel = Make<TLabel>(form, board, "NameLabel", alNone, 20, 0, 0);
    nameLabel->SetLeft(20);
    nameLabel->SetCaption("&Name (typing N focuses the OK button):");
    auto* wrapped = Make<TLabel>(form, board, "Wrapped", alNone, 44, 200, 40);
    wrapped->SetLeft(20);
    wrapped->SetWordWrap(true);
    wrapped->SetCaption("A wrapped label that takes several lines in its fixed width.");
    auto* okBtn = Make<TBitBtn>(form, board, "OkBtn", alNone, 100, 90, 28);
    okBtn->SetLeft(20);
    okBtn->SetKind(bkOK);
    okBtn->OnClick = [](TObject*) { std::printf("OK clicked\n"); };
    nameLabel->SetFocusControl(okBtn);
    auto* cancelBtn = Make<TBitBtn>(form, board, "CancelBtn", alNone, 100, 90, 28);
    cancelBtn->SetLeft(120);
    cancelBtn->SetKind(bkCancel);
    auto* disabledBtn = Make<TBitBtn>(form, board, "DisabledBtn", alNone, 100, 90, 28);
    disabledBtn->SetLeft(220);
    disabledBtn->SetKind(bkOK);
    disabledBtn->SetCaption("Disabled");
    disabledBtn->SetDefault(false);
    disabledBtn->SetEnabled(false);
    const app::TGlyphImage open = app::Glyph(app::GlyphId::OpenPicture);
    const char* layouts[] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        auto* b = Make<TBitBtn>(form, board, (std::string("Glyph") + layouts[i]).c_str(), alNone,
                                140, 90, i < 2 ? 31 : 50);
        b->SetLeft(20 + i * 100);
        b->SetGlyphPixels(open.width, open.height, open.pixels);
        b->SetLayout(static_cast<TButtonLayout>(i));
        b->SetCaption(layouts[i]);
    }
    auto* plain = Make<TButton>(form, board, "PlainButton", alNone, 320, 90, 25);
    plain->SetLeft(20);
    plain->SetCaption("&Plain");
    TImageList* icons = new TImageList(form);
    for (int i = 0; i < app::kImageList1Count; ++i) {
        const app::TGlyphImage icon = app::ImageList1Icon(i);
        icons->AddPixels(icon.width, icon.height, icon.pixels);
    }
    auto* drop = Make<TSpeedButton>(form, board, "DropButton", alNone, 360, 39, 22);
    drop->SetLeft(20);
    drop->SetButtonStyle(tbsDropDown);
    drop->SetWidth(39);
    drop->SetImages(icons);
    drop->SetImageIndex(3);
    drop->OnClick = [](TObject*) { std::printf("generator clicked\n"); };
    drop->SetHint("Choose how the bounds are made");
    // The generator menu: images, a line, radio group 2, an auto-checking item, plus a disabled
    // item, a default one and a sub-menu to show the rest of the look.
    auto* generators = new TPopupMenu(form);
    generators->SetImages(icons);
    struct Entry {
        const char* caption;
        int image;
    };
    const Entry entries[] = {
        {"В &ручную", 0},    {"-", -1}, {"&Равномерно", 3},    {"&Экспоненциально", 1},
        {"По &фибаначи", 2}, {"-", -1}, {"&Default item", -1}, {"Disabled with image", 4},
        {"&More", -1}};
    TMenuItem* more = nullptr;
    for (const Entry& e : entries) {
        auto* item = new TMenuItem(form);
        item->SetCaption(e.caption);
        item->SetImageIndex(e.image);
        item->SetGroupIndex(2);
        generators->Items()->Add(item);
        if (e.image >= 0 && e.image < 4) {
            item->SetRadioItem(true);
            item->SetAutoCheck(true);
            item->SetChecked(e.image == drop->ImageIndex());
            item->OnClick = [drop, item](TObject*) { drop->SetImageIndex(item->ImageIndex()); };
        }
        more = item;
    }
    generators->Items()->Items(4)->SetRadioItem(false);
    generators->Items()->Items(4)->SetAutoCheck(true);
    generators->Items()->Items(6)->SetDefault(true);
    generators->Items()->Items(7)->SetEnabled(false);
    for (const char* caption : {"&First", "&Second"}) {
        auto* sub = new TMenuItem(form);
        sub->SetCaption(caption);
        more->Add(sub);
    }
    drop->SetDropdownMenu(generators);
    for (int i = 0; i < 3; ++i) {
        auto* g = Make<TSpeedButton>(form, board, (std::string("Group") + layouts[i]).c_str(),
                                     alNone, 360, 60, 22);
        g->SetLeft(80 + i * 62);
        g->SetGroupIndex(1);
        g->SetCaption(layouts[i]);
        g->SetFlat(i == 2);
        g->SetDown(i == 0);
    }

    board->SetShowHint(true);
    plain->SetHint("A plain push button");
    TTimer openMenu(form);
    openMenu.SetEnabled(std::getenv("CHARVANE_DEMO_MENU") != nullptr);
    openMenu.SetInterval(500);
    openMenu.SetOnTimer([&](TObject*) {
        openMenu.SetEnabled(false);
        generators->SetPopupComponent(drop);
        const platform::Point corner = drop->ClientToScreen({0, drop->Height()});
        generators->Popup(corner.x, corner.y);
    });

    TTimer quit(form);
    quit.SetEnabled(argc > 1);
    if (argc > 1)
        quit.SetInterval(static_cast<unsigned>(std::atoi(argv[1])));
    quit.SetOnTimer([&](TObject*) { form->Close(); });
    application.Run();
    if (std::getenv("CHARVANE_DEMO_TRACE")) {
        std::printf("form %d %d %d %d\n", form->Left(), form->Top(), form->Width(), form->Height());
        for (TControl* c : left->ControlList())
            std::printf("%s %d %d %d %d\n", c->Name().c_str(), c->Left(), c->Top(), c->Width(),
                        c->Height());
    }
    return 0;
}
