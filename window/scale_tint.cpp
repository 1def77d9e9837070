#include "window/scale_tint.h"

#include "window/scale_colors.h"

namespace pinvale::window {
namespace {

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

}  // namespace

void ScaleTint::ChooseColors() noexcept {
  const TextColors chosen =
      UnusableScaleColors(HighContrastOn(), SystemColors(COLOR_WINDOWTEXT, COLOR_WINDOW),
                          SystemColors(COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT));
  text_ = AsColorRef(chosen.text);
  background_ = AsColorRef(chosen.background);
  brush_.Reset(CreateSolidBrush(background_));
}

void ScaleTint::Show(HWND scaleBox, bool usable) noexcept {
  if (usable == usable_) return;
  usable_ = usable;
  InvalidateRect(scaleBox, nullptr, TRUE);
}

HBRUSH ScaleTint::Paint(HDC dc) const noexcept {
  if (usable_ || !brush_) return nullptr;
  SetTextColor(dc, text_);
  SetBkColor(dc, background_);
  return brush_.Get();
}

}  // namespace pinvale::window
