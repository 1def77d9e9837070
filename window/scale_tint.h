#pragma once
// The scale box's tint while its text gives no readout: pale red, or the
// high contrast theme's highlight, with a text colour that reads on it.

#include <windows.h>

#include "platform/handles.h"

namespace pinvale::window {

class ScaleTint {
 public:
  // From the system's colours and high contrast as they are now; again
  // whenever the user changes them.
  void ChooseColors() noexcept;

  // Shows the tint while the scale is unusable, and redraws the box when
  // that changes.
  void Show(HWND scaleBox, bool usable) noexcept;

  // The answer to the box's WM_CTLCOLOREDIT: the tint's brush, with text and
  // background set together so that the two always contrast; null while the
  // box takes the system's colours.
  [[nodiscard]] HBRUSH Paint(HDC dc) const noexcept;

 private:
  COLORREF text_ = 0;
  COLORREF background_ = 0;
  platform::UniqueBrush brush_;
  bool usable_ = true;
};

}  // namespace pinvale::window
