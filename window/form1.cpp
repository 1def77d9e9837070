#include "window/form1.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>
#include <utility>

#include "pinvale_version.h"
#include "platform/platform.h"
#include "readout/readout.h"
#include "window/interface_font.h"

namespace pinvale::window {
namespace {

constexpr wchar_t kClassName[] = L"PinvaleForm1";

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1IntervalMs = 100;

// A fixed single frame: caption and close button, no sizing border, no
// minimize or maximize box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

struct ChildStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ChildStyle StyleOf(ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::Label:
      return {WC_STATICW, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
      return {WC_EDITW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Picture:
      // SS_NOTIFY reports clicks and lets the tooltip see the mouse;
      // SS_CENTERIMAGE keeps the icon at its own size.
      return {WC_STATICW, WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE | SS_NOTIFY, 0};
  }
  return {WC_STATICW, WS_CHILD, 0};
}

COLORREF AsColorRef(Rgb color) noexcept { return RGB(color.red, color.green, color.blue); }

TextColors SystemColors(int textIndex, int backgroundIndex) noexcept {
  const auto rgb = [](COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
  return {rgb(GetSysColor(textIndex)), rgb(GetSysColor(backgroundIndex))};
}

bool HighContrastOn() noexcept {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof highContrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A maximized start would leave this fixed-size window no way back.
int StartupShowCommand(int requested) noexcept {
  return requested == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : requested;
}

// Says why the program ends before its window could open: the step that
// failed, the system's text for its error and the error's number; returns
// the exit code. The window's teardown may have asked to quit, which would
// close the box before anyone saw it.
int ReportStartFailure(const wchar_t* step, DWORD error) noexcept {
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  wchar_t reason[256];
  reason[0] = L'\0';  // where the system has no text
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                 nullptr, error, 0, reason, static_cast<DWORD>(std::size(reason)), nullptr);
  const DWORD_PTR parts[] = {reinterpret_cast<DWORD_PTR>(step), reinterpret_cast<DWORD_PTR>(reason), error};
  wchar_t message[512];
  message[0] = L'\0';
  FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                 L"Pinvale 无法打开窗口，即将退出。\n\n%1失败：%2（错误 %3!lu!）", 0, 0, message,
                 static_cast<DWORD>(std::size(message)),
                 reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(parts)));
  MessageBoxW(nullptr, message, PINVALE_CAPTION, MB_OK | MB_ICONERROR);
  return 1;
}

int ScreenDotsPerInch() noexcept {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi;
}

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

}  // namespace

int Form1::Run(HINSTANCE instance, int showCommand) {
  Form1 form(instance);
  form.appIconLarge_ = form.LoadIconImage(PINVALE_APP_ICON, GetSystemMetrics(SM_CXICON));
  form.appIconSmall_ = form.LoadIconImage(PINVALE_APP_ICON, GetSystemMetrics(SM_CXSMICON));

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = form.appIconLarge_.Get();
  windowClass.hIconSm = form.appIconSmall_.Get();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // A colour index, not a brush of the system's: the class may free its brush.
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExW(&windowClass) == 0) return ReportStartFailure(L"注册窗口类", GetLastError());

