// The control skin state: sections and indexes, the manager's broadcasts, the library commands
// it answers, and the parent background and colour queries.

#include "skin/sCommonData.h"

#include <gtest/gtest.h>

#include "CommonDataTestSupport.h"
#include "PaintTestSupport.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TPanel.h"

namespace {

using namespace commondatatest;
using skin::SendCommand;
using toolkit::TForm;

using SkinState = CommonDataTest;

TEST_F(SkinState, SectionNamesAreUpperCasedAndDefaultByTypeCode) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 20, 20}, "box");
    EXPECT_EQ(box->data->SkinSection(), "BOX");
    EXPECT_GE(box->data->SectionIndex(), 0);
    box->data->SetSkinSection("");
    EXPECT_EQ(box->data->SkinSection(), "UNKNOWN");
    EXPECT_EQ(box->data->SectionIndex(), -1);

    TsCommonData button(nullptr, false), other(form, false);
    button.SetControlTypeCode(93);
    button.Initialise();
    EXPECT_EQ(button.SkinSection(), "BUTTON");
    other.SetControlTypeCode(1000);
    other.Initialise();
    EXPECT_EQ(other.SkinSection(), "TFORM");
}

TEST_F(SkinState, ManagerBroadcastReachesControlsOnEveryForm) {
    TForm* first = MakeForm();
    TForm* second = MakeForm();
    auto* box = Make<TSkinBox>(first, {0, 0, 40, 30}, "BOX");
    auto* holder = Make<TSkinBox>(second, {0, 0, 100, 100}, "CLEAR");
    auto* glyph = Make<TSkinGlyph>(holder, {5, 5, 25, 25}, "GLASS");
    EXPECT_EQ(box->data->SectionIndex(), -1);
    for (auto* log : {&box->log, &holder->log, &glyph->log})
        log->commands.clear();

    ApplySkin();
    for (auto* log : {&box->log, &holder->log, &glyph->log})
        EXPECT_EQ(log->commands,
                  (std::vector<std::uint16_t>{skin::kCmdNewSkin, skin::kCmdBeforeRefresh,
                                              skin::kCmdRefresh}));
    EXPECT_TRUE(box->data->Skinned(true));
    EXPECT_TRUE(glyph->data->Skinned(true));
    EXPECT_GE(box->data->BorderIndex(), 0);
    EXPECT_EQ(glyph->data->BorderIndex(), -1);
    EXPECT_FALSE(box->data->Updating());
    EXPECT_TRUE(box->data->BackgroundChanged());

    box->data->PrepareCache();
    ASSERT_EQ(box->data->CacheBmp()->Width(), 40);
    manager->SetActive(false);
    EXPECT_EQ(box->log.Count(skin::kCmdSkinRemoved), 1);
    EXPECT_EQ(glyph->log.Count(skin::kCmdSkinRemoved), 1);
    EXPECT_EQ(box->data->SectionIndex(), -1);
    EXPECT_EQ(box->data->BorderIndex(), -1);
    EXPECT_TRUE(box->data->Updating());
    EXPECT_TRUE(box->data->CacheBmp()->Empty());
    EXPECT_FALSE(glyph->data->Skinned());

    manager->SetActive(true);
    EXPECT_TRUE(box->data->Skinned(true));
    EXPECT_GE(box->data->BorderIndex(), 0);
    EXPECT_FALSE(glyph->data->Updating());
}

// A form whose frame the library skins: it says so to command 7 and logs what reaches it.
class TSkinnedFrameForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(toolkit::TMessage& m) override {
        if (m.Msg == toolkit::kLibraryCommandMessage) {
            log.commands.push_back(skin::CommandOf(m.WParam));
            if (skin::CommandOf(m.WParam) == skin::kCmdAreYouSkinned) {
                m.Result = 1;
                return;
            }
        }
        TForm::WndProc(m);
    }
    CommandLog log;
};

TEST_F(SkinState, SkinnedFormsAreReachedThroughTheirRegistryOnly) {
    auto* framed = MakeForm<TSkinnedFrameForm>();
    auto* inside = Make<TSkinBox>(framed, {0, 0, 20, 20}, "BOX");
    ApplySkin();
    EXPECT_EQ(framed->log.Count(skin::kCmdNewSkin), 0);
    EXPECT_EQ(inside->log.Count(skin::kCmdNewSkin), 0);

    skin::RegisterSkinnedForm(framed);
    manager->SetActive(false);
    EXPECT_EQ(framed->log.Count(skin::kCmdSkinRemoved), 1);
    EXPECT_EQ(inside->log.Count(skin::kCmdSkinRemoved), 1);
    skin::UnregisterSkinnedForm(framed);
}

