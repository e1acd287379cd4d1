#include "skinned/TsMemo.h"

namespace skinned {

TsMemo::TsMemo(toolkit::TComponent* owner) : toolkit::TMemo(owner) {}

} // namespace skinned
