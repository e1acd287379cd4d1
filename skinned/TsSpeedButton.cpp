#include "skinned/TsSpeedButton.h"

namespace skinned {

TsSpeedButton::TsSpeedButton(toolkit::TComponent* owner) : toolkit::TSpeedButton(owner) {}

} // namespace skinned
