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

// Judged and moved by the window's own rectangle, in screen coordinates.
// The restore place of GetWindowPlacement is no help: Windows gives it in
// workspace coordinates, offset by a taskbar at the top or left of the
// primary monitor (and on another monitor, which offset applies is not
// documented), while Wine gives it in screen coordinates.
bool KeepCaptionInReach(HWND window) noexcept {
  if (IsIconic(window)) return false;  // its rectangle is its icon's
  RECT rect{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(window, &rect) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return true;
  }
  const ScreenRect was{rect.left, rect.top, rect.right, rect.bottom};
  const ScreenRect work{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  const ScreenRect placed = PlaceInReach(was, work, GetSystemMetrics(SM_CYCAPTION));
  if (placed != was) {
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

}  // namespace pinvale::window
