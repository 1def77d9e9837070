// Pinvale: shows the mouse pointer's position in real screen pixels.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "window/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand) {
  // A corrupted heap ends the program at once rather than being used on; a
  // program that asks for subsystem 4.0 does not get this by default.
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  return pinvale::window::Form1::Run(instance, showCommand);
}
