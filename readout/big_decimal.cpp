#include "readout/big_decimal.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

namespace pinvale::detail {
namespace {

// A non-negative decimal 0.d1d2d3... x 10^point with up to kCapacity digits,
// multiplied and divided by powers of two exactly, digit by digit. A double
// needs at most 767 significant digits (2^-1074 has 751), so conversions of
// doubles never lose a digit; a longer decimal read from text keeps whether
// it dropped non-zero digits, which is all that rounding needs of them.
class BigDecimal {
 public:
  static constexpr int kCapacity = 800;

  void Assign(std::uint64_t value) noexcept {
    std::uint8_t reversed[20];
    int n = 0;
    for (; value > 0; value /= 10) reversed[n++] = static_cast<std::uint8_t>(value % 10);
    count_ = n;
    for (int i = 0; i < n; ++i) digits_[i] = reversed[n - 1 - i];
    point_ = n;
    truncated_ = false;
    TrimTrailingZeros();
  }

  void Assign(std::string_view asciiDigits, int point, bool truncated) noexcept {
    count_ = static_cast<int>(std::min<std::size_t>(asciiDigits.size(), kCapacity));
    for (int i = 0; i < count_; ++i)
      digits_[i] = static_cast<std::uint8_t>(asciiDigits[static_cast<std::size_t>(i)] - '0');
    point_ = point;
    truncated_ = truncated;
    TrimTrailingZeros();
  }

  // Multiplies by 2^shift, or divides for a negative shift.
  void ShiftBinary(int shift) noexcept {
    if (count_ == 0) return;
    for (; shift > 0; shift -= std::min(shift, kMaxShift)) ShiftLeft(std::min(shift, kMaxShift));
    for (; shift < 0; shift += std::min(-shift, kMaxShift)) ShiftRight(std::min(-shift, kMaxShift));
  }

  // Keeps the first `n` digits, rounding half to even.
  void Round(int n) noexcept {
    if (n < 0 || n >= count_) return;
    if (ShouldRoundUp(n)) {
      RoundUp(n);
    } else {
      count_ = n;
      TrimTrailingZeros();
    }
  }

  // The nearest whole number, halfway to even; only for values below 2^64.
  [[nodiscard]] std::uint64_t RoundedInteger() const noexcept {
    std::uint64_t n = 0;
    int i = 0;
    for (; i < point_ && i < count_; ++i) n = n * 10 + static_cast<std::uint64_t>(digits_[i]);
    for (; i < point_; ++i) n *= 10;
    if (ShouldRoundUp(point_)) ++n;
    return n;
  }

  [[nodiscard]] bool IsZero() const noexcept { return count_ == 0; }
  [[nodiscard]] int Count() const noexcept { return count_; }
  [[nodiscard]] int Point() const noexcept { return point_; }
  [[nodiscard]] int Digit(int i) const noexcept { return digits_[i]; }

 private:
  // 9 x 2^60 plus a carry still fits 64 bits.
  static constexpr int kMaxShift = 60;

  void TrimTrailingZeros() noexcept {
    while (count_ > 0 && digits_[count_ - 1] == 0) --count_;
    if (count_ == 0) point_ = 0;
  }

  // Whether dropping the digits from index n on rounds up: the first of them
  // is above 5, or exactly 5 and followed by more (if only by truncated
  // ones), or exactly halfway and the digit before it odd.
  [[nodiscard]] bool ShouldRoundUp(int n) const noexcept {
    if (n < 0 || n >= count_) return false;
    if (digits_[n] == 5 && n + 1 == count_) {
      if (truncated_) return true;
      return n > 0 && digits_[n - 1] % 2 == 1;
    }
    return digits_[n] >= 5;
  }

  void RoundUp(int n) noexcept {
    int i = n - 1;
    while (i >= 0 && digits_[i] == 9) --i;
    if (i < 0) {  // 999.. became 1000..
      digits_[0] = 1;
      count_ = 1;
      ++point_;
      return;
    }
    ++digits_[i];
    count_ = i + 1;
  }

  // Multiplies by 2^shift, from the last digit to the first, into a buffer
  // with room for the new leading digits.
  void ShiftLeft(int shift) noexcept {
    std::uint8_t shifted[kCapacity + 20] = {};
    int write = static_cast<int>(sizeof shifted);
    std::uint64_t carry = 0;
    for (int read = count_ - 1; read >= 0; --read) {
      carry += static_cast<std::uint64_t>(digits_[read]) << shift;
      shifted[--write] = static_cast<std::uint8_t>(carry % 10);
      carry /= 10;
    }
    for (; carry > 0; carry /= 10) shifted[--write] = static_cast<std::uint8_t>(carry % 10);
    const int total = static_cast<int>(sizeof shifted) - write;
    point_ += total - count_;
    count_ = std::min(total, kCapacity);
    std::memcpy(digits_, shifted + write, static_cast<std::size_t>(count_));
    for (int i = count_; i < total; ++i) truncated_ = truncated_ || shifted[write + i] != 0;
    TrimTrailingZeros();
  }

