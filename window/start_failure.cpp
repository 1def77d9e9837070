#include "window/start_failure.h"

#include <iterator>

#include "pinvale_version.h"

namespace pinvale::window {

int ReportStartFailure(StartFailure failure) noexcept {
  // The window's teardown may have asked to quit, which would close the box
  // before anyone saw it.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  wchar_t reason[256];
  reason[0] = L'\0';  // where the system has no text
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                 nullptr, failure.error, 0, reason, static_cast<DWORD>(std::size(reason)), nullptr);
  const DWORD_PTR parts[] = {reinterpret_cast<DWORD_PTR>(failure.step), reinterpret_cast<DWORD_PTR>(reason),
                             failure.error};
  wchar_t message[512];
  message[0] = L'\0';
  FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                 L"Pinvale 无法打开窗口，即将退出。\n\n%1失败：%2（错误 %3!lu!）", 0, 0, message,
                 static_cast<DWORD>(std::size(message)),
                 reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(parts)));
  MessageBoxW(nullptr, message, PINVALE_CAPTION, MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace pinvale::window
