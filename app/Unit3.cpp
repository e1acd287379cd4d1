#include "app/Unit3.h"

#include "app/FirstFocus.h"
#include "app/Texts.h"

namespace app {
namespace {

using namespace toolkit;

template <class T> T* Make(TForm3* form, const char* name, int left, int top) {
    T* control = new T(form);
    control->SetName(name);
    control->SetLeft(left);
    control->SetTop(top);
    control->SetParent(form);
    return control;
}

TLabel* MakeLabel(TForm3* form, const char* name, int left, int top, const char* caption) {
    TLabel* label = Make<TLabel>(form, name, left, top);
    label->Font().SetHeight(-13);
    label->SetCaption(caption);
    return label;
}

TSpinEdit* MakeSpinEdit(TForm3* form, const char* name, int top, std::int32_t value) {
    TSpinEdit* edit = Make<TSpinEdit>(form, name, 184, top);
    edit->SetBounds(184, top, 76, 22);
    edit->SetValue(value);
    return edit;
}

} // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poDesigned);
    SetLeft(469);
    SetTop(322);
    SetClientWidth(270);
    SetClientHeight(141);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    SetCaption(Tr("Сохранение"));

    Label1 = MakeLabel(this, "Label1", 13, 8, Tr("Число символов в строке"));
    SpinEdit1 = MakeSpinEdit(this, "SpinEdit1", 5, 55);
    Label4 = MakeLabel(this, "Label4", 14, 33, Tr("Число строк на странице"));
    SpinEdit3 = MakeSpinEdit(this, "SpinEdit3", 30, 42);
    Label2 = MakeLabel(this, "Label2", 16, 62, Tr("Имя файла"));
    Edit1 = Make<TEdit>(this, "Edit1", 8, 82);
    Edit1->SetBounds(8, 82, 232, 21);
    SpeedButton1 = Make<TSpeedButton>(this, "SpeedButton1", 240, 82);
    SpeedButton1->SetBounds(240, 82, 23, 22);
    SpeedButton1->Font().SetHeight(-16);
    SpeedButton1->Font().SetStyle({TFontStyle::fsBold});
    SpeedButton1->SetCaption("...");
    BitBtn2 = Make<TBitBtn>(this, "BitBtn2", 8, 109);
    BitBtn2->SetBounds(8, 109, 75, 25);
    BitBtn2->SetKind(bkCancel);
    BitBtn1 = Make<TBitBtn>(this, "BitBtn1", 187, 109);
    BitBtn1->SetBounds(187, 109, 75, 25);
    BitBtn1->SetKind(bkOK);
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetFilter(SaveDialogFilter());

    SpinEdit1->SetTabOrder(0);
    Edit1->SetTabOrder(1);
    BitBtn2->SetTabOrder(2);
    SpinEdit3->SetTabOrder(3);
    BitBtn1->SetTabOrder(4);

    SpeedButton1->OnClick = [this](TObject* sender) { SpeedButton1Click(sender); };
    BitBtn1->OnClick = [this](TObject* sender) { SpeedButton1Click(sender); };
}

void TForm3::WndProc(TMessage& message) {
    TForm::WndProc(message);
    FocusFirstControlOnActivate(*this, message);
}

void TForm3::SpeedButton1Click(TObject*) {
    if (SaveDialog1->Execute())
        Edit1->SetText(WithTypeExtension(SaveDialog1->FileName(), FileType()));
}

} // namespace app
