#pragma once
// Every live skin state by its owner control: lets a container reach its children's states, the
// skin manager ask whether a control has one, and a broadcast learn where to stop. The states
// enter and leave themselves; the table only looks them up and calls none of them.

namespace toolkit {
class TControl;
}

namespace skin {

class TsCommonData;

// The skin state of a control, when it has one (every skinned control registers its own).
TsCommonData* SkinDataOf(const toolkit::TControl* control);
void EnterSkinData(const toolkit::TControl* control, TsCommonData* state);
// Whether the control's state passes library commands on to its children itself, so that a
// broadcast stops there (false for a control without a state).
bool SkinDataPassesCommands(const toolkit::TControl* control);
void SetSkinDataPassesCommands(const toolkit::TControl* control, bool on);
// Only the state that entered leaves: a later state of the same control stays.
void LeaveSkinData(const toolkit::TControl* control, const TsCommonData* state);

} // namespace skin
