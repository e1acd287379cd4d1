// The skinned form frame: attachment by the manager's hook, hit testing, caption buttons, the
// caption text, the window's shape and the system menu.

#include <gtest/gtest.h>

#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/SystemMetrics.h"
#include "skin/sCommonData.h"
#include "skinned/acDials.h"
#include "skinned/sSkinMenus.h"
#include "skinned/sSkinProvider.h"
#include "tests/skinned/SkinnedPaintSupport.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TScreen.h"

namespace {

using namespace platform;
using skinned::TsSkinProvider;

class TMessageForm : public toolkit::TForm {
public:
    using TForm::TForm;
    std::string ClassName() const override { return "TMessageForm"; }
};

class FrameTest : public toolkit::testing::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        skinned::UseFormSkinning();
        manager = std::make_unique<skin::TsSkinManager>();
        skin::AddInternalSkin(manager->InternalSkins());
        manager->SetSkinningRules(
            {skin::TacSkinningRule::srStdForms, skin::TacSkinningRule::srThirdParty});
        manager->SetSkinName(skin::kInternalSkinName);
    }
    void TearDown() override {
        manager.reset();
        skin::SetThreadHookInstaller({});
        skin::SetSkinnedMenusMaker({});
        ToolkitTest::TearDown();
    }
    template <class T = toolkit::TForm> T* Shown(Rect bounds = {100, 100, 500, 400}) {
        T* form = MakeForm<T>(bounds);
        form->Show();
        Pump();
        return form;
    }
    static HWND H(toolkit::TCustomForm& f) { return f.HandleIfAllocated(); }
    // Screen point of a window-coordinate point.
    static Point Screen(toolkit::TCustomForm& f, Point p) {
        Rect wr;
        GetWindowRect(H(f), wr);
        return {wr.left + p.x, wr.top + p.y};
    }
    static LRESULT Hit(toolkit::TCustomForm& f, Point windowPoint) {
        return SendMessage(H(f), WM_NCHITTEST, 0, PointToLParam(Screen(f, windowPoint)));
    }
    static Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    // A left press on a frame button and a release at another window point.
    static void Click(toolkit::TCustomForm& f, Point at, Point releaseAt) {
        const LRESULT hit = Hit(f, at);
        SendMessage(H(f), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), PointToLParam(Screen(f, at)));
        Point client = Screen(f, releaseAt);
        ScreenToClient(H(f), client);
        SendMessage(H(f), WM_LBUTTONUP, 0, PointToLParam(client));
    }

    std::unique_ptr<skin::TsSkinManager> manager;
};

TEST_F(FrameTest, HookAttachesProvidersByTheRulesAndTakesThemAway) {
    auto* main = MakeForm();
    auto* edit = skinnedtest::Make<toolkit::TEdit>(main, {10, 10, 110, 31});
    edit->SetColor(toolkit::clWindow);
    main->Show();
    Pump();
    auto* box = Shown<TMessageForm>({150, 150, 400, 300});
    auto* mgn = MakeForm({200, 200, 400, 300});
    mgn->SetCaption("Mgn");
    mgn->Show();
    Pump();

    ASSERT_NE(skinned::ProviderOf(*main), nullptr);
    EXPECT_EQ(skinned::ProviderOf(*box), nullptr) << "message forms need srStdDialogs";
    EXPECT_EQ(skinned::ProviderOf(*mgn), nullptr);
    EXPECT_EQ(skin::SendCommand(*main, skin::kCmdAreYouSkinned), 1);
    ASSERT_NE(skinned::ProviderOf(*main)->Adapter(), nullptr) << "srThirdParty";
    EXPECT_NE(skinned::ProviderOf(*main)->Adapter()->Find(edit), nullptr);
    // Reactivation attaches nothing twice.
    SetActiveWindow(H(*main));
    Pump();
    EXPECT_EQ(toolkit::Screen().FormList().size(), 3u);

    manager->SetActive(false);
    EXPECT_EQ(skinned::ProviderOf(*main), nullptr);
    EXPECT_FALSE(GetWindowRgn(H(*main)).has_value()) << "no shape while not skinned";
    EXPECT_NE(GetWindowLongPtr(H(*main), GWL_STYLE) & WS_SYSMENU, 0) << "the style comes back";
    EXPECT_EQ(edit->Color(), toolkit::clWindow) << "the edit's own colour comes back";

    // Under srStdDialogs the message form is skinned too, once activated again.
    manager->SetSkinningRules(
        {skin::TacSkinningRule::srStdForms, skin::TacSkinningRule::srStdDialogs});
    manager->SetActive(true);
    SetActiveWindow(H(*box));
    Pump();
    ASSERT_NE(skinned::ProviderOf(*box), nullptr);
    EXPECT_FALSE(skinned::ProviderOf(*box)->MakeSkinMenu());
}

