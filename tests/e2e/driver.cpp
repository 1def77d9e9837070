#include "tests/e2e/driver.h"

// oleacc.h needs windows.h, from driver.h, first.
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <vector>

namespace pinvale::e2e {
namespace {

constexpr wchar_t kCaption[] = L"PinvaleV1.0";

std::wstring& PathStore() {
  static std::wstring path;
  return path;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindCaptionOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == search->processId && IsWindowVisible(window) && TextOf(window) == kCaption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void Send(INPUT input) { SendInput(1, &input, sizeof input); }

}  // namespace

const std::wstring& ExecutablePath() { return PathStore(); }
void SetExecutablePath(std::wstring path) { PathStore() = std::move(path); }

int TimeScale() {
  wchar_t text[8] = {};
  return GetEnvironmentVariableW(L"PINVALE_TIME_SCALE", text, 8) == 0 ? 1 : std::max(1, _wtoi(text));
}

namespace {
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(std::chrono::milliseconds(10));
  }
  return true;
}
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  return WaitFor(condition, timeout * TimeScale());
}

void Sleep(std::chrono::milliseconds duration) { ::Sleep(static_cast<DWORD>(duration.count())); }

bool Settle(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(5000 * TimeScale()),
                             &ignored) != 0;
}

bool KeySeen(int virtualKey, bool down) {
  return WaitUntil([&] { return (GetAsyncKeyState(virtualKey) < 0) == down; },
                   std::chrono::milliseconds(2000));
}

PinvaleProcess::PinvaleProcess(int showCommand, const wchar_t* fault) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (showCommand >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
  }
  std::wstring commandLine = L"\"" + ExecutablePath() + L"\"";
  SetEnvironmentVariableW(L"PINVALE_FAULT", fault);
  const bool started =
      CreateProcessW(ExecutablePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                     fault != nullptr ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &process_) != 0;
  SetEnvironmentVariableW(L"PINVALE_FAULT", nullptr);
  if (!started) throw std::runtime_error("Pinvale.exe did not start");
  if (fault != nullptr) {
    const Probe patching(process_.hProcess);
    if (!patching.Loaded()) {
      TerminateProcess(process_.hProcess, 1);
      throw std::runtime_error("the probe did not load into Pinvale");
    }
    ResumeThread(process_.hThread);
  }
  WaitForInputIdle(process_.hProcess, 10000);
  WindowSearch search{process_.dwProcessId, nullptr};
  WaitUntil(
      [&search] {
        EnumWindows(FindCaptionOfProcess, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      std::chrono::milliseconds(15000));
  if (search.found == nullptr) {
    TerminateProcess(process_.hProcess, 1);
    throw std::runtime_error("Pinvale's window did not appear");
  }
  window_ = search.found;
}

PinvaleProcess::~PinvaleProcess() {
  if (Close() == STILL_ACTIVE) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool PinvaleProcess::Alive() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD PinvaleProcess::Close() {
  if (Alive()) PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  return exitCode;
}

// Runs a function of the process in a thread of its own; its exit code.
DWORD RunInProcess(HANDLE process, LPTHREAD_START_ROUTINE function, void* parameter) {
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, function, parameter, 0, nullptr);
  DWORD result = 0;
  if (thread != nullptr &&
      WaitForSingleObject(thread, static_cast<DWORD>(10000 * TimeScale())) == WAIT_OBJECT_0)
    GetExitCodeThread(thread, &result);
  if (thread != nullptr) CloseHandle(thread);
  return result;
}

Probe::Probe(HANDLE process) : process_(process) {
  wchar_t driver[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, driver, MAX_PATH);
  std::wstring path = driver;
  path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"probe.dll";
  here_ = LoadLibraryW(path.c_str());
  const auto size = (path.size() + 1) * sizeof(wchar_t);
  void* remotePath = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (here_ == nullptr || remotePath == nullptr ||
      !WriteProcessMemory(process, remotePath, path.c_str(), size, nullptr)) {
    return;
  }
  // LoadLibraryW is at the same address in every process.
  auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "LoadLibraryW")));
  there_ = RunInProcess(process, load, remotePath);
  VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
}

// A function of the probe is at the same offset from wherever it is loaded.
DWORD Probe::Run(const char* function, const void* parameter) const {
  const auto address = reinterpret_cast<ULONG_PTR>(GetProcAddress(here_, function));
  if (there_ == 0 || address == 0) return 0;
  const ULONG_PTR offset = address - reinterpret_cast<ULONG_PTR>(here_);
  return RunInProcess(process_, reinterpret_cast<LPTHREAD_START_ROUTINE>(there_ + offset),
                      const_cast<void*>(parameter));
}

