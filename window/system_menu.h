#pragma once
// Start and pause in the window's system menu (Alt+Space), under the
// system's own items, as a radio pair checked for the state that holds now.

#include <windows.h>

#include "window/sampling_commands.h"

namespace pinvale::window {

// After the system's own items: a user who knows Alt+Space, C finds it
// where it always is. The program works without them.
void AddSamplingCommandsToSystemMenu(HWND window) noexcept;

void ShowSamplingInSystemMenu(HWND window, const SamplingCommand& current) noexcept;

}  // namespace pinvale::window
