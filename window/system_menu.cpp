#include "window/system_menu.h"

namespace pinvale::window {

static_assert(kDialogOk == IDOK && kDialogCancel == IDCANCEL);
static_assert(kPictureClicked == STN_CLICKED && kPictureDoubleClicked == STN_DBLCLK);

void AddSamplingCommandsToSystemMenu(HWND window) noexcept {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (const SamplingCommand& command : kSamplingCommands) {
    AppendMenuW(menu, MF_STRING, command.menuItem, command.menuText);
  }
  ShowSamplingInSystemMenu(window, kStartCommand);
}

void ShowSamplingInSystemMenu(HWND window, const SamplingCommand& current) noexcept {
  CheckMenuRadioItem(GetSystemMenu(window, FALSE), kStartCommand.menuItem, kPauseCommand.menuItem,
                     current.menuItem, MF_BYCOMMAND);
}

}  // namespace pinvale::window
