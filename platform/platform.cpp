#include "platform/platform.h"

namespace pinvale::platform {

CursorPoint PointerPosition() noexcept {
  POINT point{0, 0};
  GetCursorPos(&point);  // on failure the point stays (0, 0)
  return {point.x, point.y};
}

NumberFormat UserNumberFormat() noexcept {
  wchar_t separator[4] = {};  // Windows allows up to three characters
  NumberFormat format;
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 1) {
    format.decimalSeparator = static_cast<char16_t>(separator[0]);
  }
  return format;
}

bool ControlKeyDown() noexcept {
  // The high bit: down at this moment, not merely pressed since the last call.
  return (static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)) & 0x8000U) != 0;
}

void PlaceTopmost(HWND window) noexcept {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

// By the messages that GetWindowTextW and SetWindowTextW send a control of
// this process: the same answers, and no imports of their own.
TextView ReadText(HWND control, TextBuffer& buffer) noexcept {
  const auto length = static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
  if (length == 0 || !buffer.Reserve(length)) return {};
  const LRESULT copied =
      SendMessageW(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(buffer.Data()));
  return {reinterpret_cast<const char16_t*>(buffer.Data()),
          static_cast<std::size_t>(copied > 0 ? copied : 0)};
}

void WriteText(HWND control, const char16_t* text) noexcept {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AsWide(text)));
}

}  // namespace pinvale::platform
