#pragma once
// The interface's font: one face that draws every Chinese text of the
// window by itself, at the size the layout is drawn for.

#include <windows.h>

#include "platform/handles.h"

namespace pinvale::window {

// The user's message font where it is a Chinese face that draws every text
// of the layout; else the first of Windows' own Chinese faces that does;
// else the message font still, which font linking may help. Null only where
// no font can be made: the controls then keep the system's.
[[nodiscard]] platform::UniqueFont CreateInterfaceFont(int dotsPerInch) noexcept;

}  // namespace pinvale::window
