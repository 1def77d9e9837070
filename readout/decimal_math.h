#pragma once
// Exact arithmetic helpers for the readout's number conversions.

#include <cstdint>

#if defined(__i386__) && !defined(__SSE2_MATH__)
#error "build with -msse2 -mfpmath=sse: the conversions rely on each double operation rounding once"
#endif

namespace pinvale::detail {

// Powers of ten that are exact doubles.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr int kLargestExactPowerOfTen = 22;

// a * b exactly, as hi + lo (Dekker's product; needs no fused multiply-add).
struct ExactProduct {
  double hi;
  double lo;
};

constexpr ExactProduct MultiplyExactly(double a, double b) noexcept {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const auto split = [](double x, double& high, double& low) {
    const double scaled = kSplitter * x;
    high = scaled - (scaled - x);
    low = x - high;
  };
  double aHigh = 0, aLow = 0, bHigh = 0, bLow = 0;
  split(a, aHigh, aLow);
  split(b, bHigh, bLow);
  const double hi = a * b;
  const double lo = ((aHigh * bHigh - hi) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
  return {hi, lo};
}

}  // namespace pinvale::detail
