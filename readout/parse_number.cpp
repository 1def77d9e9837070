#include <algorithm>
#include <cmath>
#include <cstdint>

#include "readout/big_decimal.h"
#include "readout/decimal_math.h"
#include "readout/number_format.h"

namespace pinvale {
namespace {

constexpr bool IsBlank(char16_t c) noexcept {
  // Chinese input methods type the ideographic space; pastes bring no-break spaces.
  return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u3000';
}

constexpr bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

TextView TrimBlanks(TextView text) noexcept {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The significant digits of a decimal mantissa and the power of ten that
// scales them. Only the first 768 significant digits can decide how a
// decimal rounds to a double; of the rest it matters only whether any is
// non-zero, kept as a "sticky" flag. So a pasted 30,000-digit text costs
// one pass and a fixed buffer.
// digits_ is left unzeroed on purpose (see there).
// NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init)
class Mantissa {
 public:
  void AddDigit(char16_t c, bool inFraction) noexcept {
    ++digitsSeen_;
    if (count_ == 0 && c == u'0') {  // leading zero: only its place counts
      if (inFraction) --scale_;
      return;
    }
    if (count_ < kKeptDigits) {
      digits_[count_++] = static_cast<char>(c);
      if (inFraction) --scale_;
      return;
    }
    sticky_ = sticky_ || c != u'0';
    if (!inFraction) ++scale_;
  }

  [[nodiscard]] bool HasDigits() const noexcept { return digitsSeen_ > 0; }

  Outcome<double> ToDouble(bool negative, std::int64_t exponent) noexcept {
    const double zero = negative ? -0.0 : 0.0;
    if (count_ == 0) return zero;
    std::int64_t scale = scale_ + exponent;

    // Up to 15 digits and a power of ten that is an exact double: one
    // multiplication or division of exact numbers, rounded once (Clinger).
    if (!sticky_ && count_ <= 15 && scale >= -detail::kLargestExactPowerOfTen &&
        scale <= detail::kLargestExactPowerOfTen) {
      std::uint64_t whole = 0;
      for (std::size_t i = 0; i < count_; ++i)
        whole = whole * 10 + static_cast<std::uint64_t>(digits_[i] - '0');
      const auto w = static_cast<double>(whole);
      const double value =
          scale >= 0 ? w * detail::kExactPowersOfTen[scale] : w / detail::kExactPowersOfTen[-scale];
      return negative ? -value : value;
    }
    // Decimal exponent of the leading digit.
    const std::int64_t magnitude = static_cast<std::int64_t>(count_) - 1 + scale;
    double value = 0;
    if (!detail::NearestDouble({digits_, count_}, magnitude, sticky_, value))
      return ConversionError::Overflow;
    return negative ? -value : value;
  }

 private:
  static constexpr std::size_t kKeptDigits = 768;

  // Only the first count_ are ever read; zeroing the rest would cost more
  // than the whole parse of a short scale.
  char digits_[kKeptDigits];
  std::size_t count_ = 0;
  std::size_t digitsSeen_ = 0;
  std::int64_t scale_ = 0;
  bool sticky_ = false;
};

// Exponents beyond this are absurd but must not overflow the arithmetic.
constexpr std::int64_t kExponentClamp = 1'000'000'000;

}  // namespace

Outcome<double> ParseNumber(TextView text, NumberFormat format) noexcept {
  text = TrimBlanks(text);
  std::size_t i = 0;
  const auto more = [&] { return i < text.size(); };

  bool negative = false;
  if (more() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  Mantissa mantissa;
  while (more() && IsDigit(text[i])) mantissa.AddDigit(text[i++], false);
  if (more() && text[i] == format.decimalSeparator) {
    ++i;
    while (more() && IsDigit(text[i])) mantissa.AddDigit(text[i++], true);
  }
  if (!mantissa.HasDigits()) return ConversionError::NotANumber;

  std::int64_t exponent = 0;
  if (more() && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    bool exponentNegative = false;
    if (more() && (text[i] == u'+' || text[i] == u'-')) exponentNegative = text[i++] == u'-';
    if (!more() || !IsDigit(text[i])) return ConversionError::NotANumber;
    while (more() && IsDigit(text[i])) {
      exponent = std::min(exponent * 10 + (text[i++] - u'0'), kExponentClamp);
    }
    if (exponentNegative) exponent = -exponent;
  }
  if (more()) return ConversionError::NotANumber;
  return mantissa.ToDouble(negative, exponent);
}

}  // namespace pinvale
