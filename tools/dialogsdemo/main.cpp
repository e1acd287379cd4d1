// Opens each of the toolkit's dialogs from a small window: the open dialog, the picture dialog
// with its preview, the save dialog and a question box; the line under the buttons tells what
// came back.
//
//   charvane-dialogsdemo [--open | --picture | --save] [FOLDER]
//
// With --open, --picture or --save that dialog opens right away (in FOLDER when given).

#include <cstring>
#include <memory>
#include <string>

#include "image/TDIB.h"
#include "image/jpeg/TJPEGImage.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TButton.h"
#include "toolkit/TDialogs.h"
#include "toolkit/TForm.h"
#include "toolkit/TLabel.h"
#include "toolkit/TPicture.h"
#include "toolkit/TTimer.h"

using namespace toolkit;

int main(int argc, char** argv) {
    std::string start;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            start = argv[i] + 2;
        else
            folder = argv[i];
    }
    image::DIBModuleStartup();
    image::JPEGModuleStartup();
    // The toolkit's own bitmap reads plain .bmp files; the demo lists them too.
    TPicture::RegisterFileFormat("bmp", "Bitmap", "TBitmap",
                                 [] { return std::unique_ptr<TGraphic>(new TBitmap); });

    TApplication application;
    application.Initialize();
    application.SetTitle("Dialogs");
    TForm* form = application.CreateForm<TForm>();
    form->SetCaption("Dialogs");
    form->SetClientSize(460, 90);
    form->SetPosition(poScreenCenter);

    auto* result = new TLabel(form);
    result->SetParent(form);
    result->SetAutoSize(false);
    result->SetBounds(10, 56, 440, 20);
    result->SetCaption("Choose a dialog.");

    auto* openDialog = new TOpenDialog(form);
    openDialog->SetFilter("Text files (*.txt)|*.txt|All files|*");
    openDialog->SetFilterIndex(2);
    auto* pictureDialog = new TOpenPictureDialog(form);
    auto* saveDialog = new TSaveDialog(form);
    saveDialog->SetFilter("Text files (*.txt)|*.txt");
    saveDialog->SetDefaultExt("txt");
    for (TOpenDialog* d :
         {static_cast<TOpenDialog*>(openDialog), static_cast<TOpenDialog*>(pictureDialog),
          static_cast<TOpenDialog*>(saveDialog)})
        d->SetInitialDir(folder);

    auto run = [result](TOpenDialog* dialog) {
        result->SetCaption(dialog->Execute() ? dialog->FileName() : "(cancelled)");
    };
    auto button = [form](const char* caption, int left, std::function<void()> action) {
        auto* b = new TButton(form);
        b->SetParent(form);
        b->SetCaption(caption);
        b->SetBounds(left, 12, 104, 27);
        b->OnClick = [action](TObject*) { action(); };
    };
    button("Open...", 10, [&] { run(openDialog); });
    button("Picture...", 122, [&] { run(pictureDialog); });
    button("Save As...", 234, [&] { run(saveDialog); });
    button("Question...", 346, [&] {
        const int answer =
            MessageDlg("Keep the changes?", MsgDlgType::Confirmation, {mbYes, mbNo, mbCancel});
        result->SetCaption(answer == mrYes ? "Yes" : answer == mrNo ? "No" : "Cancel");
    });

    TTimer opener(form);
    opener.SetInterval(200);
    opener.SetOnTimer([&](TObject*) {
        opener.SetEnabled(false);
        if (start == "open")
            run(openDialog);
        else if (start == "picture")
            run(pictureDialog);
        else if (start == "save")
            run(saveDialog);
    });
    opener.SetEnabled(!start.empty());
    application.Run();
    return 0;
}
