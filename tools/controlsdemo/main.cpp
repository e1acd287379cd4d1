// One form with every standard control in its plain look: panels, labels, edits, a memo, the
// three combo box styles, a list box, a string grid, a spin edit, push, bitmap and speed
// buttons, a popup menu with images and the two file dialogs.
//
// Arguments: a number of milliseconds after which it closes itself (default: stays until
// closed); "--menu" pops the generator menu up shortly after start; "--open" and "--save" show
// the file dialogs instead.

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Glyphs.h"
#include "platform/win/Menu.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TButton.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TDialogs.h"
#include "toolkit/TForm.h"
#include "toolkit/TImageList.h"
#include "toolkit/TLabel.h"
#include "toolkit/TListBox.h"
#include "toolkit/TMemo.h"
#include "toolkit/TMenu.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TSpinEdit.h"
#include "toolkit/TStringGrid.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

namespace {

template <class Control>
Control* Place(TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* control = new Control(parent->Owner() ? parent->Owner() : parent);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TLabel* Caption(TWinControl* parent, const char* name, int left, int top, const char* text) {
    auto* label = new TLabel(parent->Owner() ? parent->Owner() : parent);
    label->SetName(name);
    label->SetParent(parent);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(text);
    return label;
}

TImageList* GeneratorIcons(TComponent* owner) {
    auto* icons = new TImageList(owner);
    for (int i = 0; i < app::kImageList1Count; ++i) {
        const app::TGlyphImage icon = app::ImageList1Icon(i);
        icons->AddPixels(icon.width, icon.height, icon.pixels);
    }
    return icons;
}

TPopupMenu* GeneratorMenu(TComponent* owner, TImageList* icons, TSpeedButton* button) {
    auto* menu = new TPopupMenu(owner);
    menu->SetImages(icons);
    const char* captions[] = {"Ручной", "Экспонента", "Фибоначчи", "Равномерно"};
    for (int i = 0; i < 4; ++i) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(captions[i]);
        item->SetImageIndex(i);
        item->SetRadioItem(true);
        item->SetAutoCheck(true);
        item->SetChecked(i == 3);
        item->OnClick = [button, i](TObject*) { button->SetImageIndex(i); };
        menu->Items()->Add(item);
    }
    auto* line = new TMenuItem(owner);
    line->SetCaption("-");
    menu->Items()->Add(line);
    auto* off = new TMenuItem(owner);
    off->SetCaption("Недоступно");
    off->SetEnabled(false);
    menu->Items()->Add(off);
    return menu;
}

void FillGrid(TStringGrid* grid) {
    grid->SetColCount(2);
    grid->SetRowCount(8);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(78);
    grid->SetColor(clCream);
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                      goEditing, goTabs});
    const char* symbols[] = {"8", "6", "5", "1", ":", ".", " "};
    const char* bounds[] = {"36", "72", "109", "145", "182", "218", "255"};
    grid->SetCells(0, 0, "Символ");
    grid->SetCells(1, 0, "Граница");
    for (int r = 1; r <= 7; ++r) {
        grid->SetCells(0, r, symbols[r - 1]);
        grid->SetCells(1, r, bounds[r - 1]);
    }
}

void FillMemo(TMemo* memo) {
    memo->SetScrollBars(ssBoth);
    memo->Font().SetName("Courier New");
    memo->Font().SetHeight(-13);
    memo->Font().SetStyle({TFontStyle::fsBold});
    const std::string ramp = " .:-=+*#%@";
    for (int i = 0; i < 200; ++i) {
        std::string line;
        for (int j = 0; j < 120; ++j)
            line += ramp[static_cast<std::size_t>((i * 7 + j * 3 + (i * j) / 17) % 10)];
        memo->Lines().Add(line);
    }
}

} // namespace

