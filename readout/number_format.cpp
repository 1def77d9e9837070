#include "readout/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "readout/big_decimal.h"
#include "readout/decimal_math.h"

namespace pinvale {
namespace {

constexpr int kSignificantDigits = 15;
// Fixed notation from 1E-04 up to (but not including) 1E+15.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = kSignificantDigits - 1;

// The common case, by integer arithmetic: a magnitude from 1E-05 up to
// 1E+15 scaled by an exact power of ten to 15 whole digits, the product kept
// exactly, and rounded half to even as a correct conversion does. False
// outside that range; the caller then takes the exact conversion.
bool RoundQuickly(double magnitude, detail::RoundedDigits& decimal) noexcept {
  constexpr std::uint64_t kLeast = 100'000'000'000'000;  // 10^14: 15 digits
  constexpr std::uint64_t kBeyond = 10 * kLeast;         // 10^15: 16 digits
  if (!(magnitude >= 1e-5 && magnitude < 1e15)) return false;

  // A first guess of the leading digit's exponent, put right below.
  int exponent = kSignificantDigits - 1;
  while (exponent > 0 && magnitude < detail::kExactPowersOfTen[exponent]) --exponent;

  for (int attempt = 0; attempt < 8; ++attempt) {
    const int scale = kSignificantDigits - 1 - exponent;
    if (scale < 0 || scale > detail::kLargestExactPowerOfTen) return false;
    const auto [product, rest] = detail::MultiplyExactly(magnitude, detail::kExactPowersOfTen[scale]);
    if (product >= static_cast<double>(kBeyond)) {
      ++exponent;
      continue;
    }
    // product + rest is magnitude * 10^scale exactly. Below 10^15 the
    // product's unit in the last place is at most 1/8, so away is exact and
    // rest can tip the rounding only from exactly halfway.
    const double nearest = std::nearbyint(product);  // ties to the even neighbour
    const double away = product - nearest;
    auto digits = static_cast<std::uint64_t>(nearest);
    if (away == 0.5 && rest > 0) ++digits;
    if (away == -0.5 && rest < 0) --digits;
    if (digits >= kBeyond) {
      ++exponent;
      continue;
    }
    if (digits < kLeast) {
      --exponent;
      continue;
    }
    decimal.exponent = exponent;
    // In two halves, so that a 32-bit target divides a 64-bit number once.
    auto high = static_cast<std::uint32_t>(digits / 100'000'000);
    auto low = static_cast<std::uint32_t>(digits % 100'000'000);
    for (int i = kSignificantDigits - 1; i >= 7; --i, low /= 10)
      decimal.digits[i] = static_cast<char>('0' + low % 10);
    for (int i = 6; i >= 0; --i, high /= 10) decimal.digits[i] = static_cast<char>('0' + high % 10);
    decimal.count = kSignificantDigits;
    while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
    return true;
  }
  return false;
}

// A finite, non-zero magnitude rounded to 15 significant digits.
detail::RoundedDigits RoundToFifteenDigits(double magnitude) noexcept {
  detail::RoundedDigits decimal;
  if (RoundQuickly(magnitude, decimal)) return decimal;
  return detail::RoundToSignificantDigits(magnitude, kSignificantDigits);
}

void AppendExponentForm(NumberText& out, const detail::RoundedDigits& d, NumberFormat format) noexcept {
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

void AppendFixedForm(NumberText& out, const detail::RoundedDigits& d, NumberFormat format) noexcept {
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
  if (value < 0) out.Append(u'-');
  const detail::RoundedDigits decimal = RoundToFifteenDigits(std::fabs(value));
  if (decimal.exponent < kSmallestFixedExponent || decimal.exponent > kLargestFixedExponent) {
    AppendExponentForm(out, decimal, format);
  } else {
    AppendFixedForm(out, decimal, format);
  }
  return out;
}

}  // namespace pinvale
