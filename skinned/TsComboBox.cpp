#include "skinned/TsComboBox.h"

namespace skinned {

TsComboBox::TsComboBox(toolkit::TComponent* owner) : TacSkinnedControl(owner, {skin::kTypeEdit}) {}

} // namespace skinned
