#pragma once
// Start and pause beyond their pictures, as data: the keys (Enter and Esc,
// which the dialog manager turns into IDOK and IDCANCEL), their items in the
// window's system menu, and what a screen reader calls the pictures.

#include <windows.h>

#include "window/layout.h"

namespace pinvale::window {

struct SamplingCommand {
  ControlId picture;  // a click on it does the same
  int dialogCommand;  // what the dialog manager sends for the key
  // A multiple of 16 below 0xF000: the system keeps the low four bits of a
  // system menu command for itself.
  UINT menuItem;
  const wchar_t* menuText;  // its letter is none of the system's own items' (R, M, S, N, X, C)
  const wchar_t* name;      // the picture's name for a screen reader
  const wchar_t* key;       // its keyboard shortcut, as a screen reader reads it out
};

inline constexpr SamplingCommand kStartCommand{.picture = kImage1,
                                               .dialogCommand = IDOK,
                                               .menuItem = 0x0010,
                                               .menuText = L"开始采集(&B)\tEnter",
                                               .name = L"开始采集XY坐标",
                                               .key = L"Enter"};
inline constexpr SamplingCommand kPauseCommand{.picture = kImage2,
                                               .dialogCommand = IDCANCEL,
                                               .menuItem = 0x0020,
                                               .menuText = L"暂停采集(&P)\tEsc",
                                               .name = L"暂停采集XY坐标",
                                               .key = L"Esc"};
inline constexpr SamplingCommand kSamplingCommands[] = {kStartCommand, kPauseCommand};

}  // namespace pinvale::window
