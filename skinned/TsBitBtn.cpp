#include "skinned/TsBitBtn.h"

namespace skinned {

TsBitBtn::TsBitBtn(toolkit::TComponent* owner) : toolkit::TBitBtn(owner) {}

} // namespace skinned
