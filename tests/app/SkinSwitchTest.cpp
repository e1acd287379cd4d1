// Switching the running program between its two skins, as choosing one from the list of
// available skins does: both windows must show the new skin everywhere, with nothing of the old
// one left on screen, however often it happens.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "skin/InternalSkin.h"
#include "tests/app/AppTestSupport.h"

namespace {

using app::testing::ProgramTest;

constexpr const char* kDark = "Nightfall";

int Luma(platform::Color c) {
    return (299 * platform::GetRValue(c) + 587 * platform::GetGValue(c) +
            114 * platform::GetBValue(c)) /
           1000;
}

class SkinSwitch : public ProgramTest {
protected:
    std::vector<std::uint8_t> Surface(toolkit::TCustomForm& f) {
        const platform::DibSection* s = platform::GetWindowSurface(f.HandleIfAllocated());
        if (!s)
            return {};
        const auto* bits = s->Bits();
        return {bits, bits + static_cast<std::size_t>(s->WidthBytes()) * s->Height()};
    }
    // Whatever the switch left on screen must be what painting everything afresh gives.
    void ExpectNothingStale(toolkit::TCustomForm& f) {
        const std::vector<std::uint8_t> after = Surface(f);
        platform::RedrawWindow(f.HandleIfAllocated(), nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_ERASE |
                                   platform::RDW_ALLCHILDREN | platform::RDW_UPDATENOW |
                                   platform::RDW_FRAME);
        Pump();
        EXPECT_TRUE(after == Surface(f)) << f.Name() << " kept pixels of the previous skin";
    }
    struct Spot {
        toolkit::TControl* control;
        platform::Point at;
    };
    std::vector<platform::Color> Colors(const std::vector<Spot>& spots) {
        std::vector<platform::Color> colors;
        for (const Spot& s : spots)
            colors.push_back(PixelAt(*s.control, s.at));
        return colors;
    }
};

TEST_F(SkinSwitch, TenRoundTripsRepaintBothWindowsWithNothingLeftOfTheOtherSkin) {
    skin::TsSkinManager& m = *form->sSkinManager1;
    saveOptions->Show();
    Pump();
    // The panel beside the big buttons, a button face, the empty text pane, the preset list.
    const std::vector<Spot> spots = {{form->sPanel4, {4, 50}},
                                     {form->sBitBtn2, {20, 4}},
                                     {form->sMemo1, {30, 30}},
                                     {form->sComboBox1, {6, 6}}};
    const std::vector<platform::Color> light = Colors(spots);
    for (const platform::Color c : light)
        EXPECT_GT(Luma(c), 150) << std::hex << c;
    std::vector<platform::Color> dark;

    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        m.SetSkinName(kDark);
        Pump();
        ASSERT_EQ(m.SkinName(), kDark);
        const std::vector<platform::Color> now = Colors(spots);
        for (const platform::Color c : now)
            EXPECT_LT(Luma(c), 90) << std::hex << c;
        if (round == 0)
            dark = now;
        EXPECT_EQ(now, dark); // every time the same
        if (round == 0 || round == 9) {
            ExpectNothingStale(*form);
            ExpectNothingStale(*saveOptions);
        }

        m.SetSkinName(skin::kInternalSkinName);
        Pump();
        EXPECT_EQ(Colors(spots), light);
        if (round == 0 || round == 9) {
            ExpectNothingStale(*form);
            ExpectNothingStale(*saveOptions);
        }
    }
    EXPECT_TRUE(boxes.empty());
}

} // namespace

namespace {

// A skin of nothing but its version leaves the buttons square and plain; back in a skin that
// rounds them, the corners they no longer cover show their panel again.
TEST_F(SkinSwitch, BackFromASkinOfNothingTheWindowIsAsBefore) {
    skin::TsSkinManager& m = *form->sSkinManager1;
    const std::vector<std::uint8_t> before = Surface(*form);
    std::filesystem::create_directories(folder.Path() / "Bare");
    std::ofstream(folder.Path() / "Bare" / "Options.dat") << "[GLOBALINFO]\r\nVERSION=5.2\r\n";
    m.SetSkinDirectory(folder.Path().string());
    m.SetSkinName("Bare");
    Pump();
    ASSERT_EQ(m.SkinName(), "Bare");
    m.SetSkinName(skin::kInternalSkinName);
    Pump();
    EXPECT_TRUE(before == Surface(*form)) << "a button's corner keeps the plain look";
}

} // namespace
