#include "app/Startup.h"

#include "app/Glyphs.h"
#include "app/Main.h"
#include "app/Unit3.h"

namespace app {

TProgramForms CreateProgramForms(toolkit::TApplication& application) {
    platform::SetApplicationIcon(ProgramIcon());
    TProgramForms forms;
    forms.main = application.CreateForm<TForm1>();
    forms.saveOptions = application.CreateForm<TForm3>();
    forms.main->SetSaveOptions(forms.saveOptions);
    return forms;
}

} // namespace app