TEST_F(SkinState, ManagerAppliesWhenReadAndAgainWhenLoadedAndRefreshesOnRecolouring) {
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 20, 20}, "BOX");
    manager->BeginLoading();
    ApplySkin();
    EXPECT_EQ(box->log.Count(skin::kCmdNewSkin), 1);
    manager->Loaded();
    EXPECT_EQ(box->log.Count(skin::kCmdNewSkin), 2);
    EXPECT_EQ(box->log.Count(skin::kCmdRefresh), 2);

    box->log.commands.clear();
    manager->SetHueOffset(120);
    EXPECT_EQ(box->log.commands,
              (std::vector<std::uint16_t>{skin::kCmdBeforeRefresh, skin::kCmdRefresh}));
    EXPECT_TRUE(box->data->Skinned(true));
}

TEST_F(SkinState, ControlWithMissingSectionAnswersAndPaintsNothing) {
    ApplySkin();
    TForm* form = MakeForm();
    form->SetColor(toolkit::clYellow);
    auto* box = Make<TSkinBox>(form, {0, 0, 30, 20}, "NOSUCH");
    EXPECT_EQ(box->data->SectionIndex(), -1);
    EXPECT_EQ(box->data->BorderIndex(), -1);
    EXPECT_EQ(box->data->TextureIndex(), -1);
    EXPECT_FALSE(box->data->Skinned());
    EXPECT_TRUE(box->data->DependsOnParent());
    EXPECT_EQ(SendCommand(*box, skin::kCmdAreYouSkinned), 1);
    EXPECT_EQ(SendCommand(*box, skin::kCmdDependsOnYou), 0);
    EXPECT_EQ(skin::GetParentColor(*Make<TSkinGlyph>(box, {0, 0, 5, 5}, "X")), kYellow);

    toolkit::TBitmap* cache = box->data->PrepareCache();
    skin::FillRect24(*cache, {0, 0, 30, 20}, kWhite);
    skin::PaintControlSection(*box->data, {}, true, 1, 0, cache, {0, 0}, {0, 0, 30, 20});
    skin::RepairFrameCorners(*box->data, 0, skin::kAllCorners);
    EXPECT_EQ(painttest::At(*cache, 0, 0), kWhite);
    EXPECT_EQ(painttest::At(*cache, 15, 10), kWhite);
}

TEST_F(SkinState, AnswersTheSmallCommands) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 30, 20}, "BOX");
    TsCommonData& d = *box->data;
    d.SetBackgroundChanged(false);
    EXPECT_EQ(SendCommand(*box, skin::kCmdIsChanging), 0);
    SendCommand(*box, skin::kCmdInvalidateBackground);
    EXPECT_EQ(SendCommand(*box, skin::kCmdIsChanging), 1);

    SendCommand(*box, skin::kCmdSetUpdating, 1);
    EXPECT_TRUE(d.Updating());
    EXPECT_TRUE(d.IsUpdating());
    SendCommand(*box, skin::kCmdSetUpdating, 0);
    EXPECT_FALSE(d.IsUpdating());

    EXPECT_FALSE(d.DependsOnParent());
    SendCommand(*box, skin::kCmdRepaintOnMove, 1);
    EXPECT_TRUE(d.DependsOnParent());

    d.SetHalfVisible(false);
    EXPECT_EQ(SendCommand(*box, skin::kCmdIsHalfVisible), 0);
    SendCommand(*box, skin::kCmdSetHalfVisible);
    EXPECT_EQ(SendCommand(*box, skin::kCmdIsHalfVisible), 1);

    SendCommand(*box, skin::kCmdRelatedObject, 0, 1234);
    EXPECT_EQ(d.RelatedObject(), 1234);

    // A skin command from another manager is not this control's business.
    skin::TsSkinManager stranger;
    SendCommand(*box, skin::kCmdSkinRemoved, 0, skin::ManagerParam(&stranger));
    EXPECT_GE(d.SectionIndex(), 0);

    // Command 13 refreshes the controls of the named section only.
    skin::CommandSectionName() = "box";
    d.SetBackgroundChanged(false);
    SendCommand(*box, skin::kCmdSectionChanged);
    EXPECT_TRUE(d.BackgroundChanged());
}

