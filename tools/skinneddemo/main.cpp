// Shows, in the internal skin (or in "Nightfall" from the skins folder given as the second
// argument), a combo box with 40 items, an editable one, a spin edit, the skinned buttons (a
// caption that wraps, a glyph without its caption, borders over the glyph) and a memo of 200
// lines. Closes itself after the number of milliseconds given as the first argument (0 or none:
// stays until closed).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "skinned/TsBitBtn.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsMemo.h"
#include "skinned/TsSpeedButton.h"
#include "skinned/TsSpinEdit.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

namespace {

template <class T> T* Place(TForm* form, const char* name, int left, int top, int w, int h) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetBounds(left, top, w, h);
    control->SetParent(form);
    return control;
}

// A 16 × 16 diamond in two blues on magenta (transparent).
std::vector<std::uint8_t> DiamondGlyph() {
    std::vector<std::uint8_t> bgr(16 * 16 * 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int d = std::abs(2 * x - 15) + std::abs(2 * y - 15);
            std::uint8_t* p = &bgr[static_cast<std::size_t>((y * 16 + x) * 3)];
            if (d > 15)
                p[0] = 0xFF, p[1] = 0x00, p[2] = 0xFF;
            else
                p[0] = 0xE0, p[1] = d > 9 ? 0x50 : 0x90, p[2] = 0x20;
        }
    return bgr;
}

void PlaceButtons(TForm* form) {
    const std::vector<std::uint8_t> glyph = DiamondGlyph();
    auto* plain = Place<skinned::TsBitBtn>(form, "sBitBtn1", 10, 50, 110, 27);
    plain->SetCaption("Convert");
    plain->SetGlyphPixels(16, 16, glyph);
    auto* under = Place<skinned::TsBitBtn>(form, "sBitBtn2", 130, 50, 110, 27);
    under->SetCaption("Under border");
    under->SetGlyphPixels(16, 16, glyph);
    under->SetMargin(0);
    under->SetDrawOverBorder(false);
    auto* wrapped = Place<skinned::TsSpeedButton>(form, "sSpeedButton1", 250, 50, 70, 60);
    wrapped->SetCaption("A caption that wraps");
    auto* alone = Place<skinned::TsSpeedButton>(form, "sSpeedButton2", 330, 50, 80, 27);
    alone->SetCaption("Hidden caption");
    alone->SetGlyphPixels(16, 16, glyph);
    alone->SetShowCaption(false);
}

} // namespace

int main(int argc, char** argv) {
    TApplication application;
    application.Initialize();
    skin::TsSkinManager manager;
    skin::AddInternalSkin(manager.InternalSkins());
    if (argc > 2) {
        manager.SetSkinDirectory(argv[2]);
        manager.SetSkinName("Nightfall");
    } else {
        manager.SetSkinName(skin::kInternalSkinName);
    }
    manager.SetActive(true);

    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("Skinned controls");
    form->SetBounds(0, 0, 480, 400);
    form->SetPosition(poScreenCenter);

    auto* combo = Place<skinned::TsComboBox>(form, "sComboBox1", 10, 10, 160, 21);
    combo->SetStyle(csDropDownList);
    for (int i = 0; i < 40; ++i)
        combo->Items().Add("Item " + std::to_string(i));
    combo->SetItemIndex(0);
    auto* editable = Place<skinned::TsComboBox>(form, "sComboBox2", 270, 10, 140, 21);
    editable->SetStyle(csDropDown);
    editable->Items().Add("Exponential");
    editable->SetText("Exponential");
    Place<skinned::TsSpinEdit>(form, "sSpinEdit1", 190, 10, 60, 21);
    PlaceButtons(form);
    auto* memo = Place<skinned::TsMemo>(form, "sMemo1", 10, 200, 450, 150);
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 200; ++i)
        memo->Lines().Add("line " + std::to_string(i));

    TTimer quit(form);
    const int ms = argc > 1 ? std::atoi(argv[1]) : 0;
    quit.SetEnabled(ms > 0);
    if (ms > 0)
        quit.SetInterval(static_cast<unsigned>(ms));
    quit.SetOnTimer([&](TObject*) { form->Close(); });
    form->Show();
    application.Run();
    return 0;
}
