// Shows, in the internal skin (or in "Nightfall" from the skins folder given as the second
// argument), a combo box with 40 items, a spin edit and a memo of 200 lines. Closes itself
// after the number of milliseconds given as the first argument (0 or none: stays until closed).

#include <cstdlib>
#include <string>

#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsMemo.h"
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
    Place<skinned::TsSpinEdit>(form, "sSpinEdit1", 190, 10, 60, 21);
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
