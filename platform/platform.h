#pragma once
// The thin layer over Win32 that the window calls. It decides nothing.

#include <windows.h>

#include <string_view>

#include "platform/handles.h"
#include "readout/number_format.h"
#include "readout/readout.h"
#include "readout/text.h"

namespace pinvale::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows texts are UTF-16");

// The Win32 wide text and the core's text are the same UTF-16 units.
inline TextView AsTextView(std::wstring_view text) noexcept {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}
inline const wchar_t* AsWide(const char16_t* text) noexcept { return reinterpret_cast<const wchar_t*>(text); }

// The pointer in screen coordinates, in the units Windows gives a program
// that declares no DPI awareness; (0, 0) when Windows cannot tell.
[[nodiscard]] CursorPoint PointerPosition() noexcept;

// The decimal separator of the user's locale settings.
[[nodiscard]] NumberFormat UserNumberFormat() noexcept;

// Whether either Ctrl key is down now, whichever window has the keyboard focus.
[[nodiscard]] bool ControlKeyDown() noexcept;

// Lifts the window above all windows that are not topmost, without moving
// or resizing it. Whether Windows agrees is not looked at.
void PlaceTopmost(HWND window) noexcept;

// A control's whole text, in a buffer the caller keeps. Empty when the
// buffer cannot grow to hold it.
[[nodiscard]] TextView ReadText(HWND control, TextBuffer& buffer) noexcept;

// Replaces a control's text; the control shows it at once.
void WriteText(HWND control, const char16_t* text) noexcept;

}  // namespace pinvale::platform
