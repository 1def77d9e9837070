#pragma once
// Form1: Pinvale's one window, with the scale box, the readout box, their
// labels and the start and pause pictures. It creates them, routes their
// messages and holds the sampling handlers; each other concern answers from
// a file of its own.

#include <windows.h>

#include <array>

#include "platform/handles.h"
#include "readout/number_format.h"
#include "readout/readout.h"
#include "window/accessible_buttons.h"
#include "window/layout.h"
#include "window/sampling_commands.h"
#include "window/scale_tint.h"
#include "window/start_failure.h"

namespace pinvale::window {

class Form1 {
 public:
  // Creates and shows the window, then runs the message loop until the
  // window is closed. Returns the process exit code.
  static int Run(HINSTANCE instance, int showCommand);

  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

 private:
  explicit Form1(HINSTANCE instance) noexcept : instance_(instance) {}

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  // Notes the start-up step that failed, with the system's error; false.
  bool Failed(const wchar_t* step) noexcept;
  void OnActivate(bool active, bool minimized);
  void OnCommand(int controlId, int notification);
  void OnSettingChange();

  // Sampling: Timer1's ticks, and the start (Image1) and pause (Image2) pictures.
  void OnTimer1Tick();
  void OnImage1Click();
  void OnImage2Click();
  // The one path of every start and pause: a click, its key, its system
  // menu item or a screen reader's press.
  void Press(const SamplingCommand& command);
  void OnScaleTextChange();
  void OnReadoutTextChange();

  // Reads the pointer and the scale box, and writes the readout box.
  void PrintCursorPos();

  bool CreateControls();
  void CreateTooltips();
  [[nodiscard]] HWND Control(ControlId id) const noexcept;
  [[nodiscard]] platform::UniqueIcon LoadIconImage(int id, int size) const noexcept;

  HINSTANCE instance_;
  int dotsPerInch_ = USER_DEFAULT_SCREEN_DPI;  // the screen's, as this program sees it
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND focusWhenInactive_ = nullptr;
  bool placeWhenRestored_ = false;  // a display change came while minimized
  std::array<HWND, std::size(kControls)> controls_{};
  StartFailure startFailure_{nullptr, 0};

  AccessibleButtons accessibleButtons_;
  ScaleTint scaleTint_;
  platform::UniqueFont font_;
  platform::UniqueIcon appIconLarge_;
  platform::UniqueIcon appIconSmall_;
  std::array<platform::UniqueIcon, std::size(kControls)> pictures_{};

  NumberFormat numberFormat_;
  // The scale box's text is read when it changes, not on every tick.
  platform::TextBuffer scaleText_;
  Outcome<double> scaleFactor_{ConversionError::NotANumber};
  // What the readout box shows, if nobody has changed it since it was written.
  ReadoutText readoutShown_;
  bool readoutTouched_ = true;
  bool writingReadout_ = false;
};

}  // namespace pinvale::window
