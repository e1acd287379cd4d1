#pragma once
// The text caret: one for the interface thread, owned by the window that created it, drawn by
// inverting the pixels of its rectangle (client coordinates of the owner) and blinking on a
// system timer the owner's procedure never sees. It starts hidden: ShowCaret and HideCaret
// nest, as on the platform. While its window paints, the caret is taken off the screen and put
// back after EndPaint, so painting never leaves half an inverted caret behind.

#include "platform/win/WinDefs.h"

namespace platform {

// width or height 0: the system's border thickness.
bool CreateCaret(HWND h, int width, int height);
bool DestroyCaret();
bool ShowCaret(HWND h); // null: the caret's owner
bool HideCaret(HWND h);
bool SetCaretPos(int x, int y);
bool GetCaretPos(Point& p);
UINT GetCaretBlinkTime();
bool SetCaretBlinkTime(UINT ms);

} // namespace platform
