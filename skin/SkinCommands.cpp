#include "skin/SkinCommands.h"

#include <algorithm>
#include <vector>

#include "skin/SkinStates.h"
#include "toolkit/TControl.h"
#include "toolkit/TWinControl.h"

namespace skin {

platform::LRESULT SendCommand(toolkit::TControl& control, std::uint16_t command,
                              std::uint16_t argument, platform::LPARAM l) {
    return control.Perform(toolkit::kLibraryCommandMessage, MakeCommand(command, argument), l);
}

void BroadcastToChildren(toolkit::TWinControl& container, platform::WPARAM w, platform::LPARAM l) {
    const std::vector<toolkit::TControl*> children = container.ControlList();
    for (toolkit::TControl* child : children) {
        const auto& now = container.ControlList();
        if (std::find(now.begin(), now.end(), child) != now.end() && !child->IsDestroying())
            BroadcastToTree(*child, w, l);
    }
}

void BroadcastToTree(toolkit::TControl& control, platform::WPARAM w, platform::LPARAM l) {
    control.Perform(toolkit::kLibraryCommandMessage, w, l);
    auto* windowed = dynamic_cast<toolkit::TWinControl*>(&control);
    if (!windowed || windowed->IsDestroying())
        return;
    if (SkinDataPassesCommands(windowed))
        return;
    BroadcastToChildren(*windowed, w, l);
}

} // namespace skin
