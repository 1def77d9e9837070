#pragma once
// The readout line: one pointer sample and the scale box's text in, the
// text of the readout box out.

#include <cstdint>

#include "readout/number_format.h"
#include "readout/text.h"

namespace pinvale {

// The pointer position in screen coordinates.
struct CursorPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

inline constexpr TextView kReadoutSeparator = u" & ";

// Two numbers and the separator between them.
using ReadoutText = FixedText<2 * kNumberTextCapacity + 3>;

// The scale box's percentage as a factor: the number divided by 100.
[[nodiscard]] Outcome<double> ScaleFactor(TextView scaleText, NumberFormat format) noexcept;

// "x & y" with each coordinate multiplied by the factor, as in "600 & 450"
// for (400, 300) at the scale 150. The factor is formed first and each
// coordinate multiplied by it, in double precision. A scale text that is not
// a number, or a product beyond a double, gives the error instead.
[[nodiscard]] Outcome<ReadoutText> MakeReadout(CursorPoint point, TextView scaleText,
                                               NumberFormat format) noexcept;

// The same from a factor already read: for a scale text that has not
// changed since, the reading need not be repeated.
[[nodiscard]] Outcome<ReadoutText> MakeReadout(CursorPoint point, double factor,
                                               NumberFormat format) noexcept;

}  // namespace pinvale
