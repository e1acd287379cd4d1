// Shows the list controls as the program's main window uses them: the preset chooser (a
// drop-down list, dropped down shortly after start), a typing combo box, a simple combo box,
// a list box and the character table grid. Arguments: a number of milliseconds after which it
// closes itself (default: stays until closed); "--no-drop" leaves the list closed; "--edit"
// opens the grid's in-place editor on its first cell instead.

#include <cstdlib>
#include <cstring>
#include <string>

#include "toolkit/TApplication.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TForm.h"
#include "toolkit/TListBox.h"
#include "toolkit/TStringGrid.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

int main(int argc, char** argv) {
    int quitAfter = 0;
    bool drop = true;
    bool edit = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-drop") == 0)
            drop = false;
        else if (std::strcmp(argv[i], "--edit") == 0)
            edit = true;
        else
            quitAfter = std::atoi(argv[i]);
    }
    TApplication application;
    application.Initialize();
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("List controls");
    form->SetBounds(0, 0, 520, 360);
    form->SetPosition(poScreenCenter);

    auto* presets = new TComboBox(form);
    presets->SetName("Presets");
    presets->SetParent(form);
    presets->SetStyle(csDropDownList);
    presets->SetBounds(57, 3, 145, 21);
    presets->Items().Assign({"Цифры 8651", "Цифры 01", "Цифры+Знаки", "Знаки"});
    presets->SetItemIndex(2);

    auto* typing = new TComboBox(form);
    typing->SetName("Typing");
    typing->SetParent(form);
    typing->SetBounds(230, 3, 120, 21);
    typing->Items().Assign({"1:1", "2:3", "1:2"});
    typing->SetItemIndex(1);

    auto* simple = new TComboBox(form);
    simple->SetName("Simple");
    simple->SetParent(form);
    simple->SetStyle(csSimple);
    simple->SetBounds(370, 3, 120, 110);
    simple->Items().Assign({"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta"});

    auto* grid = new TStringGrid(form);
    grid->SetName("StringGrid1");
    grid->SetParent(form);
    grid->SetBounds(5, 131, 197, 100);
    grid->SetColCount(2);
    grid->SetRowCount(8);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(78);
    grid->SetColor(clCream);
    grid->SetFixedColor(clSilver);
    grid->SetFlat(true);
    grid->Font().SetName("Courier New");
    grid->Font().SetHeight(-13);
    grid->Font().SetStyle({TFontStyle::fsBold});
    grid->Font().SetCharset(RUSSIAN_CHARSET);
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                      goEditing, goTabs});
    const char* symbols[] = {"8", "6", "5", "1", ":", ".", " "};
    const char* bounds[] = {"36", "72", "109", "145", "182", "218", "255"};
    for (int r = 1; r <= 7; ++r) {
        grid->SetCells(0, r, symbols[r - 1]);
        grid->SetCells(1, r, bounds[r - 1]);
    }
    grid->SetSelection({0, 2, 1, 3});

    auto* list = new TListBox(form);
    list->SetName("ListBox1");
    list->SetParent(form);
    list->SetBounds(230, 131, 140, 100);
    for (int i = 1; i <= 12; ++i)
        list->Items().Add("Строка " + std::to_string(i));
    list->SetItemIndex(3);

    TTimer dropTimer(form);
    dropTimer.SetInterval(300);
    dropTimer.SetEnabled(drop || edit);
    dropTimer.SetOnTimer([&](TObject*) {
        dropTimer.SetEnabled(false);
        if (edit) {
            grid->SetFocus();
            grid->SetSelection({0, 1, 0, 1});
            grid->SetEditorMode(true);
            return;
        }
        presets->SetFocus();
        presets->SetDroppedDown(true);
    });
    TTimer quit(form);
    quit.SetEnabled(quitAfter > 0);
    if (quitAfter > 0)
        quit.SetInterval(static_cast<unsigned>(quitAfter));
    quit.SetOnTimer([&](TObject*) { form->Close(); });
    application.Run();
    return 0;
}