TEST_F(SkinState, GivesItsBackgroundAndColourToChildren) {
    ApplySkin();
    TForm* form = MakeForm();
    form->SetColor(toolkit::clWhite);
    auto* parent = Make<TSkinBox>(form, {0, 0, 60, 60}, "BOX");
    auto* child = Make<TSkinBox>(parent, {10, 10, 20, 20}, "GLASS");
    auto* plain = new toolkit::TPanel(form);
    plain->SetParent(form);
    auto* orphan = Make<TSkinGlyph>(plain, {0, 0, 5, 5}, "BOX");

    // No cache picture yet: nothing to give.
    EXPECT_FALSE(skin::GetParentBackground(*child).Ready);
    parent->data->PrepareCache();
    const skin::TsBackdropInfo given = skin::GetParentBackground(*child);
    EXPECT_EQ(given.Bmp, parent->data->CacheBmp());
    EXPECT_TRUE(given.Ready);
    EXPECT_EQ(given.X, 0);
    EXPECT_FALSE(skin::GetParentBackground(*orphan).Ready);
    EXPECT_FALSE(skin::GetParentBackground(*form).Ready);

    // Colours: own section colour, the custom Color, half-transparent black over white
    // (50 × 255 ÷ 256 = 49 per channel), fully transparent over a plain yellow parent.
    EXPECT_EQ(skin::GetParentColor(*child), kRed);
    parent->data->SetCustomColor(true);
    parent->SetColor(toolkit::clLime);
    EXPECT_EQ(skin::GetParentColor(*child), kGreen);
    auto* glass = Make<TSkinBox>(form, {70, 0, 80, 10}, "GLASS");
    EXPECT_EQ(skin::GetParentColor(*Make<TSkinGlyph>(glass, {0, 0, 2, 2}, "X")),
              platform::RGB(49, 49, 49));
    plain->SetColor(toolkit::clYellow);
    auto* clear = Make<TSkinBox>(plain, {0, 10, 10, 20}, "CLEAR");
    EXPECT_EQ(skin::GetParentColor(*Make<TSkinGlyph>(clear, {0, 0, 2, 2}, "X")), kYellow);
}

TEST_F(SkinState, EditControlsTakeTheSectionColoursUnlessCustom) {
    TForm* form = MakeForm();
    auto* edit = Make<TSkinBox>(form, {0, 0, 50, 20}, "EDIT", skin::kTypeEdit);
    auto* custom = Make<TSkinBox>(form, {0, 30, 50, 50}, "EDIT", skin::kTypeEdit);
    custom->data->SetCustomColor(true);
    custom->SetColor(toolkit::clAqua);
    ApplySkin();
    EXPECT_EQ(toolkit::ColorToRGB(edit->Color()), kGreen);
    EXPECT_EQ(toolkit::ColorToRGB(edit->Font().Color()), kRed);
    EXPECT_EQ(custom->Color(), toolkit::clAqua);
    EXPECT_EQ(toolkit::ColorToRGB(custom->Font().Color()), kRed);

    manager->SetActive(false);
    EXPECT_EQ(edit->Color(), toolkit::clWindow);
    EXPECT_EQ(edit->Font().Color(), toolkit::clWindowText);
    EXPECT_EQ(custom->Color(), toolkit::clAqua);
}

// A stored skin may give -1 as a main font colour: one the skin does not define. The control
// keeps its own colour instead of turning black, and the skin has no general font colour.
TEST_F(SkinState, AnUndefinedFontColourLeavesTheControlsOwn) {
    manager.reset();
    manager = std::make_unique<skin::TsSkinManager>();
    skin::TsStoredSkin& item = manager->InternalSkins().Add();
    item.Name = "Stored";
    item.MasterBitmap = std::make_shared<skin::TsSkinBitmap>(8, 8);
    for (const char* name : {"GLOBALINFO", "EDIT"}) {
        skin::TsSkinGeneral section;
        section.SectionName = name;
        section.FontColor = "-1 -1 -1 -1 -1";
        item.GeneralData.push_back(section);
    }
    TForm* form = MakeForm();
    auto* edit = Make<TSkinBox>(form, {0, 0, 50, 20}, "EDIT", skin::kTypeEdit);
    edit->Font().SetColor(toolkit::clNavy);
    manager->SetSkinName("Stored");
    ASSERT_TRUE(edit->data->Skinned(true));
    EXPECT_EQ(edit->Font().Color(), toolkit::clNavy);
    EXPECT_EQ(manager->GetGlobalFontColor(), skin::kKeyColor);
}