TEST_F(FrameTest, SecondProviderOnAFormStaysInert) {
    auto* form = Shown();
    TsSkinProvider* first = skinned::ProviderOf(*form);
    ASSERT_NE(first, nullptr);
    {
        TsSkinProvider second(*form, manager.get());
        EXPECT_TRUE(second.Inert());
        EXPECT_EQ(Hit(*form, Centre(first->Button(TsSkinProvider::kClose).Rect)), HTCLOSE);
    }
    EXPECT_EQ(skinned::ProviderOf(*form), first);
    EXPECT_EQ(Hit(*form, Centre(first->Button(TsSkinProvider::kClose).Rect)), HTCLOSE);
}

TEST_F(FrameTest, HitTestCodesOfTheSizeableFrame) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    const TsSkinProvider::Metrics fm = p.FrameMetrics();
    EXPECT_EQ(fm.BorderWidth, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(fm.CaptionHeight, GetSystemMetrics(SM_CYCAPTION));

    const Rect close = p.Button(TsSkinProvider::kClose).Rect;
    const Rect max = p.Button(TsSkinProvider::kMax).Rect;
    const Rect min = p.Button(TsSkinProvider::kMin).Rect;
    EXPECT_EQ(close.Width(), 20);
    EXPECT_EQ(close.Height(), 20);
    EXPECT_EQ(close.right, 400 - fm.BorderWidth);
    EXPECT_EQ(max.right, close.left);
    EXPECT_EQ(min.right, max.left);
    EXPECT_FALSE(p.Button(TsSkinProvider::kHelp).Shown());

    const int y = Centre(close).y;
    EXPECT_EQ(Hit(*form, {fm.BorderWidth + 2, y}), HTSYSMENU);
    EXPECT_EQ(Hit(*form, Centre(close)), HTCLOSE);
    EXPECT_EQ(Hit(*form, Centre(max)), HTMAXBUTTON);
    EXPECT_EQ(Hit(*form, Centre(min)), HTMINBUTTON);
    EXPECT_EQ(Hit(*form, {200, y}), HTCAPTION);
    EXPECT_EQ(Hit(*form, {1, 150}), HTLEFT);
    EXPECT_EQ(Hit(*form, {398, 150}), HTRIGHT);
    EXPECT_EQ(Hit(*form, {200, 298}), HTBOTTOM);
    EXPECT_EQ(Hit(*form, {399, 299}), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(*form, {200, 150}), HTCLIENT);
}

TEST_F(FrameTest, SaveWindowHasNoButtonsAndNoIconArea) {
    Shown();
    auto* save = MakeForm({150, 150, 430, 330});
    save->SetBorderStyle(toolkit::bsSingle);
    save->SetBorderIcons({});
    save->Show();
    Pump();
    TsSkinProvider& p = *skinned::ProviderOf(*save);
    for (auto kind : {TsSkinProvider::kClose, TsSkinProvider::kMax, TsSkinProvider::kMin})
        EXPECT_FALSE(p.Button(kind).Shown());
    const TsSkinProvider::Metrics fm = p.FrameMetrics();
    const int y = fm.BorderHeight + fm.CaptionHeight / 2;
    EXPECT_EQ(Hit(*save, {fm.BorderWidth + 2, y}), HTCAPTION);
    EXPECT_EQ(Hit(*save, {270, y}), HTCAPTION);
    // Nothing happens on a press where the close button of other frames would be.
    SendMessage(H(*save), WM_NCLBUTTONDOWN, HTCAPTION + 0, 0);
    EXPECT_TRUE(save->Visible());
    EXPECT_EQ(Hit(*save, {1, 100}), HTBORDER) << "a single border does not size";
}

