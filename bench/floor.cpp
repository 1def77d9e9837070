// The floor: the least any program doing Pinvale's job must do. A window
// with one edit control and a 100 ms timer whose tick reads the pointer and
// writes its two integers into the edit control, nothing else. The
// footprint benchmark measures Pinvale against it.
//
// Built with FLOOR_DRESSED (bench/memory-breakdown.sh), it also puts on what
// a user of Pinvale sees and the floor lacks: a tooltip and a label in
// Chinese in the interface font. Linked with floor-v6.rc it runs with the
// common controls 6, as Pinvale does. Each shows what it costs in memory.
#include <windows.h>

#if defined(FLOOR_DRESSED)
#include <commctrl.h>
#endif

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kEditId = 1;

#if defined(FLOOR_DRESSED)
void PutOnWhatPinvaleShows(HWND window) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);  // lives as long as the process
  HWND edit = GetDlgItem(window, kEditId);
  HWND label = CreateWindowExW(0, L"STATIC", L"屏幕坐标XY", WS_CHILD | WS_VISIBLE, 10, 35, 100, 20, window,
                               nullptr, nullptr, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HWND tooltip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(edit);
  tool.lpszText = const_cast<wchar_t*>(L"屏幕分辨率");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
#endif

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 200, 20,
                      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
#if defined(FLOOR_DRESSED)
      PutOnWhatPinvaleShows(window);
#endif
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
