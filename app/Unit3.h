#pragma once
// The save options window: characters per line, lines per page and the file name of the paged
// export. Made once at start-up, hidden, and shown modally by the main window's save button,
// which reads SpinEdit1, SpinEdit3 and Edit1 after it has closed with OK; it keeps its values
// between saves.
//
// OK (click or Enter) first sets the modal result OK and then asks for the file name through
// the save dialog, a second modal level: a confirmed name replaces Edit1's text, a cancelled
// dialog leaves it, and either way the window then closes with OK. "..." runs the same dialog
// without closing. Cancel and Esc close with Cancel and change nothing.
//
// The save dialog offers the file types of app/SaveFileTypes.h; the type last confirmed there is
// FileType(), and its extension is added to a confirmed name that has none.

#include "app/SaveFileTypes.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TDialogs.h"
#include "toolkit/TForm.h"
#include "toolkit/TLabel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TSpinEdit.h"

namespace app {

class TForm3 : public toolkit::TForm {
public:
    explicit TForm3(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TForm3"; }
    void WndProc(toolkit::TMessage& message) override;

    void SpeedButton1Click(toolkit::TObject* sender);

    const TSaveFileType& FileType() const { return SaveFileTypeAt(SaveDialog1->FilterIndex()); }

    toolkit::TLabel* Label1 = nullptr;
    toolkit::TSpinEdit* SpinEdit1 = nullptr;
    toolkit::TLabel* Label4 = nullptr;
    toolkit::TSpinEdit* SpinEdit3 = nullptr;
    toolkit::TLabel* Label2 = nullptr;
    toolkit::TEdit* Edit1 = nullptr;
    toolkit::TSpeedButton* SpeedButton1 = nullptr;
    toolkit::TBitBtn* BitBtn2 = nullptr;
    toolkit::TBitBtn* BitBtn1 = nullptr;
    toolkit::TSaveDialog* SaveDialog1 = nullptr;
};

} // namespace app
