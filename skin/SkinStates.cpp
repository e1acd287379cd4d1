#include "skin/SkinStates.h"

#include <unordered_map>
#include <unordered_set>

namespace skin {
namespace {

std::unordered_map<const toolkit::TControl*, TsCommonData*>& Registry() {
    static std::unordered_map<const toolkit::TControl*, TsCommonData*> registry;
    return registry;
}
std::unordered_set<const toolkit::TControl*>& Passing() {
    static std::unordered_set<const toolkit::TControl*> passing;
    return passing;
}

} // namespace

TsCommonData* SkinDataOf(const toolkit::TControl* control) {
    const auto it = Registry().find(control);
    return it == Registry().end() ? nullptr : it->second;
}

void EnterSkinData(const toolkit::TControl* control, TsCommonData* state) {
    Registry()[control] = state;
}

void LeaveSkinData(const toolkit::TControl* control, const TsCommonData* state) {
    const auto it = Registry().find(control);
    if (it != Registry().end() && it->second == state) {
        Registry().erase(it);
        Passing().erase(control);
    }
}

bool SkinDataPassesCommands(const toolkit::TControl* control) {
    return Passing().contains(control);
}

void SetSkinDataPassesCommands(const toolkit::TControl* control, bool on) {
    if (on)
        Passing().insert(control);
    else
        Passing().erase(control);
}

} // namespace skin
