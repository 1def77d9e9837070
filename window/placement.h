#pragma once
// The window's place on the screen: its fixed frame, centred at start around
// the frame it really has, and kept within reach when the desktop changes.

#include <windows.h>

namespace pinvale::window {

// A fixed single frame: caption and close button, no sizing border, no
// minimize or maximize box.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kWindowExStyle = 0;

// The screen's dots per inch, as this program sees it.
[[nodiscard]] int ScreenDotsPerInch() noexcept;

// Where to create the window: centred on the primary screen, with the frame
// that the system predicts for its style.
[[nodiscard]] RECT PredictedStartPlace(int dotsPerInch) noexcept;

// Centres the created window again around the frame it really has, and
// shows it with the show command that started the program.
void FitAndShow(HWND window, int dotsPerInch, int showCommand) noexcept;

// After a display change: a window whose caption can no longer be grabbed
// cannot be dragged back, and is centred again on the work area of the
// monitor nearest to it. One whose caption can be grabbed stays where the
// user put it. False for a minimized window, which stays minimized: it is
// to be judged again once it is restored.
[[nodiscard]] bool KeepCaptionInReach(HWND window) noexcept;

}  // namespace pinvale::window
