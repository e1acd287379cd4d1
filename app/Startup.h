#pragma once
// The program's start: after the application object is initialised, the main window is made
// as the application's main form (its definition read, then FormCreate), then the save options
// window, hidden. The application owns and frees both.

#include "toolkit/TApplication.h"

namespace app {

class TForm1;
class TForm3;

struct TProgramForms {
    TForm1* main = nullptr;
    TForm3* saveOptions = nullptr;
};

TProgramForms CreateProgramForms(toolkit::TApplication& application);

} // namespace app