TEST_F(FrameTest, ButtonsFollowPressAndRelease) {
    Shown({0, 0, 200, 100}); // the main form: closing it would end the program instead
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    const Rect close = p.Button(TsSkinProvider::kClose).Rect;
    const Rect max = p.Button(TsSkinProvider::kMax).Rect;

    Hit(*form, Centre(max));
    EXPECT_EQ(p.Button(TsSkinProvider::kMax).State, 1) << "hot under the cursor";
    EXPECT_EQ(p.Button(TsSkinProvider::kClose).State, 0);
    Hit(*form, {200, 150});
    EXPECT_EQ(p.Button(TsSkinProvider::kMax).State, 0);

    // Pressed, dragged off and released elsewhere: nothing happens.
    SendMessage(H(*form), WM_NCLBUTTONDOWN, HTCLOSE, PointToLParam(Screen(*form, Centre(close))));
    EXPECT_EQ(p.Button(TsSkinProvider::kClose).State, 2);
    EXPECT_EQ(GetCapture(), H(*form));
    Point away = Screen(*form, {200, 150});
    ScreenToClient(H(*form), away);
    SendMessage(H(*form), WM_MOUSEMOVE, 0, PointToLParam(away));
    EXPECT_EQ(p.Button(TsSkinProvider::kClose).State, 0);
    SendMessage(H(*form), WM_LBUTTONUP, 0, PointToLParam(away));
    EXPECT_TRUE(form->Visible());
    EXPECT_NE(GetCapture(), H(*form));

    // Released over the button it was pressed on: maximise, then restore.
    Click(*form, Centre(max), Centre(max));
    ASSERT_TRUE(IsZoomed(H(*form)));
    Rect wr;
    GetWindowRect(H(*form), wr);
    EXPECT_EQ(wr,
              GetWorkArea().Inflate(p.FrameMetrics().BorderWidth, p.FrameMetrics().BorderHeight));
    EXPECT_EQ(Hit(*form, {1, 1}), HTTRANSPARENT) << "a maximised frame's outer edge";
    EXPECT_EQ(p.Button(TsSkinProvider::kClose).Rect.right,
              wr.Width() - p.FrameMetrics().BorderWidth)
        << "laid out anew";
    const Rect restore = p.Button(TsSkinProvider::kMax).Rect;
    Click(*form, Centre(restore), Centre(restore));
    EXPECT_FALSE(IsZoomed(H(*form)));
    EXPECT_EQ(p.Button(TsSkinProvider::kClose).Rect, close);
    EXPECT_EQ(Hit(*form, Centre(close)), HTCLOSE);

    Click(*form, Centre(close), Centre(close));
    EXPECT_FALSE(form->Visible());
}

// Kept on its work area as a window manager keeps it, a maximised window answers on every pixel,
// the top row of its caption buttons included.
TEST_F(FrameTest, MaximisedWindowAnswersWhereverItShows) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    ShowWindow(H(*form), SW_MAXIMIZE);
    const Rect work = GetWorkArea();
    SetWindowPos(H(*form), HWND{}, work.left, work.top, work.Width(), work.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ASSERT_TRUE(IsZoomed(H(*form)));
    const Rect close = p.Button(TsSkinProvider::kClose).Rect;
    EXPECT_EQ(Hit(*form, {close.left + 2, close.top}), HTCLOSE);
    for (const Point at : {Point{0, 0}, Point{work.Width() - 1, work.Height() - 1},
                           Point{work.Width() - 2, 150}, Point{1, work.Height() - 3}})
        EXPECT_NE(Hit(*form, at), HTTRANSPARENT) << at;
}

// BISPACE of GLOBALINFO stands before the first button and between the buttons; with no icon
// of its own the program still shows one in the caption's icon place.
TEST_F(FrameTest, ButtonSpacingComesFromTheSkinAndTheIconPlaceIsNeverEmpty) {
    manager->SkinData().BISpace = 3;
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    p.RebuildFrame();
    Pump();
    const Rect close = p.Button(TsSkinProvider::kClose).Rect;
    const Rect max = p.Button(TsSkinProvider::kMax).Rect;
    EXPECT_EQ(close.right, 400 - p.FrameMetrics().BorderWidth - 3);
    EXPECT_EQ(max.right, close.left - 3);
    EXPECT_EQ(Hit(*form, Centre(max)), HTMAXBUTTON);

    form->SetCaption(""); // nothing else may move into the icon's place
    const Size icon = p.IconSize();
    ASSERT_GT(icon.cx, 0);
    const auto iconArea = [&] {
        std::vector<Color> out;
        const int top =
            (p.FrameMetrics().BorderHeight + p.FrameMetrics().CaptionHeight - icon.cy) / 2;
        for (int y = 0; y < icon.cy; ++y)
            for (int x = 0; x < icon.cx; ++x)
                out.push_back(skinnedtest::BitmapPixel(*p.Cache(), p.FrameMetrics().BorderWidth + x,
                                                       top + y));
        return out;
    };
    const std::vector<Color> shown = iconArea();
    p.SetShowAppIcon(false);
    p.RebuildFrame();
    Pump();
    EXPECT_NE(iconArea(), shown);
}

