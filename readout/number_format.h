#pragma once
// Number text in the style the readout box has always shown, and the scale
// box's text read back as a number.

#include <cstdint>
#include <variant>

#include "readout/text.h"

namespace pinvale {

// What the user's locale says about numbers. Only the decimal separator
// matters here: the readout writes no group separators and reads none.
struct NumberFormat {
  char16_t decimalSeparator = u'.';
};

enum class ConversionError : std::uint8_t {
  NotANumber,  // the text does not spell a number
  Overflow,    // the number, or a product made from it, is beyond a double
};

// A value, or the reason there is none.
template <typename T>
class Outcome {
 public:
  constexpr Outcome(T value) noexcept : state_(std::move(value)) {}     // NOLINT(google-explicit-constructor)
  constexpr Outcome(ConversionError error) noexcept : state_(error) {}  // NOLINT(google-explicit-constructor)

  [[nodiscard]] constexpr bool Ok() const noexcept { return std::holds_alternative<T>(state_); }
  [[nodiscard]] constexpr const T& Value() const noexcept { return *std::get_if<T>(&state_); }
  [[nodiscard]] constexpr ConversionError Error() const noexcept {
    return *std::get_if<ConversionError>(&state_);
  }

 private:
  std::variant<T, ConversionError> state_;
};

// Longest number text: "-1.23456789012345E+308" is 22 characters.
inline constexpr std::size_t kNumberTextCapacity = 24;
using NumberText = FixedText<kNumberTextCapacity>;

// A double as text: rounded to 15 significant digits, no trailing zeros and
// no bare separator, the locale's decimal separator, "0" for either zero.
// From 1E+15 up and below 1E-04 in magnitude it takes the exponent form
// ("1E+15", "-1.5E-05"). Infinities and NaN never reach it from a readout;
// they are written as "Infinity", "-Infinity" and "NaN".
[[nodiscard]] NumberText FormatNumber(double value, NumberFormat format) noexcept;

// The scale box's text as a number. Blanks around it (space, tab, no-break
// and ideographic space) are ignored; then an optional sign, digits with an
// optional fraction after the locale's separator, an optional exponent.
// Anything else is NotANumber; beyond the range of a double is Overflow; a
// number too small for a double reads as zero.
[[nodiscard]] Outcome<double> ParseNumber(TextView text, NumberFormat format) noexcept;

}  // namespace pinvale