  // Divides by 2^shift: long division, first digit to last, in place.
  void ShiftRight(int shift) noexcept {
    int read = 0;
    int write = 0;
    std::uint64_t n = 0;
    // Take in digits until the quotient's first digit is known.
    for (; (n >> shift) == 0; ++read) {
      if (read >= count_) {
        // Past the last digit: what is left is below 2^shift, so take zeros.
        for (; (n >> shift) == 0; ++read) n *= 10;
        break;
      }
      n = n * 10 + static_cast<std::uint64_t>(digits_[read]);
    }
    point_ -= read - 1;
    const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
    for (; read < count_; ++read) {
      const auto next = static_cast<std::uint64_t>(digits_[read]);
      digits_[write++] = static_cast<std::uint8_t>(n >> shift);
      n = (n & mask) * 10 + next;
    }
    for (; n > 0; n = (n & mask) * 10) {
      const auto digit = static_cast<std::uint8_t>(n >> shift);
      if (write < kCapacity) {
        digits_[write++] = digit;
      } else if (digit > 0) {
        truncated_ = true;
      }
    }
    count_ = write;
    TrimTrailingZeros();
  }

  std::uint8_t digits_[kCapacity] = {};  // digit values 0 to 9, not ASCII
  int count_ = 0;
  int point_ = 0;
  bool truncated_ = false;
};

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;
constexpr int kMaxBiasedExponent = 2047;  // infinities and NaN

}  // namespace

RoundedDigits RoundToSignificantDigits(double value, int significant) noexcept {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << kMantissaBits) - 1);
  int exponent = static_cast<int>((bits >> kMantissaBits) & kMaxBiasedExponent);
  if (exponent == 0) {
    exponent = 1;  // subnormal
  } else {
    mantissa |= std::uint64_t{1} << kMantissaBits;
  }
  BigDecimal decimal;
  decimal.Assign(mantissa);
  decimal.ShiftBinary(exponent - kExponentBias - kMantissaBits);
  decimal.Round(significant);

  RoundedDigits rounded;
  rounded.count = std::min(decimal.Count(), significant);
  for (int i = 0; i < rounded.count; ++i) rounded.digits[i] = static_cast<char>('0' + decimal.Digit(i));
  rounded.exponent = decimal.Point() - 1;
  return rounded;
}

bool NearestDouble(std::string_view digits, std::int64_t exponent, bool sticky, double& value) noexcept {
  value = 0;
  // Beyond these the answer is known: DBL_MAX is 1.8E+308 and the least
  // subnormal 4.9E-324, and the digits cannot bridge the gap.
  if (digits.empty() || exponent < -340) return true;
  if (exponent > 309) return false;

  BigDecimal decimal;
  decimal.Assign(digits, static_cast<int>(exponent) + 1, sticky);
  if (decimal.IsZero()) return true;

  // Halve or double until the decimal is in [0.5, 1), counting the power of
  // two, a few bits at a time; each step is exact.
  constexpr int kStepBits[] = {1, 3, 6, 9, 13, 16, 19, 23, 26};  // below 10^index
  constexpr int kSteps = static_cast<int>(std::size(kStepBits));
  int binaryExponent = 0;
  while (decimal.Point() > 0) {
    const int n = decimal.Point() >= kSteps ? 27 : kStepBits[decimal.Point()];
    decimal.ShiftBinary(-n);
    binaryExponent += n;
  }
  while (decimal.Point() < 0 || (decimal.Point() == 0 && decimal.Digit(0) < 5)) {
    const int n = -decimal.Point() >= kSteps ? 27 : kStepBits[-decimal.Point()];
    decimal.ShiftBinary(n);
    binaryExponent -= n;
  }
  // From [0.5, 1) to a double's [1, 2).
  --binaryExponent;

  // Below the least normal exponent the number is subnormal: fewer bits.
  const int leastExponent = 1 - kExponentBias;
  if (binaryExponent < leastExponent) {
    decimal.ShiftBinary(binaryExponent - leastExponent);
    binaryExponent = leastExponent;
  }
  if (binaryExponent + kExponentBias >= kMaxBiasedExponent) return false;

  decimal.ShiftBinary(1 + kMantissaBits);
  std::uint64_t mantissa = decimal.RoundedInteger();
  if (mantissa == std::uint64_t{2} << kMantissaBits) {  // rounding carried into a new bit
    mantissa >>= 1;
    ++binaryExponent;
    if (binaryExponent + kExponentBias >= kMaxBiasedExponent) return false;
  }
  int biased = binaryExponent + kExponentBias;
  if ((mantissa & (std::uint64_t{1} << kMantissaBits)) == 0) biased = 0;  // subnormal or zero

  const std::uint64_t bits = (mantissa & ((std::uint64_t{1} << kMantissaBits) - 1)) |
                             (static_cast<std::uint64_t>(biased) << kMantissaBits);
  value = std::bit_cast<double>(bits);
  return true;
}

}  // namespace pinvale::detail
