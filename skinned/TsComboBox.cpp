#include "skinned/TsComboBox.h"

namespace skinned {

TsComboBox::TsComboBox(toolkit::TComponent* owner) : toolkit::TComboBox(owner) {}

} // namespace skinned