TEST_F(FrameTest, CaptionTextEndsInAnEllipsisWhenTooLong) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    form->SetCaption("Short");
    p.RebuildCache();
    EXPECT_EQ(p.DrawnCaption(), "Short");

    form->SetCaption(std::string(200, 'W'));
    p.RebuildCache();
    const std::string drawn = p.DrawnCaption();
    ASSERT_GT(drawn.size(), 3u);
    EXPECT_EQ(drawn.substr(drawn.size() - 3), "...");
    EXPECT_LT(drawn.size(), 200u);
    EXPECT_LE(p.CaptionTextRect().right, p.Button(TsSkinProvider::kMin).Rect.left - 6);
    EXPECT_EQ(p.CaptionTextRect().left, p.FrameMetrics().BorderWidth + p.IconSize().cx + 4);
    EXPECT_EQ(p.IconSize(), (Size{16, 16}));
}

TEST_F(FrameTest, RegionCutsTheFrameCornersOnly) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    const std::optional<Region> shape = GetWindowRgn(H(*form));
    ASSERT_TRUE(shape.has_value());
    ASSERT_FALSE(p.CornerRects().empty());
    const int w = 400, h = 300;
    for (const Rect& r : p.CornerRects()) {
        EXPECT_EQ(r.Height(), 1) << r;
        EXPECT_TRUE(r.right <= 21 || r.left >= w - 21) << r << " lies in a corner";
        EXPECT_TRUE(r.top < 20 || r.top >= h - 20) << r << " lies in a corner";
        EXPECT_FALSE(shape->Contains({r.left, r.top}));
    }
    EXPECT_FALSE(shape->Contains({0, 0}));
    EXPECT_FALSE(shape->Contains({w - 1, 0}));
    EXPECT_TRUE(shape->Contains({w / 2, 0}));
    EXPECT_TRUE(shape->Contains({w / 2, h / 2}));
    EXPECT_TRUE(shape->Contains({w / 2, h - 1}));

    // A new size brings the right-hand cuts along.
    form->SetBounds(100, 100, 300, 250);
    Pump();
    const std::optional<Region> smaller = GetWindowRgn(H(*form));
    ASSERT_TRUE(smaller.has_value());
    EXPECT_FALSE(smaller->Contains({299, 0}));
    EXPECT_EQ(smaller->Bounds().right, 300);
}

TEST_F(FrameTest, FrameAndClientArePaintedFromTheSkin) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    const DibSection* s = GetWindowSurface(H(*form));
    ASSERT_NE(s, nullptr);
    const auto pixel = [&](int x, int y) {
        const std::uint8_t* px = const_cast<DibSection*>(s)->Row(y) + x * 4;
        return RGB(px[2], px[1], px[0]);
    };
    const auto cache = [&](int x, int y) { return skinnedtest::BitmapPixel(*p.Cache(), x, y); };
    // Caption text area, client and border as the cache has them, not the classic colours.
    for (const Point at : {Point{150, 12}, Point{200, 150}, Point{1, 150}})
        EXPECT_EQ(pixel(at.x, at.y), cache(at.x, at.y)) << at;
    EXPECT_NE(pixel(150, 12), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(form->Color(), manager->GetGlobalColor()) << "the form takes the global colour";
    // Children see the cache as their parent background at the client origin.
    skin::CommandBackdrop() = {};
    skin::SendCommand(*form, skin::kCmdGiveBackground);
    EXPECT_TRUE(skin::CommandBackdrop().Ready);
    EXPECT_EQ(skin::CommandBackdrop().X, p.FrameMetrics().BorderWidth);
    EXPECT_EQ(skin::CommandBackdrop().Y,
              p.FrameMetrics().BorderHeight + p.FrameMetrics().CaptionHeight);

    // Another window taking the activation shows this title in its inactive look, and back.
    const Color active = pixel(250, 5);
    Shown({600, 100, 800, 300});
    EXPECT_NE(pixel(250, 5), active);
    form->SetFocus();
    Pump();
    EXPECT_EQ(pixel(250, 5), active);
}

