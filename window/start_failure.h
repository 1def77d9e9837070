#pragma once
// What the user is told when the window cannot open.

#include <windows.h>

namespace pinvale::window {

struct StartFailure {
  const wchar_t* step;  // as the user reads it; none if nothing failed
  DWORD error;
};

// Says why the program ends before its window could open: the step that
// failed, the system's text for its error and the error's number. Returns
// the exit code.
int ReportStartFailure(StartFailure failure) noexcept;

}  // namespace pinvale::window
