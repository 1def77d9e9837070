#include "readout/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <system_error>

namespace pinvale {
namespace {

constexpr int kSignificantDigits = 15;
// Fixed notation from 1E-04 up to (but not including) 1E+15.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = kSignificantDigits - 1;

// A finite, non-zero double split into its 15 rounded significant digits
// (trailing zeros dropped) and the decimal exponent of the first one.
struct Decimal {
  bool negative = false;
  char digits[kSignificantDigits] = {};
  int count = 0;
  int exponent = 0;
};

Decimal ToDecimal(double value) noexcept {
  // "-d.dddddddddddddde+ddd": to_chars rounds correctly, unlike some printfs.
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                     kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));

  Decimal decimal;
  std::size_t i = 0;
  if (text[i] == '-') {
    decimal.negative = true;
    ++i;
  }
  for (; text[i] != 'e'; ++i) {
    if (text[i] != '.') decimal.digits[decimal.count++] = text[i];
  }
  const auto exponentText = text.substr(i + 1);
  const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
  std::from_chars(first, exponentText.data() + exponentText.size(), decimal.exponent);
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
  return decimal;
}

void AppendExponentForm(NumberText& out, const Decimal& d, NumberFormat format) noexcept {
  out.Append(static_cast<char16_t>(d.digits[0]));
  if (d.count > 1) {
    out.Append(format.decimalSeparator);
    for (int i = 1; i < d.count; ++i) out.Append(static_cast<char16_t>(d.digits[i]));
  }
  out.Append(u'E');
  out.Append(d.exponent < 0 ? u'-' : u'+');
  const int magnitude = std::abs(d.exponent);
  if (magnitude < 10) out.Append(u'0');
  char buffer[8];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  out.AppendAscii({buffer, static_cast<std::size_t>(written.ptr - buffer)});
}

void AppendFixedForm(NumberText& out, const Decimal& d, NumberFormat format) noexcept {
  const auto digit = [&d](int i) { return static_cast<char16_t>(i < d.count ? d.digits[i] : '0'); };
  if (d.exponent < 0) {
    out.Append(u'0');
    out.Append(format.decimalSeparator);
    for (int i = -1; i > d.exponent; --i) out.Append(u'0');
    for (int i = 0; i < d.count; ++i) out.Append(digit(i));
    return;
  }
  for (int i = 0; i <= d.exponent; ++i) out.Append(digit(i));
  if (d.count > d.exponent + 1) {
    out.Append(format.decimalSeparator);
    for (int i = d.exponent + 1; i < d.count; ++i) out.Append(digit(i));
  }
}

}  // namespace

FixedText<12> AxisText(std::int32_t value) noexcept {
  FixedText<12> out;
  char buffer[12];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (value >= 0) out.Append(u' ');
  out.AppendAscii({buffer, static_cast<std::size_t>(written.ptr - buffer)});
  return out;
}

NumberText FormatNumber(double value, NumberFormat format) noexcept {
  NumberText out;
  if (std::isnan(value)) {
    out.AppendAscii("NaN");
    return out;
  }
  if (std::isinf(value)) {
    out.AppendAscii(value < 0 ? "-Infinity" : "Infinity");
    return out;
  }
  if (value == 0) {  // negative zero too: a readout never shows "-0"
    out.Append(u'0');
    return out;
  }
  const Decimal decimal = ToDecimal(value);
  if (decimal.negative) out.Append(u'-');
  if (decimal.exponent < kSmallestFixedExponent || decimal.exponent > kLargestFixedExponent) {
    AppendExponentForm(out, decimal, format);
  } else {
    AppendFixedForm(out, decimal, format);
  }
  return out;
}

}  // namespace pinvale