std::wstring TextOf(HWND window) {
  // WM_GETTEXT is carried across processes; GetWindowText is not, for controls.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// Not stretched: on a slow machine, the late effects of what came before
// would show as changes.
bool TextStays(HWND window, const std::wstring& text, std::chrono::milliseconds span) {
  return !WaitFor([&] { return TextOf(window) != text; }, span);
}

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(std::max(length, 0)));
  return bytes;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusOf(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(threadId, &info);
  return info.hwndFocus;
}

void MoveMouseTo(POINT screen) {
  // Absolute input is in 1/65535ths of the primary screen.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, width - 1);
  input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(input);
}

// At the X level, where Wine takes a click from: a pointer put in place by
// SendInput or SetCursorPos alone is now and then taken back to where the X
// pointer is (when a window appears or rises under that), and the click
// with it. Held until the program has the press in its queue, and settled.
void ClickAt(POINT screen) {
  POINT before{};
  GetCursorPos(&before);
  const auto at = [](POINT point) { return std::to_wstring(point.x) + L" " + std::to_wstring(point.y); };
  if (AtX(L"mousemove " + at(screen) + L" mousedown 1") && KeySeen(VK_LBUTTON, true)) {
    Settle(WindowFromPoint(screen));
  }
  AtX(L"mouseup 1");
  KeySeen(VK_LBUTTON, false);
  // Back at the X level too: an X pointer left on the control brings up its
  // tooltip, and Wine then takes the pointer back under it.
  AtX(L"mousemove " + at(before));
}

void ClickControl(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(WORD virtualKey, bool shift) {
  std::vector<INPUT> inputs;
  auto key = [&inputs](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (shift) key(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    Send(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    Send(input);
  }
}

bool AtX(const std::wstring& xdotoolArguments) {
  // Wine starts a Unix program from its Unix path but hands back no process
  // handle to wait on, so the program leaves a file when it is done.
  static int runs = 0;
  const std::wstring done =
      L"/tmp/pinvale-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++runs);
  std::wstring command = L"/bin/sh -c \"xdotool " + xdotoolArguments + L" && : >" + done + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  // Without a process handle the thread "handle" Wine leaves is not one:
  // closing it would close whatever handle of ours has that number.
  if (process.hProcess != nullptr) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  std::wstring doneInWine = L"Z:" + done;
  std::replace(doneInWine.begin(), doneInWine.end(), L'/', L'\\');
  const bool ended =
      WaitUntil([&] { return GetFileAttributesW(doneInWine.c_str()) != INVALID_FILE_ATTRIBUTES; });
  DeleteFileW(doneInWine.c_str());
  return ended;
}

void PostClick(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(16, 16));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(16, 16));
}

bool PressAtX(HWND window, const std::wstring& key, int virtualKey) {
  return AtX(L"keydown " + key) && KeySeen(virtualKey, true) && Settle(window) && AtX(L"keyup " + key) &&
         KeySeen(virtualKey, false);
}

namespace {
BOOL CALLBACK FindShownMenu(HWND window, LPARAM found) {
  if (ClassOf(window) != L"#32768" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}
bool MenuShown(DWORD threadId) {
  bool shown = false;
  EnumThreadWindows(threadId, FindShownMenu, reinterpret_cast<LPARAM>(&shown));
  return shown;
}
}  // namespace

bool ChooseFromSystemMenu(HWND window, const std::wstring& letter) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return AtX(L"key alt+space") && WaitUntil([&] { return MenuShown(thread); }) && AtX(L"key " + letter) &&
         WaitUntil([&] { return !MenuShown(thread); }) && Settle(window);
}

AccessibleFacts ReadAccessible(HWND window, bool press) {
  AccessibleFacts facts;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                           reinterpret_cast<void**>(&object)))) {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) facts.role = role.lVal;
    const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
      BSTR value = nullptr;
      std::wstring read = SUCCEEDED((object->*get)(self, &value)) && value != nullptr ? value : L"";
      SysFreeString(value);
      return read;
    };
    facts.name = text(&IAccessible::get_accName);
    facts.description = text(&IAccessible::get_accDescription);
    facts.defaultAction = text(&IAccessible::get_accDefaultAction);
    facts.shortcut = text(&IAccessible::get_accKeyboardShortcut);
    IServiceProvider* services = nullptr;  // UI Automation asks this before it reads an object's own answers
    if (SUCCEEDED(object->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)))) {
      IUnknown* proxy = nullptr;
      facts.oleaccProxy =
          services->QueryService(IIS_IsOleaccProxy, IID_IUnknown, reinterpret_cast<void**>(&proxy)) == S_OK;
      if (proxy != nullptr) proxy->Release();
      services->Release();
    }
    if (press) facts.pressed = object->accDoDefaultAction(self);
    object->Release();
  }
  CoUninitialize();
  return facts;
}

void BringToFront(HWND window) {
  SetForegroundWindow(window);
  WaitUntil([window] { return GetForegroundWindow() == window; }, std::chrono::milliseconds(2000));
}

}  // namespace pinvale::e2e
