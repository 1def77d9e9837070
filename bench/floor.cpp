// The floor: the least any program doing Pinvale's job must do. A window
// with one edit control and a 100 ms timer whose tick reads the pointer and
// writes its two integers into the edit control, nothing else. The
// footprint benchmark measures Pinvale against it.
#include <windows.h>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kEditId = 1;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 200, 20,
                      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
      SetTimer(window, kTimer, 100, nullptr);
      return 0;
    case WM_TIMER: {
      POINT point{};
      GetCursorPos(&point);
      wchar_t text[32];
      wsprintfW(text, L"%d & %d", point.x, point.y);
      SetDlgItemTextW(window, kEditId, text);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"PinvaleFloor";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"PinvaleFloor", L"PinvaleFloor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              CW_USEDEFAULT, CW_USEDEFAULT, 240, 80, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