  const int dotsPerInch = form.dotsPerInch_ = ScreenDotsPerInch();
  const RECT predicted = CentredWindowRect(dotsPerInch, PredictedFrame());
  if (CreateWindowExW(kWindowExStyle, kClassName, PINVALE_CAPTION, kWindowStyle, predicted.left,
                      predicted.top, predicted.right - predicted.left, predicted.bottom - predicted.top,
                      nullptr, nullptr, instance, &form) == nullptr) {
    const DWORD error = GetLastError();
    // What failed inside WM_CREATE was noted there, with its own error.
    const StartFailure failure =
        form.startFailure_.step != nullptr ? form.startFailure_ : StartFailure{L"创建窗口", error};
    return ReportStartFailure(failure.step, failure.error);
  }
  // Sized again around the frame the window really has: the prediction can
  // be off where the system scales the program (Wine 10 predicts the frame at
  // the display's DPI and draws it at 96).
  const RECT fitted = CentredWindowRect(dotsPerInch, FrameOf(form.window_));
  SetWindowPos(form.window_, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
               fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(form.window_, StartupShowCommand(showCommand));
  // Windows may take the first show command from the launcher's start-up
  // settings instead of ours.
  if (IsZoomed(form.window_)) ShowWindow(form.window_, SW_RESTORE);
  UpdateWindow(form.window_);
  // A minimized window takes the focus only once it is restored.
  if (!IsIconic(form.window_)) SetFocus(form.Control(kText2));

  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // Tab and Shift+Tab move between the two boxes, as in a dialog.
    if (IsDialogMessageW(form.window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE, HIWORD(wParam) != 0);
      return 0;
    case WM_SIZE:
      // Restored from a minimized start while active: no activation comes.
      if (wParam == SIZE_RESTORED && GetActiveWindow() == window_ && !IsChild(window_, GetFocus())) {
        OnActivate(true, false);
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wParam)) return 0;
      break;
    case WM_TIMER:
      if (wParam == kTimer1) OnTimer1Tick();
      return 0;
    case WM_CTLCOLOREDIT:
      if (HBRUSH brush = OnCtlColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SYSCOLORCHANGE:
      // Only top-level windows hear of it; the child controls need it too.
      for (HWND control : controls_) SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
      OnSettingChange();
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case WM_DISPLAYCHANGE:
      OnDisplayChange();
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimer1);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Form1::PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR form) {
  if (message == WM_GETOBJECT) {
    const auto id = static_cast<ControlId>(GetWindowLongW(picture, GWL_ID));
    const SamplingCommand& command = id == kImage1 ? kStartCommand : kPauseCommand;
    if (LRESULT answer = reinterpret_cast<Form1*>(form)->accessibleButtons_.Answer(
            picture, wParam, lParam, command, kControls[IndexOf(id)].tooltip)) {
      return answer;
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(picture, PictureProc, 0);
  return DefSubclassProc(picture, message, wParam, lParam);
}

bool Form1::OnCreate() {
  numberFormat_ = platform::UserNumberFormat();
  font_ = CreateInterfaceFont(dotsPerInch_);
  // Besides the class icons: taskbars and switchers ask the window itself.
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIconLarge_.Get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIconSmall_.Get()));
  ChooseUnusableScaleColors();
  if (!CreateControls(dotsPerInch_)) return Failed(L"创建控件");
  CreateTooltips();                   // the program works without them
  AddSamplingCommandsToSystemMenu();  // and without these
  // Typing into the new window replaces the scale rather than adding to it.
  SendMessageW(Control(kText2), EM_SETSEL, 0, -1);
  OnScaleTextChange();
  // Sampling is on from the start: the first readout comes with the first tick.
  if (SetTimer(window_, kTimer1, kTimer1IntervalMs, nullptr) == 0) return Failed(L"启动采集定时器");
  return true;
}

bool Form1::Failed(const wchar_t* step) noexcept {
  startFailure_ = {step, GetLastError()};
  return false;
}

// Keeps the keyboard focus where the user left it when the window is
// switched away from and back, or minimized and restored; a minimized
// window takes none until it is restored.
void Form1::OnActivate(bool active, bool minimized) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) focusWhenInactive_ = focus;
    return;
  }
  if (minimized) return;
  SetFocus(focusWhenInactive_ != nullptr ? focusWhenInactive_ : Control(kText2));
}

// A smaller desktop can leave the window where its caption cannot be
// grabbed, and a fixed window then cannot be dragged back: it is centred
// again on the nearest monitor's work area. One whose caption can be
// grabbed stays where the user put it. A minimized window's own rectangle is
// its icon's: the place it restores to is the one checked, and moved.
void Form1::OnDisplayChange() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT primaryWork{};
  if (!GetWindowPlacement(window_, &placement) ||
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
  const ScreenRect window{restored.left, restored.top, restored.right, restored.bottom};
  if (CaptionCanBeGrabbed(window, work, GetSystemMetrics(SM_CYCAPTION))) return;
  const ScreenRect placed = CentredOn(work, window.right - window.left, window.bottom - window.top);
  placement.rcNormalPosition = {placed.left - primaryWork.left, placed.top - primaryWork.top,
                                placed.right - primaryWork.left, placed.bottom - primaryWork.top};
  // Moved, not activated, and left minimized if it is.
  placement.showCmd = placement.showCmd == SW_SHOWMINIMIZED ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE;
  SetWindowPlacement(window_, &placement);
}

void Form1::OnCommand(int controlId, int notification) {
  // Every click counts, the second of a double click too.
  const bool clicked = notification == STN_CLICKED || notification == STN_DBLCLK;
  for (const SamplingCommand& command : kSamplingCommands) {
    // Enter and Esc, in either box: IsDialogMessageW sends IDOK and IDCANCEL.
    // It takes the key, so no character reaches the box and nothing beeps.
    // While an input method composes, the keys come as VK_PROCESSKEY and
    // stay the input method's.
    if ((controlId == command.picture && clicked) ||
        (controlId == command.dialogCommand && notification == 0))
      Press(command.picture);
  }
  if (controlId == kText2 && notification == EN_CHANGE) OnScaleTextChange();
  if (controlId == kText1 && notification == EN_CHANGE) OnReadoutTextChange();
}

// The user may change the decimal separator, the colours or high contrast
// while Pinvale runs.
void Form1::OnSettingChange() {
  numberFormat_ = platform::UserNumberFormat();
  ChooseUnusableScaleColors();
  OnScaleTextChange();  // the separator may be another now
  InvalidateRect(Control(kText2), nullptr, TRUE);
}

void Form1::ChooseUnusableScaleColors() {
  const TextColors chosen =
      UnusableScaleColors(HighContrastOn(), SystemColors(COLOR_WINDOWTEXT, COLOR_WINDOW),
                          SystemColors(COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT));
  unusableScaleText_ = AsColorRef(chosen.text);
  unusableScaleBackground_ = AsColorRef(chosen.background);
  unusableScaleBrush_.Reset(CreateSolidBrush(unusableScaleBackground_));
}

