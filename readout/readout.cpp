#include "readout/readout.h"

#include <cmath>

namespace pinvale {

Outcome<double> ScaleFactor(TextView scaleText, NumberFormat format) noexcept {
  const Outcome<double> percentage = ParseNumber(scaleText, format);
  if (!percentage.Ok()) return percentage;
  return percentage.Value() / 100.0;
}

Outcome<ReadoutText> MakeReadout(CursorPoint point, TextView scaleText, NumberFormat format) noexcept {
  const Outcome<double> factor = ScaleFactor(scaleText, format);
  if (!factor.Ok()) return factor.Error();
  return MakeReadout(point, factor.Value(), format);
}

Outcome<ReadoutText> MakeReadout(CursorPoint point, double factor, NumberFormat format) noexcept {
  // The old runtime went through each coordinate's text and read it back;
  // an int32 survives that round trip exactly, so the integer is used as is.
  const double x = static_cast<double>(point.x) * factor;
  const double y = static_cast<double>(point.y) * factor;
  if (!std::isfinite(x) || !std::isfinite(y)) return ConversionError::Overflow;

  ReadoutText text;
  text.Append(FormatNumber(x, format).View());
  text.Append(kReadoutSeparator);
  text.Append(FormatNumber(y, format).View());
  return text;
}

}  // namespace pinvale
