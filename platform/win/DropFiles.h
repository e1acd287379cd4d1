#pragma once
// Files dropped on a window from the desktop. The host reports each dropped path; the window
// system posts WM_DROPFILES to the top-level window it landed on, its wParam a drop handle.
// The window's procedure takes the paths with DragQueryFiles, which releases the handle: a
// second call with it, or a handle that was never given out, answers no paths. Drops whose
// message was never handled (their window destroyed first) are forgotten after a while.

#include <string>
#include <vector>

#include "platform/win/WinDefs.h"

namespace platform {

constexpr UINT WM_DROPFILES = 0x0233;

// Queues WM_DROPFILES for window with these paths (absolute, as the host gave them).
bool PostDroppedFiles(HWND window, std::vector<std::string> paths);

// The paths of a WM_DROPFILES message's wParam, in the order they were dropped.
std::vector<std::string> DragQueryFiles(WPARAM drop);

} // namespace platform