TEST_F(FrameTest, SystemMenuItemsFollowTheFrame) {
    auto* form = Shown();
    skinned::TsSystemMenu& menu = *skinned::ProviderOf(*form)->SystemMenu();
    menu.MakeItems();
    ASSERT_NE(menu.SkinSelectItem(), nullptr);
    // Our packed dark skin from the data folder, then the internal one, which is in use.
    ASSERT_EQ(menu.SkinSelectItem()->Count(), 2);
    EXPECT_EQ(menu.SkinSelectItem()->Items(0)->Caption(), "Nightfall");
    EXPECT_FALSE(menu.SkinSelectItem()->Items(0)->Checked());
    EXPECT_EQ(menu.SkinSelectItem()->Items(1)->Caption(), skin::kInternalSkinName);
    EXPECT_TRUE(menu.SkinSelectItem()->Items(1)->Checked());
    EXPECT_FALSE(menu.ItemRestore()->Enabled());
    EXPECT_TRUE(menu.ItemMove()->Enabled());
    EXPECT_TRUE(menu.ItemSize()->Enabled());
    EXPECT_TRUE(menu.ItemMinimize()->Enabled());
    EXPECT_TRUE(menu.ItemMaximize()->Enabled());

    menu.ItemMaximize()->Click();
    ASSERT_TRUE(IsZoomed(H(*form)));
    menu.MakeItems();
    EXPECT_TRUE(menu.ItemRestore()->Enabled());
    EXPECT_FALSE(menu.ItemMove()->Enabled());
    EXPECT_FALSE(menu.ItemSize()->Enabled());
    EXPECT_FALSE(menu.ItemMaximize()->Enabled());

    auto* single = MakeForm({150, 150, 400, 300});
    single->SetBorderStyle(toolkit::bsDialog);
    single->Show();
    Pump();
    skinned::TsSystemMenu& dialogMenu = *skinned::ProviderOf(*single)->SystemMenu();
    dialogMenu.MakeItems();
    EXPECT_FALSE(dialogMenu.ItemSize()->Enabled());
    EXPECT_FALSE(dialogMenu.ItemMinimize()->Enabled());
    EXPECT_FALSE(dialogMenu.ItemMaximize()->Enabled());
    dialogMenu.ItemClose()->Click();
    EXPECT_FALSE(single->Visible());
}

TEST_F(FrameTest, SkinAppliedAgainAndAgainKeepsOneProviderAndItsShape) {
    auto* form = Shown();
    TsSkinProvider* provider = skinned::ProviderOf(*form);
    ASSERT_NE(provider, nullptr);
    const std::optional<Region> shape = GetWindowRgn(H(*form));
    for (int i = 0; i < 10; ++i) {
        manager->SetSkinName(skin::kInternalSkinName);
        Pump();
    }
    EXPECT_EQ(skinned::ProviderOf(*form), provider);
    EXPECT_EQ(GetWindowRgn(H(*form)), shape);
    EXPECT_EQ(Hit(*form, Centre(provider->Button(TsSkinProvider::kClose).Rect)), HTCLOSE);
}

TEST_F(FrameTest, ExtraTitleButtonsAndTheGripAnswerTheirOwnCodes) {
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    int downs = 0, ups = 0;
    auto extra = std::make_unique<skinned::TsTitleButton>();
    extra->OnMouseDown = [&](skinned::TsTitleButton&) { ++downs; };
    extra->OnMouseUp = [&](skinned::TsTitleButton&) { ++ups; };
    p.TitleButtons().push_back(std::move(extra));
    auto disabled = std::make_unique<skinned::TsTitleButton>();
    disabled->Enabled = false;
    p.TitleButtons().push_back(std::move(disabled));
    p.SetGripMode(skinned::TsGripMode::gmRightBottom);
    p.RebuildCache();

    const Rect button = p.TitleButtons()[0]->Button.Rect;
    EXPECT_EQ(button.right, p.Button(TsSkinProvider::kMin).Rect.left) << "left of the system ones";
    EXPECT_FALSE(p.TitleButtons()[1]->Button.Shown());
    EXPECT_EQ(Hit(*form, Centre(button)), skinned::kTitleButtonHit);
    Click(*form, Centre(button), Centre(button));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    Click(*form, Centre(button), {200, 150});
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(ups, 1) << "released elsewhere";

    // The grip's square answers as the bottom-right corner, inside the border too.
    EXPECT_EQ(Hit(*form, {390, 290}), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(*form, {350, 290}), HTCLIENT);
}

