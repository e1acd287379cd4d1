#include "platform/win/WindowState.h"

namespace platform::detail {

void RegisterMenuClass();
void RegisterDialogClass();

void RegisterSystemClasses() {
    RegisterMenuClass();
    RegisterDialogClass();
}

} // namespace platform::detail
