// Shows an edit with a selection and a memo holding a few hundred long lines, the memo focused
// with a selection across lines. Closes itself after the number of milliseconds given as the
// first argument (default: stays until closed).

#include <cstdlib>
#include <string>

#include "toolkit/TApplication.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TMemo.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

int main(int argc, char** argv) {
    TApplication application;
    application.Initialize();
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("Edit and memo");
    form->SetBounds(0, 0, 640, 480);
    form->SetPosition(poScreenCenter);

    auto* edit = new TEdit(form);
    edit->SetName("Edit1");
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetText("Привет, мир: one line of text that is longer than the box");
    edit->SetHideSelection(false);
    edit->SetSelStart(8);
    edit->SetSelLength(3);

    auto* password = new TEdit(form);
    password->SetName("Edit2");
    password->SetParent(form);
    password->SetBounds(220, 10, 120, 21);
    password->SetPasswordChar(U'*');
    password->SetText("secret");

    auto* memo = new TMemo(form);
    memo->SetName("Memo1");
    memo->SetParent(form);
    memo->SetBounds(10, 40, 610, 390);
    memo->SetScrollBars(ssBoth);
    memo->Font().SetName("Courier New");
    memo->Font().SetHeight(-13);
    memo->Font().SetStyle({TFontStyle::fsBold});
    const std::string ramp = " .:-=+*#%@";
    for (int i = 0; i < 300; ++i) {
        std::string line;
        for (int j = 0; j < 160; ++j)
            line += ramp[static_cast<std::size_t>((i * 7 + j * 3 + (i * j) / 17) % 10)];
        memo->Lines().Add(std::to_string(i) + "\t" + line);
    }
    memo->Lines().Put(2, "Строка по-русски\tи табуляция");

    TTimer quit(form);
    quit.SetEnabled(argc > 1);
    if (argc > 1)
        quit.SetInterval(static_cast<unsigned>(std::atoi(argv[1])));
    quit.SetOnTimer([&](TObject*) { form->Close(); });
    form->Show();
    memo->SetFocus();
    memo->SetSelStart(40);
    memo->SetSelLength(400);
    application.Run();
    return 0;
}
