#include "skinned/TsLabelFX.h"

namespace skinned {

TsLabelFX::TsLabelFX(toolkit::TComponent* owner) : toolkit::TLabel(owner) {}

} // namespace skinned
