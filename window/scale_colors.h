#pragma once
// The scale box's colours while its text gives no readout, chosen from the
// system's own. Pure, with no Windows header, so that every colour scheme
// and high contrast theme can be checked natively.

#include <cmath>
#include <cstdint>

namespace pinvale::window {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  constexpr bool operator==(const Rgb&) const = default;
};

struct TextColors {
  Rgb text;
  Rgb background;
};

// The pale red that says "look here" without taking the focus.
inline constexpr Rgb kUnusableScaleTint{255, 214, 214};

// Text must stand out from its background by at least this ratio (WCAG 2).
inline constexpr double kMinimumContrast = 4.5;

// WCAG 2's contrast ratio of two colours: 1 for none, 21 for black on white.
inline double ContrastRatio(Rgb a, Rgb b) noexcept {
  const auto luminance = [](Rgb c) {
    const auto linear = [](std::uint8_t channel) {
      const double v = channel / 255.0;
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (la > lb ? la + 0.05 : lb + 0.05) / (la > lb ? lb + 0.05 : la + 0.05);
}

// The preferred text colour where it reads on the background, else black or
// white, whichever reads better; one of the two always reads.
inline Rgb ReadableOn(Rgb background, Rgb preferred) noexcept {
  if (ContrastRatio(preferred, background) >= kMinimumContrast) return preferred;
  constexpr Rgb black{0, 0, 0};
  constexpr Rgb white{255, 255, 255};
  return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

// Under high contrast the user's theme decides: the highlight pair. Else the
// pale red tint, with the window's text colour where it reads on it (a dark
// scheme's white text does not).
inline TextColors UnusableScaleColors(bool highContrast, TextColors window, TextColors highlight) noexcept {
  const Rgb background = highContrast ? highlight.background : kUnusableScaleTint;
  const Rgb preferred = highContrast ? highlight.text : window.text;
  return {ReadableOn(background, preferred), background};
}

}  // namespace pinvale::window
