#pragma once
// Form1: Pinvale's one window, with the scale box, the readout box, their
// labels and the start and pause pictures.

#include <windows.h>

#include <array>
#include <string>

#include "platform/handles.h"
#include "readout/number_format.h"
#include "window/layout.h"

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
  void OnActivate(bool active);
  void OnCommand(int controlId, int notification);
  void OnSettingChange();

  bool CreateControls(int dotsPerInch);
  bool CreateTooltips();
  void LoadInterfaceFont();
  [[nodiscard]] HWND Control(ControlId id) const noexcept;
  [[nodiscard]] platform::UniqueIcon LoadIconImage(int id, int size) const noexcept;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND focusWhenInactive_ = nullptr;
  std::array<HWND, std::size(kControls)> controls_{};

  platform::UniqueFont font_;
  platform::UniqueIcon appIconLarge_;
  platform::UniqueIcon appIconSmall_;
  std::array<platform::UniqueIcon, std::size(kControls)> pictures_{};

  NumberFormat numberFormat_;
};

}  // namespace pinvale::window
