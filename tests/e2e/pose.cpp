// Starts Pinvale.exe and brings it into a state worth a screenshot, says
// "ready" on standard output, and closes it once the given file exists.
// Usage: pose.exe POSE PATH-TO-Pinvale.exe DONE-FILE
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"
#include "window/layout.h"

namespace pinvale::e2e {
namespace {

using namespace pinvale::window;  // the control ids

using std::chrono::milliseconds;

bool Arrange(const std::wstring& pose, PinvaleProcess& pinvale) {
  BringToFront(pinvale.Window());
  if (pose == L"start") {
    SetCursorPos(0, 0);
    return true;
  }
  // Sampling, with the pointer above the window.
  SetCursorPos(400, 300);
  WaitUntil([&] { return TextOf(pinvale.Control(kText1)) == L"600 & 450"; });
  if (pose == L"live") return true;
  if (pose == L"bad-scale") {
    // The scale box emptied and "abc" typed: the last readout stays, the box is tinted.
    SendMessageW(pinvale.Control(kText2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    SetCursorPos(420, 310);
    Sleep(milliseconds(300));
    return true;
  }
  return false;
}

}  // namespace
}  // namespace pinvale::e2e

int wmain(int argc, wchar_t** argv) {
  using namespace pinvale::e2e;
  if (argc != 4) {
    std::fprintf(stderr, "usage: %ls POSE PATH-TO-Pinvale.exe DONE-FILE\n", argv[0]);
    return 2;
  }
  SetExecutablePath(argv[2]);
  PinvaleProcess pinvale;
  if (!Arrange(argv[1], pinvale)) {
    std::fprintf(stderr, "unknown pose %ls\n", argv[1]);
    return 2;
  }
  Sleep(std::chrono::milliseconds(500));  // let the window repaint
  std::printf("ready\n");
  std::fflush(stdout);
  const std::wstring done = argv[3];
  WaitUntil([&done] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
            std::chrono::milliseconds(60000));
  return 0;
}
