#include "window/form1.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "pinvale_version.h"
#include "platform/platform.h"
#include "readout/readout.h"
#include "window/interface_font.h"
#include "window/placement.h"
#include "window/system_menu.h"

namespace pinvale::window {
namespace {

constexpr wchar_t kClassName[] = L"PinvaleForm1";

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1IntervalMs = 100;

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
  if (RegisterClassExW(&windowClass) == 0) return ReportStartFailure({L"注册窗口类", GetLastError()});

  const int dotsPerInch = form.dotsPerInch_ = ScreenDotsPerInch();
  const RECT predicted = PredictedStartPlace(dotsPerInch);
  if (CreateWindowExW(kWindowExStyle, kClassName, PINVALE_CAPTION, kWindowStyle, predicted.left,
                      predicted.top, predicted.right - predicted.left, predicted.bottom - predicted.top,
                      nullptr, nullptr, instance, &form) == nullptr) {
    const DWORD error = GetLastError();
    // What failed inside WM_CREATE was noted there, with its own error.
    const StartFailure failure =
        form.startFailure_.step != nullptr ? form.startFailure_ : StartFailure{L"创建窗口", error};
    return ReportStartFailure(failure);
  }
  FitAndShow(form.window_, dotsPerInch, showCommand);
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
      if (wParam != SIZE_RESTORED) break;
      // A display change came while minimized: its rectangle is its own again.
      if (std::exchange(placeWhenRestored_, false)) static_cast<void>(KeepCaptionInReach(window_));
      // Restored from a minimized start while active: no activation comes.
      if (GetActiveWindow() == window_ && !IsChild(window_, GetFocus())) OnActivate(true, false);
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      if (const SamplingCommand* command = CommandForMenuItem(wParam)) {
        Press(*command);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimer1) OnTimer1Tick();
      return 0;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) != Control(kText2)) break;
      if (HBRUSH brush = scaleTint_.Paint(reinterpret_cast<HDC>(wParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_SYSCOLORCHANGE:
      // Only top-level windows hear of it; the child controls need it too.
      for (HWND control : controls_) SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
      [[fallthrough]];
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case WM_DISPLAYCHANGE:
      placeWhenRestored_ = !KeepCaptionInReach(window_);
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
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool Form1::OnCreate() {
  numberFormat_ = platform::UserNumberFormat();
  font_ = CreateInterfaceFont(dotsPerInch_);
  // Besides the class icons: taskbars and switchers ask the window itself.
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIconLarge_.Get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIconSmall_.Get()));
  scaleTint_.ChooseColors();
  if (!CreateControls()) return Failed(L"创建控件");
  CreateTooltips();  // the program works without them
  AddSamplingCommandsToSystemMenu(window_);
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

void Form1::OnCommand(int controlId, int notification) {
  if (const SamplingCommand* command = CommandFor(controlId, notification)) Press(*command);
  if (controlId == kText2 && notification == EN_CHANGE) OnScaleTextChange();
  if (controlId == kText1 && notification == EN_CHANGE) OnReadoutTextChange();
}

// The user may change the decimal separator, the colours or high contrast
// while Pinvale runs.
void Form1::OnSettingChange() {
  numberFormat_ = platform::UserNumberFormat();
  scaleTint_.ChooseColors();
  OnScaleTextChange();  // the separator may be another now
  InvalidateRect(Control(kText2), nullptr, TRUE);
}

void Form1::OnTimer1Tick() { PrintCursorPos(); }

void Form1::OnImage1Click() {
  platform::PlaceTopmost(window_);
  SetTimer(window_, kTimer1, kTimer1IntervalMs, nullptr);
}

void Form1::OnImage2Click() { KillTimer(window_, kTimer1); }

void Form1::Press(const SamplingCommand& command) {
  if (command.picture == kImage1) OnImage1Click();
  if (command.picture == kImage2) OnImage2Click();
  ShowSamplingInSystemMenu(window_, command);
}

// Reads the scale once per change, and tells at once, even while paused,
// whether what is being typed is a number.
void Form1::OnScaleTextChange() {
  scaleFactor_ = ScaleFactor(platform::ReadText(Control(kText2), scaleText_), numberFormat_);
  scaleTint_.Show(Control(kText2), scaleFactor_.Ok());
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
  scaleTint_.Show(Control(kText2), readout.Ok());
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

bool Form1::CreateControls() {
  const auto pixels = [this](int twips) { return TwipsToPixels(twips, dotsPerInch_); };
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
      accessibleButtons_.Attach(control);
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
