#pragma once
// The program's start: after the application object is initialised, the main window is made
// as the application's main form (its definition read, then FormCreate), then the save options
// window, hidden. The application owns and frees both.

#include <functional>

#include "toolkit/TApplication.h"

namespace app {

class TForm1;
class TForm3;

struct TProgramForms {
    TForm1* main = nullptr;
    TForm3* saveOptions = nullptr;
};

TProgramForms CreateProgramForms(toolkit::TApplication& application);

// Runs the program's body and gives its exit status. A failure that escapes it (a window that
// cannot be made, the loop stopping on a logic error) is said on standard error as
// "charvane: MESSAGE" and gives 1, rather than an abort without a word.
int ReportEscapingFailures(const std::function<int()>& body);

} // namespace app
