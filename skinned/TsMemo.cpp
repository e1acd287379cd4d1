#include "skinned/TsMemo.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner) : TacSkinnedControl(owner, {skin::kTypeMemo}) {}

} // namespace skinned
