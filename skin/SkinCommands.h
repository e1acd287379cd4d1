#pragma once
// The library command message (toolkit::kLibraryCommandMessage) that the skin manager, the skin
// states and the skinned controls talk by: WParam holds the command number in its high 16 bits
// and a small argument in the low 16 bits; LParam carries the skin manager or an argument.
// sCommonData.h says how a skin state answers each command.

#include <cstdint>

#include "platform/win/WinDefs.h"
#include "toolkit/ControlMessages.h"

namespace toolkit {
class TControl;
class TWinControl;
} // namespace toolkit

namespace skin {

class TsSkinManager;

// Library commands (the high 16 bits of WParam).
enum TacCommand : std::uint16_t {
    kCmdNewSkin = 1,
    kCmdSkinRemoved = 2,
    kCmdRefresh = 3,
    kCmdGiveBackground = 5,
    kCmdAreYouSkinned = 7,
    kCmdSetUpdating = 8,
    kCmdRepaintOnMove = 9,
    kCmdIsChanging = 10,
    kCmdIsHalfVisible = 11,
    kCmdTransparencyChanged = 12,
    kCmdSectionChanged = 13,
    kCmdRelatedObject = 15,
    kCmdBeforeRefresh = 16,
    kCmdInvalidateBackground = 17,
    kCmdDependsOnYou = 19,
    kCmdBackgroundChanged = 20,
    kCmdGiveColor = 21,
    kCmdSetHalfVisible = 22,
    kCmdHotEnter = 29,
    kCmdHotLeave = 30,
    kCmdBeginUpdate = 31,
    kCmdEndUpdate = 32,
};

inline constexpr platform::WPARAM MakeCommand(std::uint16_t command, std::uint16_t argument = 0) {
    return (platform::WPARAM{command} << 16) | argument;
}
inline constexpr std::uint16_t CommandOf(platform::WPARAM w) {
    return static_cast<std::uint16_t>((w >> 16) & 0xFFFF);
}
inline constexpr std::uint16_t CommandArgument(platform::WPARAM w) {
    return static_cast<std::uint16_t>(w & 0xFFFF);
}
inline platform::LPARAM ManagerParam(const TsSkinManager* manager) {
    return reinterpret_cast<platform::LPARAM>(manager);
}
// Sends a command to a control through Perform (graphic controls included).
platform::LRESULT SendCommand(toolkit::TControl& control, std::uint16_t command,
                              std::uint16_t argument = 0, platform::LPARAM l = 0);

// Sends a library command to the control and, depth first, to every control it holds, except
// below a container that passes commands on itself. A child that a handler removed on the way is
// not reached. BroadcastToChildren does the same for the container's children only.
void BroadcastToTree(toolkit::TControl& control, platform::WPARAM w, platform::LPARAM l);
void BroadcastToChildren(toolkit::TWinControl& container, platform::WPARAM w, platform::LPARAM l);

} // namespace skin
