#pragma once
// What a skinned control will know of its skin. For now only the name of the skin section it
// is painted from ("PANEL", "BUTTON", "EDIT", ...): the window definitions set it, and nothing
// reads it until the controls paint themselves from a skin. Upper case, compared exactly; an
// empty name means the control's default section.

#include <string>

namespace skinned {

struct TsSkinData {
    std::string SkinSection;
};

} // namespace skinned
