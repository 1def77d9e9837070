#pragma once
// Drives the real Pinvale.exe from outside, as a user or a UI-automation
// tool would: finds its window by caption, reads it through Win32, and
// moves the mouse and types through SendInput.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace pinvale::e2e {

// The path of Pinvale.exe, from the driver's command line.
const std::wstring& ExecutablePath();
void SetExecutablePath(std::wstring path);

// How many times slower than a real machine this one runs the program (an
// emulated one): PINVALE_TIME_SCALE, 1 if unset. Waits for it stretch as much.
int TimeScale();

// Waits until the condition holds or the time, stretched by TimeScale(), is
// up; says which.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

void Sleep(std::chrono::milliseconds duration);

// Returns once the window's thread has ended what it was handling and taken
// a message from its queue since; false if it did not within the time. What
// input is queued by then comes before its next tick, as Windows hands out
// timer messages only when no input waits.
bool Settle(HWND window);
// Waits until the key is down, or up, for every program: then the program
// that has the keyboard has taken the key from the X server.
bool KeySeen(int virtualKey, bool down);

// One running Pinvale: started by the constructor, closed through its
// window's close command by the destructor.
class PinvaleProcess {
 public:
  // With a show command, as a shortcut's "Run" setting passes it. With a
  // fault, the probe loaded first makes a call fail (see probe.cpp); the
  // window is then the message box, if one says why the program ends.
  explicit PinvaleProcess(int showCommand = -1, const wchar_t* fault = nullptr);
  ~PinvaleProcess();
  PinvaleProcess(const PinvaleProcess&) = delete;
  PinvaleProcess& operator=(const PinvaleProcess&) = delete;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(window_, id); }
  [[nodiscard]] bool Alive() const;
  [[nodiscard]] DWORD ProcessId() const { return process_.dwProcessId; }
  [[nodiscard]] DWORD ThreadId() const { return process_.dwThreadId; }
  [[nodiscard]] HANDLE Process() const { return process_.hProcess; }

  // Closes the window as the close button does; returns the exit code, or
  // STILL_ACTIVE if the program did not end.
  DWORD Close();

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Functions of probe.dll (beside the driver), run inside a process, which
// a remote thread loads it into: what cannot be read from outside.
class Probe {
 public:
  explicit Probe(HANDLE process);
  // The function's result; 0 when it could not run.
  DWORD Run(const char* function, const void* parameter = nullptr) const;
  [[nodiscard]] bool Loaded() const { return there_ != 0; }

 private:
  HANDLE process_;
  HMODULE here_ = nullptr;  // the probe in this process
  DWORD there_ = 0;         // and where it is in the other
};

std::wstring TextOf(HWND window);
// For printing: Wine's printf writes no character beyond ASCII of a wide text.
std::string Utf8(const std::wstring& text);
// Whether the window keeps this text for the whole span: a change that
// must not come cannot be seen, only waited for, here over four ticks.
bool TextStays(HWND window, const std::wstring& text,
               std::chrono::milliseconds span = std::chrono::milliseconds(450));
std::wstring ClassOf(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
HWND FocusOf(DWORD threadId);

// Input as a user makes it. A click, made at the X level, returns settled
// (see Settle), with the pointer back where it was.
void MoveMouseTo(POINT screen);
void ClickAt(POINT screen);
void ClickControl(HWND control);
void PressKey(WORD virtualKey, bool shift = false);
void TypeText(const std::wstring& text);
void BringToFront(HWND window);
// A click posted to the control itself, where each click must count once:
// Wine's input path now and then loses or repeats a click while a tooltip
// comes and goes.
void PostClick(HWND control);

// A key pressed at the X level, held until the window's program has it and
// is settled (see Settle), as only then do later changes come after it.
bool PressAtX(HWND window, const std::wstring& key, int virtualKey);
// Alt+Space, then the item's letter; returns once the menu is gone and the
// window settled.
bool ChooseFromSystemMenu(HWND window, const std::wstring& letter);

// What a screen reader reads of a window's client object, through
// AccessibleObjectFromWindow from this process; with press, it then does its
// default action, as a reader's "press" does.
struct AccessibleFacts {
  LONG role = 0;
  std::wstring name, description, defaultAction, shortcut;
  HRESULT pressed = E_FAIL;
  bool oleaccProxy = false;  // says it is oleacc's own, which UI Automation then reads past
};
AccessibleFacts ReadAccessible(HWND window, bool press = false);

// Runs xdotool with these arguments at the X level and waits until it has
// ended; false if it did not. A key held with SendInput is dropped as soon
// as the pointer enters a Wine window, as Wine then reads the modifiers
// from the X server; one held at the X level stays down.
bool AtX(const std::wstring& xdotoolArguments);

}  // namespace pinvale::e2e
