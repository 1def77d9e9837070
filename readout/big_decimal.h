#pragma once
// Exact decimal conversions for the numbers the fast paths leave over: more
// than 15 digits, exponents far from zero, subnormals. They work on a
// decimal of up to 800 digits, enough to hold any double exactly, and so
// round correctly without the C++ runtime's to_chars and from_chars for
// doubles, whose tables would make up most of the program's code.

#include <cstdint>
#include <string_view>

namespace pinvale::detail {

// Significant decimal digits and the power of ten of the first one: the
// value d1.d2d3... x 10^exponent.
struct RoundedDigits {
  char digits[17] = {};  // ASCII, trailing zeros dropped
  int count = 0;
  int exponent = 0;
};

// |value| (finite and not zero) rounded to `significant` (1 to 17) digits,
// halfway cases to the even digit, from its exact binary value.
[[nodiscard]] RoundedDigits RoundToSignificantDigits(double value, int significant) noexcept;

// The double nearest to d1.d2d3... x 10^exponent, halfway cases to the even
// double. `digits` are ASCII, the first not zero, at most 780 of them;
// `sticky` says that non-zero digits were left off after them. False when
// the number is beyond the largest double; one too small gives zero.
[[nodiscard]] bool NearestDouble(std::string_view digits, std::int64_t exponent, bool sticky,
                                 double& value) noexcept;

}  // namespace pinvale::detail
