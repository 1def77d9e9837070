#pragma once
// Start and pause beyond their pictures, as data: the keys (Enter and Esc,
// which the dialog manager turns into IDOK and IDCANCEL), their items in the
// window's system menu, and what a screen reader calls the pictures. Pure,
// with no Windows header, so that what each message means is checked natively.

#include <cstdint>

#include "window/layout.h"

namespace pinvale::window {

// Windows' numbers for what these messages carry (static_asserts in
// system_menu.cpp hold them to windows.h).
inline constexpr int kDialogOk = 1;              // IDOK: Enter
inline constexpr int kDialogCancel = 2;          // IDCANCEL: Esc
inline constexpr int kPictureClicked = 0;        // STN_CLICKED
inline constexpr int kPictureDoubleClicked = 1;  // STN_DBLCLK
inline constexpr std::uintptr_t kSystemCommandMask = 0xFFF0;

struct SamplingCommand {
  ControlId picture;  // a click on it does the same
  int dialogCommand;  // what the dialog manager sends for the key
  // A multiple of 16 below 0xF000: the system keeps the low four bits of a
  // system menu command for itself.
  unsigned menuItem;
  const wchar_t* menuText;  // its letter is none of the system's own items' (R, M, S, N, X, C)
  const wchar_t* name;      // the picture's name for a screen reader
  const wchar_t* key;       // its keyboard shortcut, as a screen reader reads it out
};

inline constexpr SamplingCommand kSamplingCommands[] = {{.picture = kImage1,
                                                         .dialogCommand = kDialogOk,
                                                         .menuItem = 0x0010,
                                                         .menuText = L"开始采集(&B)\tEnter",
                                                         .name = L"开始采集XY坐标",
                                                         .key = L"Enter"},
                                                        {.picture = kImage2,
                                                         .dialogCommand = kDialogCancel,
                                                         .menuItem = 0x0020,
                                                         .menuText = L"暂停采集(&P)\tEsc",
                                                         .name = L"暂停采集XY坐标",
                                                         .key = L"Esc"}};
inline constexpr const SamplingCommand& kStartCommand = kSamplingCommands[0];
inline constexpr const SamplingCommand& kPauseCommand = kSamplingCommands[1];

// The command a WM_COMMAND asks for, or none. Every click on a picture
// counts, the second of a double click too. Enter and Esc, in either box,
// come from IsDialogMessageW as IDOK and IDCANCEL; it takes the key, so no
// character reaches the box and nothing beeps. While an input method
// composes, the keys come as VK_PROCESSKEY and stay the input method's.
constexpr const SamplingCommand* CommandFor(int controlId, int notification) noexcept {
  const bool clicked = notification == kPictureClicked || notification == kPictureDoubleClicked;
  for (const SamplingCommand& command : kSamplingCommands) {
    if ((controlId == command.picture && clicked) ||
        (controlId == command.dialogCommand && notification == 0)) {
      return &command;
    }
  }
  return nullptr;
}

// The command a WM_SYSCOMMAND asks for, or none: then it is the system's.
constexpr const SamplingCommand* CommandForMenuItem(std::uintptr_t systemCommand) noexcept {
  for (const SamplingCommand& command : kSamplingCommands) {
    if ((systemCommand & kSystemCommandMask) == command.menuItem) return &command;
  }
  return nullptr;
}

// The command a picture stands for; every picture stands for one.
constexpr const SamplingCommand& CommandOfPicture(ControlId picture) noexcept {
  return picture == kImage1 ? kStartCommand : kPauseCommand;
}

}  // namespace pinvale::window
