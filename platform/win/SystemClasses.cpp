#include "platform/win/WindowState.h"

namespace platform::detail {

void RegisterMenuClass();

void RegisterSystemClasses() {
    RegisterMenuClass();
}

} // namespace platform::detail