TEST_F(SkinState, MouseOverAndHotControl) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* panel = Make<TSkinBox>(form, {0, 0, 50, 50}, "BOX", skin::kTypePanel);
    auto* box = Make<TSkinBox>(form, {60, 0, 90, 30}, "BOX");
    panel->Perform(toolkit::CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(panel->data->MouseOver());
    EXPECT_FALSE(skin::Highlighted(panel, *panel->data));
    EXPECT_EQ(manager->HotControl(), panel);

    box->Perform(toolkit::CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(box->data->MouseOver());
    EXPECT_TRUE(skin::Highlighted(box, *box->data));
    EXPECT_EQ(manager->HotControl(), box);
    EXPECT_EQ(panel->log.Count(skin::kCmdHotLeave), 1);
    EXPECT_EQ(box->log.Count(skin::kCmdHotEnter), 1);
    box->SetEnabled(false);
    EXPECT_FALSE(box->data->MouseOver()); // the enabled change clears it
    box->SetEnabled(true);
    box->Perform(toolkit::CM_MOUSEENTER, 0, 0);
    box->Perform(toolkit::CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(box->data->MouseOver());

    // A hot control that goes away is forgotten, not told.
    toolkit::TComponent::Free(box);
    EXPECT_EQ(manager->HotControl(), nullptr);
}

TEST_F(SkinState, ExplicitManagerIsForgottenWhenItGoes) {
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 30, 20}, "BOX");
    auto* loose = new TSkinBox(nullptr, "BOX");
    auto second = std::make_unique<skin::TsSkinManager>();
    AddTestSkin(*second, "Test");
    second->SetSkinName("Test");
    box->data->SetSkinManager(second.get());
    loose->data->SetSkinManager(second.get());
    EXPECT_EQ(box->data->SkinManager(), second.get());
    EXPECT_TRUE(box->data->Skinned(true));
    EXPECT_GE(loose->data->SectionIndex(), 0);

    second.reset();
    EXPECT_EQ(box->data->ExplicitManager(), nullptr);
    EXPECT_EQ(loose->data->ExplicitManager(), nullptr); // on no form: still told
    EXPECT_EQ(box->data->SkinManager(), manager.get());
    EXPECT_FALSE(box->data->Skinned());
    toolkit::TComponent::Free(loose);
}

// A form skinning provider as far as the manager needs one, writing what happens to the form
// into one log with the form's own messages.
class TLoggingForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(toolkit::TMessage& m) override {
        if (m.Msg == platform::WM_SETREDRAW)
            events.push_back(m.WParam ? "redraw on" : "redraw off");
        if (m.Msg == toolkit::kLibraryCommandMessage &&
            skin::CommandOf(m.WParam) == skin::kCmdRefresh)
            events.push_back("refresh");
        TForm::WndProc(m);
    }
    std::vector<std::string> events;
};

class TFakeProvider : public skin::TacFormSkinning {
public:
    TFakeProvider(TLoggingForm& form, skin::TsSkinManager* manager)
        : m_form(form), m_manager(manager) {
        skin::RegisterFormProvider(this);
    }
    ~TFakeProvider() override { skin::UnregisterFormProvider(this); }
    toolkit::TCustomForm& Form() override { return m_form; }
    skin::TsSkinManager* Manager() override { return m_manager; }
    void AnimateSkinChange(std::int32_t ms) override {
        m_form.events.push_back("animate " + std::to_string(ms));
    }
    void RebuildFrame() override { m_form.events.push_back("frame"); }

private:
    TLoggingForm& m_form;
    skin::TsSkinManager* m_manager;
};

TEST_F(SkinState, ProviderFormsStopRedrawingUntilEveryControlHasTheNewSkin) {
    auto* form = MakeForm<TLoggingForm>();
    auto* hidden = MakeForm<TLoggingForm>();
    form->Show();
    TFakeProvider provider(*form, manager.get());
    TFakeProvider other(*hidden, manager.get()); // not visible: left alone
    ApplySkin();
    EXPECT_EQ(form->events, (std::vector<std::string>{"redraw off", "redraw off", "refresh",
                                                      "animate 0", "redraw on", "frame"}));
    form->events.clear();
    manager->AnimEffects().SkinChanging.Active = false;
    manager->SetSaturation(20);
    EXPECT_EQ(form->events,
              (std::vector<std::string>{"redraw off", "refresh", "redraw on", "frame"}));
    EXPECT_EQ(hidden->events, (std::vector<std::string>{"refresh", "refresh"}));

    // Another manager's refresh leaves the form's redrawing alone.
    form->events.clear();
    skin::TsSkinManager second;
    AddTestSkin(second, "Test");
    second.SetSkinName("Test");
    for (const std::string& e : form->events)
        EXPECT_NE(e, "redraw off");
}

