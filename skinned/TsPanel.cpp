#include "skinned/TsPanel.h"

namespace skinned {

TsPanel::TsPanel(toolkit::TComponent* owner) : toolkit::TPanel(owner) {}

} // namespace skinned