// Text and background are set together, so that the two always contrast.
HBRUSH Form1::OnCtlColorEdit(HDC dc, HWND edit) {
  if (edit != Control(kText2) || scaleUsable_ || !unusableScaleBrush_) return nullptr;
  SetTextColor(dc, unusableScaleText_);
  SetBkColor(dc, unusableScaleBackground_);
  return unusableScaleBrush_.Get();
}

void Form1::OnTimer1Tick() { PrintCursorPos(); }

void Form1::OnImage1Click() {
  platform::PlaceTopmost(window_);
  SetTimer(window_, kTimer1, kTimer1IntervalMs, nullptr);
  ShowSamplingInSystemMenu(kStartCommand);
}

void Form1::OnImage2Click() {
  KillTimer(window_, kTimer1);
  ShowSamplingInSystemMenu(kPauseCommand);
}

void Form1::Press(ControlId picture) {
  if (picture == kImage1) OnImage1Click();
  if (picture == kImage2) OnImage2Click();
}

bool Form1::OnSysCommand(WPARAM command) {
  for (const SamplingCommand& sampling : kSamplingCommands) {
    if ((command & 0xFFF0) == sampling.menuItem) {
      Press(sampling.picture);
      return true;
    }
  }
  return false;
}

// After the system's own items: a user who knows Alt+Space, C finds it
// where it always is.
void Form1::AddSamplingCommandsToSystemMenu() {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (const SamplingCommand& command : kSamplingCommands) {
    AppendMenuW(menu, MF_STRING, command.menuItem, command.menuText);
  }
  ShowSamplingInSystemMenu(kStartCommand);
}

// A radio pair: the state that holds now is the checked one.
void Form1::ShowSamplingInSystemMenu(const SamplingCommand& current) {
  CheckMenuRadioItem(GetSystemMenu(window_, FALSE), kStartCommand.menuItem, kPauseCommand.menuItem,
                     current.menuItem, MF_BYCOMMAND);
}

// Reads the scale once per change, and tells at once, even while paused,
// whether what is being typed is a number.
void Form1::OnScaleTextChange() {
  scaleFactor_ = ScaleFactor(platform::ReadText(Control(kText2), scaleText_), numberFormat_);
  ShowScaleUsable(scaleFactor_.Ok());
}

// The user typed into the readout box, or something else set its text: the
// next readout must replace it even if it is the same as the last one.
void Form1::OnReadoutTextChange() {
  if (!writingReadout_) readoutTouched_ = true;
}

void Form1::PrintCursorPos() {
  // A scale that is not a number, or a product beyond a double, leaves the
  // last readout in place; sampling goes on, so readouts resume by
  // themselves once the text is a number again.
  if (!scaleFactor_.Ok()) return;
  const auto readout = MakeReadout(platform::PointerPosition(), scaleFactor_.Value(), numberFormat_);
  ShowScaleUsable(readout.Ok());
  if (!readout.Ok()) return;
  // Ctrl held keeps the readout: the pointer can then travel from a target
  // to the readout box or the pause button without its coordinates changing.
  if (platform::ControlKeyDown()) return;

  // Rewriting the same text would only flicker and drop the user's selection.
  if (!readoutTouched_ && readout.Value().View() == readoutShown_.View()) return;
  writingReadout_ = true;
  platform::WriteText(Control(kText1), readout.Value().CStr());
  writingReadout_ = false;
  readoutShown_ = readout.Value();
  readoutTouched_ = false;
}

void Form1::ShowScaleUsable(bool usable) {
  if (usable == scaleUsable_) return;
  scaleUsable_ = usable;
  InvalidateRect(Control(kText2), nullptr, TRUE);
}

bool Form1::CreateControls(int dotsPerInch) {
  const auto pixels = [dotsPerInch](int twips) { return TwipsToPixels(twips, dotsPerInch); };
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const ControlSpec& entry = kControls[i];
    const ChildStyle style = StyleOf(entry.kind);
    HWND control =
        CreateWindowExW(style.exStyle, style.className, entry.text, style.style, pixels(entry.rect.left),
                        pixels(entry.rect.top), pixels(entry.rect.width), pixels(entry.rect.height), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_, nullptr);
    if (control == nullptr) return false;
    controls_[i] = control;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (entry.icon != 0) {
      pictures_[i] = LoadIconImage(entry.icon, kPictureSize);
      SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(pictures_[i].Get()), 0);
      SetWindowSubclass(control, PictureProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
  }
  return true;
}

void Form1::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             instance_, nullptr);
  if (tooltip_ == nullptr) return;
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    if (kControls[i].tooltip == nullptr) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(controls_[i]);
    tool.lpszText = const_cast<wchar_t*>(kControls[i].tooltip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

HWND Form1::Control(ControlId id) const noexcept { return controls_[IndexOf(id)]; }

platform::UniqueIcon Form1::LoadIconImage(int id, int size) const noexcept {
  return platform::UniqueIcon(static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace pinvale::window