TEST_F(SkinState, TheRegisteredRefreshWindowHearsEveryRefreshOnceMore) {
    auto* extra = MakeForm<TLoggingForm>();
    skin::SetRefreshWindow(extra->Handle());
    ApplySkin();
    // Once as a form, once more as the registered window.
    EXPECT_EQ(extra->events, (std::vector<std::string>{"refresh", "refresh"}));
    manager->SetSaturation(10);
    EXPECT_EQ(extra->events.size(), 4u);
    // A window that has gone is not sent to.
    toolkit::TComponent::Free(extra);
    manager->SetSaturation(20);
    skin::SetRefreshWindow({});
}

// A control that changes the skin's colours while it hears of a skin change: the change around
// it is still under way afterwards.
class TRecolouringBox : public TSkinBox {
public:
    using TSkinBox::TSkinBox;
    void WndProc(toolkit::TMessage& m) override {
        TSkinBox::WndProc(m);
        if (m.Msg == toolkit::kLibraryCommandMessage &&
            skin::CommandOf(m.WParam) == skin::kCmdRefresh && manager && !recoloured) {
            recoloured = true;
            manager->SetHueOffset(40);
            changingAfterwards = skin::TsSkinManager::SkinChanging();
        }
    }
    skin::TsSkinManager* manager = nullptr;
    bool recoloured = false;
    bool changingAfterwards = false;
};

TEST_F(SkinState, ASkinChangeInsideAnotherLeavesTheOuterOneUnderWay) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* box = Make<TRecolouringBox>(form, {0, 0, 20, 20}, "BOX");
    box->manager = manager.get();
    manager->SetSkinName("Test");
    EXPECT_TRUE(box->recoloured);
    EXPECT_TRUE(box->changingAfterwards);
    EXPECT_FALSE(skin::TsSkinManager::SkinChanging());
}

TEST_F(SkinState, TheDefaultManagerTakesThemeAndMenuMessagesAtTheMainWindow) {
    struct Menus : skin::TacSkinnedMenus {
        void InitMenuItems(bool skinned) override { inits.push_back(skinned); }
        void ResetBorderWidth() override { ++resets; }
        void WndProc(toolkit::TMessage& m) override { messages.push_back(m.Msg); }
        std::vector<bool> inits;
        int resets = 0;
        std::vector<platform::UINT> messages;
    } menus;
    auto* form = MakeForm<TLoggingForm>();
    ASSERT_EQ(app->MainForm(), form);
    // A hook made before the manager's runs after it: it sees what the manager lets through.
    std::vector<platform::UINT> passed;
    const int spy = app->HookMainWindow([&](toolkit::TMessage& m) {
        if (m.Msg == 794 || m.Msg >= 48307)
            passed.push_back(m.Msg);
        return false;
    });
    manager.reset();
    manager = std::make_unique<skin::TsSkinManager>();
    AddTestSkin(*manager, "Test");
    manager->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
    manager->SetSkinnedMenus(&menus);
    for (platform::UINT msg : {794u, 48307u, 48308u, 48309u})
        form->Perform(msg, 0, 0);
    EXPECT_EQ(menus.messages, (std::vector<platform::UINT>{48307, 48308}));
    EXPECT_EQ(passed, std::vector<platform::UINT>{48309});

    ApplySkin();
    EXPECT_EQ(menus.resets, 1);
    manager->SetSkinnedPopups(true);
    EXPECT_EQ(menus.inits, std::vector<bool>{true});
    manager->SetSkinnedMenus(nullptr);

    // Once the manager is gone the main window hears everything again.
    manager.reset();
    form->Perform(794, 0, 0);
    EXPECT_EQ(passed, (std::vector<platform::UINT>{48309, 794}));
    app->UnhookMainWindow(spy);
}

TEST_F(SkinState, AHotControlFreedWhileAnotherManagerIsTheDefaultIsForgotten) {
    ApplySkin();
    TForm* form = MakeForm();
    auto* box = Make<TSkinBox>(form, {0, 0, 30, 30}, "BOX");
    box->Perform(toolkit::CM_MOUSEENTER, 0, 0);
    ASSERT_EQ(manager->HotControl(), box);
    skin::TsSkinManager second;
    second.SetIsDefault(true);
    toolkit::TComponent::Free(box);
    EXPECT_EQ(manager->HotControl(), nullptr);
    manager->SetHotControl(nullptr); // would tell the freed control otherwise
}

} // namespace