int main(int argc, char** argv) {
    int quitAfter = 0;
    std::string show;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            show = argv[i] + 2;
        else
            quitAfter = std::atoi(argv[i]);
    }
    TApplication application;
    application.Initialize();
    application.SetShowHint(true);
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("Standard controls");
    form->SetBounds(0, 0, 860, 560);
    form->SetPosition(poScreenCenter);

    auto* left = Place<TPanel>(form, "LeftPanel", 0, 0, 300, 0);
    left->SetAlign(alLeft);
    left->SetBevelOuter(bvRaised);
    left->SetCaption("");
    auto* right = Place<TPanel>(form, "RightPanel", 0, 0, 0, 0);
    right->SetAlign(alClient);
    right->SetBevelOuter(bvLowered);
    right->SetBevelWidth(2);
    right->SetCaption("");

    // Left: the table side, as the program arranges it.
    TImageList* icons = GeneratorIcons(form);
    auto* generator = Place<TSpeedButton>(left, "Generator", 8, 8, 39, 22);
    generator->SetButtonStyle(tbsDropDown);
    generator->SetWidth(39);
    generator->SetImages(icons);
    generator->SetImageIndex(3);
    generator->SetHint("Генератор границ");
    generator->SetShowHint(true);
    TPopupMenu* menu = GeneratorMenu(form, icons, generator);
    generator->OnDropDownClick = [generator, menu](TObject*) {
        const platform::Point corner = generator->ClientToScreen({0, generator->Height()});
        menu->SetPopupComponent(generator);
        menu->Popup(corner.x, corner.y);
    };
    auto* presets = Place<TComboBox>(left, "Presets", 56, 8, 150, 21);
    presets->SetStyle(csDropDownList);
    presets->Items().Assign({"Цифры 8651", "Цифры 01", "Цифры+Знаки", "Знаки"});
    presets->SetItemIndex(2);
    Caption(left, "BoundsLabel", 8, 40, "Число границ:");
    auto* bounds = Place<TSpinEdit>(left, "Bounds", 150, 36, 56, 21);
    bounds->SetValue(7);
    auto* grid = Place<TStringGrid>(left, "Table", 8, 64, 200, 120);
    FillGrid(grid);
    Caption(left, "RatioLabel", 8, 196, "Высота : ширина");
    auto* ratio = Place<TComboBox>(left, "Ratio", 150, 192, 56, 21);
    ratio->Items().Assign({"1:1", "2:3", "1:2"});
    ratio->SetItemIndex(1);
    auto* simple = Place<TComboBox>(left, "Simple", 8, 222, 120, 90);
    simple->SetStyle(csSimple);
    simple->Items().Assign({"alpha", "beta", "gamma", "delta", "epsilon", "zeta"});
    auto* list = Place<TListBox>(left, "List", 140, 222, 150, 90);
    for (int i = 1; i <= 12; ++i)
        list->Items().Add("Строка " + std::to_string(i));
    list->SetItemIndex(2);

    auto* dialogs = new TOpenPictureDialog(form);
    auto* saveDialog = new TSaveDialog(form);
    const app::TGlyphImage openGlyph = app::Glyph(app::GlyphId::OpenPicture);
    auto* openButton = Place<TBitBtn>(left, "OpenButton", 8, 324, 282, 31);
    openButton->SetCaption("&Открыть картинку…");
    openButton->SetGlyphPixels(openGlyph.width, openGlyph.height, openGlyph.pixels);
    openButton->OnClick = [dialogs](TObject*) { dialogs->Execute(); };
    auto* saveButton = Place<TButton>(left, "SaveButton", 8, 362, 136, 25);
    saveButton->SetCaption("&Сохранить как…");
    saveButton->OnClick = [saveDialog](TObject*) { saveDialog->Execute(); };
    auto* ok = Place<TBitBtn>(left, "OkButton", 8, 396, 90, 27);
    ok->SetKind(bkOK);
    auto* cancel = Place<TBitBtn>(left, "CancelButton", 104, 396, 90, 27);
    cancel->SetKind(bkCancel);
    auto* flat = Place<TSpeedButton>(left, "Flat", 200, 396, 90, 27);
    flat->SetCaption("Flat");
    flat->SetFlat(true);

    // Right: an edit line and the text pane.
    Caption(right, "NameLabel", 10, 12, "&Имя файла:");
    auto* edit = Place<TEdit>(right, "FileName", 90, 8, 440, 21);
    edit->SetText("/home/user/Картинки/sample.jpg");
    auto* memo = Place<TMemo>(right, "Pane", 10, 38, 530, 470);
    FillMemo(memo);

    TTimer showTimer(form);
    showTimer.SetInterval(400);
    showTimer.SetEnabled(!show.empty());
    showTimer.SetOnTimer([&](TObject*) {
        showTimer.SetEnabled(false);
        if (show == "menu")
            generator->OnDropDownClick(generator);
        else if (show == "open")
            dialogs->Execute();
        else if (show == "save")
            saveDialog->Execute();
    });
    TTimer quit(form);
    quit.SetEnabled(quitAfter > 0);
    if (quitAfter > 0)
        quit.SetInterval(static_cast<unsigned>(quitAfter));
    quit.SetOnTimer([&](TObject*) {
        platform::EndMenu();
        form->Close();
    });
    application.Run();
    return 0;
}