// A moving window snaps to the work area's edges (1024 x 738 here) within SnapBuffer pixels;
// sizing and a provider without ScreenSnap leave the position alone.
TEST_F(FrameTest, ScreenSnapPutsAMovingWindowOnTheWorkAreasEdges) {
    auto* form = Shown(); // 400 x 300
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    const auto moveTo = [&](int x, int y, int w = 400, int h = 300) {
        MoveWindow(H(*form), x, y, w, h, true);
        Rect r;
        GetWindowRect(H(*form), r);
        return r;
    };
    EXPECT_EQ(moveTo(7, 50).left, 7) << "off by default";
    p.SetScreenSnap(true);
    EXPECT_EQ(moveTo(7, 50), (Rect{0, 50, 400, 350}));
    EXPECT_EQ(moveTo(-10, 50).left, 0);
    EXPECT_EQ(moveTo(-11, 50).left, -11) << "beyond the buffer";
    EXPECT_EQ(moveTo(630, 433), (Rect{624, 438, 1024, 738}));
    p.SetSnapBuffer(3);
    EXPECT_EQ(moveTo(5, 5), (Rect{5, 5, 405, 305}));
    EXPECT_EQ(moveTo(2, 3), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(moveTo(2, 2, 300, 200), (Rect{2, 2, 302, 202})) << "sized, not snapped";
}

// A skin that cannot be read changes nothing on screen: frame, buttons and controls stay
// as the skin in use painted them.
TEST_F(FrameTest, FailingSkinLeavesFrameAndControlsAsTheyWere) {
    const char damaged[] = "ASzf\1\0\0\0\13\0\0\0Options.dat\144\0\0\0x";
    auto& broken = manager->InternalSkins().Add();
    broken.Name = "Broken";
    broken.Data().WriteBuffer(damaged, sizeof damaged - 1);
    auto* form = MakeForm();
    skinnedtest::Make<toolkit::TEdit>(form, {10, 10, 110, 31})->SetColor(toolkit::clWindow);
    form->Show();
    Pump();
    const auto surface = [&] {
        const DibSection* s = GetWindowSurface(H(*form));
        return std::vector<std::uint8_t>(s->Bits(), s->Bits() + s->WidthBytes() * s->Height());
    };
    const std::vector<std::uint8_t> before = surface();
    try {
        manager->SetSkinName("Broken");
        ADD_FAILURE() << "the damaged skin loaded";
    } catch (const skin::ESkinError& e) {
        EXPECT_EQ(e.Message(), "Cannot load skin \"Broken\". Stream read error");
    }
    RedrawWindow(H(*form), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    Pump();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    EXPECT_TRUE(p.Skinned());
    EXPECT_TRUE(surface() == before) << "the window changed";
    EXPECT_EQ(Hit(*form, Centre(p.Button(TsSkinProvider::kClose).Rect)), HTCLOSE);
}

// A skin without a form section leaves the frame plain; its system menu still lists the skins,
// and choosing the internal one from it brings the skinned frame back.
TEST_F(FrameTest, PlainFrameSystemMenuLeadsBackToTheInternalSkin) {
    manager->SetSkinDirectory("/nonexistent-skin-folder");
    manager->InternalSkins().Add().Name = "Bare";
    auto* form = Shown();
    TsSkinProvider& p = *skinned::ProviderOf(*form);
    manager->SetSkinName("Bare");
    Pump();
    ASSERT_FALSE(p.Skinned());
    EXPECT_TRUE(GetWindowLongPtr(H(*form), GWL_STYLE) & WS_SYSMENU) << "the system's buttons";
    EXPECT_EQ(Hit(*form, {12, 12}), HTSYSMENU);
    EXPECT_FALSE(skinned::TsSkinableMenus::Of(*manager).Skinning()) << "nothing to draw menus from";

    // Available skins, into it (Bare, then the internal skin), down one, choose.
    for (const int vk : {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})
        host->Key(vk);
    SendMessage(H(*form), WM_NCRBUTTONUP, HTCAPTION, PointToLParam(Screen(*form, {150, 12})));
    Pump();
    EXPECT_EQ(manager->SkinName(), skin::kInternalSkinName);
    EXPECT_TRUE(p.Skinned());
    EXPECT_FALSE(GetWindowLongPtr(H(*form), GWL_STYLE) & WS_SYSMENU);
}

} // namespace
