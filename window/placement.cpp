#include "window/placement.h"

#include "window/layout.h"

namespace pinvale::window {
namespace {

ScreenRect PrimaryScreen() noexcept {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The frame around the client area, as AdjustWindowRectEx predicts it.
SIZE PredictedFrame() noexcept {
  RECT rect{0, 0, 0, 0};
  AdjustWindowRectEx(&rect, kWindowStyle, FALSE, kWindowExStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The frame around the client area, as the window has it.
SIZE FrameOf(HWND window) noexcept {
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

// The window rectangle, with this frame, whose client area has the layout's
// size, centred on the screen.
RECT CentredWindowRect(int dotsPerInch, SIZE frame) noexcept {
  const int width = TwipsToPixels(kClientArea.width, dotsPerInch) + frame.cx;
  const int height = TwipsToPixels(kClientArea.height, dotsPerInch) + frame.cy;
  const ScreenRect placed = CentredOn(PrimaryScreen(), width, height);
  return {placed.left, placed.top, placed.right, placed.bottom};
}

// A maximized start would leave this fixed-size window no way back.
int StartupShowCommand(int requested) noexcept {
  return requested == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : requested;
}

}  // namespace

int ScreenDotsPerInch() noexcept {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi;
}

RECT PredictedStartPlace(int dotsPerInch) noexcept {
  return CentredWindowRect(dotsPerInch, PredictedFrame());
}

void FitAndShow(HWND window, int dotsPerInch, int showCommand) noexcept {
  // The prediction can be off where the system scales the program (Wine 10
  // predicts the frame at the display's DPI and draws it at 96).
  const RECT fitted = CentredWindowRect(dotsPerInch, FrameOf(window));
  SetWindowPos(window, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
               fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, StartupShowCommand(showCommand));
  // Windows may take the first show command from the launcher's start-up
  // settings instead of ours.
  if (IsZoomed(window)) ShowWindow(window, SW_RESTORE);
  UpdateWindow(window);
}

// A fixed window whose caption cannot be grabbed cannot be dragged back. A
// minimized window's own rectangle is its icon's: the place it restores to
// is the one checked, and moved.
void KeepCaptionInReach(HWND window) noexcept {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT primaryWork{};
  if (!GetWindowPlacement(window, &placement) ||
      !SystemParametersInfoW(SPI_GETWORKAREA, 0, &primaryWork, 0)) {
    return;
  }
  // Workspace coordinates: from the primary work area's corner, past a
  // taskbar at the top or left of the screen.
  RECT restored = placement.rcNormalPosition;
  OffsetRect(&restored, primaryWork.left, primaryWork.top);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&restored, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const ScreenRect work{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  const ScreenRect was{restored.left, restored.top, restored.right, restored.bottom};
  const ScreenRect placed = PlaceInReach(was, work, GetSystemMetrics(SM_CYCAPTION));
  if (placed == was) return;
  placement.rcNormalPosition = {placed.left - primaryWork.left, placed.top - primaryWork.top,
                                placed.right - primaryWork.left, placed.bottom - primaryWork.top};
  // Moved, not activated, and left minimized if it is.
  placement.showCmd = placement.showCmd == SW_SHOWMINIMIZED ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE;
  SetWindowPlacement(window, &placement);
}

}  // namespace pinvale::window
