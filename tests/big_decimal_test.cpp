// The exact conversions behind the fast paths, on the values that reach
// them: every binary exponent, subnormals, the edges of the double range
// and halfway cases.

#include "readout/big_decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#if !defined(_WIN32)
#include <cstdio>
#include <cstring>
#endif

namespace pinvale::detail {
namespace {

std::string DigitsOf(const RoundedDigits& rounded) {
  return {rounded.digits, static_cast<std::size_t>(rounded.count)};
}

double Nearest(const std::string& digits, std::int64_t exponent, bool sticky = false) {
  double value = -1;
  EXPECT_TRUE(NearestDouble(digits, exponent, sticky, value)) << digits << "e" << exponent;
  return value;
}

bool Overflows(const std::string& digits, std::int64_t exponent, bool sticky = false) {
  double value = 0;
  return !NearestDouble(digits, exponent, sticky, value);
}

// 17 significant digits name every double: any double, written and read
// back, must come back the same, whatever its exponent.
TEST(BigDecimal, SeventeenDigitsRoundTripEveryExponent) {
  std::mt19937_64 random(20261208);
  int checked = 0;
  while (checked < 20'000) {
    const double value = std::bit_cast<double>(random() >> 1);  // positive, any exponent
    if (!std::isfinite(value) || value == 0) continue;
    const RoundedDigits written = RoundToSignificantDigits(value, 17);
    ASSERT_EQ(Nearest(DigitsOf(written), written.exponent), value) << std::hexfloat << value;
    ++checked;
  }
}

TEST(BigDecimal, EdgesOfTheDoubleRange) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kLeastSubnormal = std::numeric_limits<double>::denorm_min();
  constexpr double kLeastNormal = std::numeric_limits<double>::min();

  // DBL_MAX is 1.797...157e308 and its mantissa odd: exactly halfway to
  // 2^1024 the tie goes up, beyond the range.
  const std::string halfwayToInfinity =
      "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587"
      "207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711"
      "531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093"
      "042880177904174497792";
  EXPECT_EQ(Nearest("17976931348623158079", 308), kMax);
  EXPECT_TRUE(Overflows(halfwayToInfinity, 308));
  EXPECT_TRUE(Overflows("18", 308));
  EXPECT_TRUE(Overflows("1", 400));

  // Half the least subnormal (2^-1075, 752 digits) rounds to even, zero;
  // anything more, if only a digit left off, to the least subnormal.
  const std::string halfTheLeastSubnormal =
      "247032822920623272088284396434110686182529901307162382212792841250337753635104375932649918180817"
      "996189898282347722858865463328355177969898199387398005390939063150356595155702263922908583924491"
      "051844359318028499365361525003193704576782492193656236698636584807570015857692699037063119282795"
      "585513329278343384093519780155312465972635795746227664652728272200563740064854999770965994704540"
      "208281662262378573934507363390079677619305775067401763246736009689513405355374585166611342237666"
      "786041621596804619144672918403005300575308490487653917113865916462395249126236538818796362393732"
      "804238910186723484976682350898633885879256283027559956575244555072551893136908362547791869486679"
      "94968324049705821028513185451396213837722826145437693412532098591327667236328125";
  EXPECT_EQ(Nearest(halfTheLeastSubnormal, -324), 0.0);
  EXPECT_EQ(Nearest(halfTheLeastSubnormal, -324, true), kLeastSubnormal);
  EXPECT_EQ(Nearest("24703282292062327208", -324), 0.0);
  EXPECT_EQ(Nearest("24703282292062327209", -324), kLeastSubnormal);
  EXPECT_EQ(Nearest("1", -340), 0.0);

  // Rounding the largest subnormal up carries into the least normal.
  EXPECT_EQ(Nearest("22250738585072013", -308), kLeastNormal);
  EXPECT_EQ(DigitsOf(RoundToSignificantDigits(kLeastSubnormal, 15)), "494065645841247");
  EXPECT_EQ(RoundToSignificantDigits(kLeastSubnormal, 15).exponent, -324);
  EXPECT_EQ(DigitsOf(RoundToSignificantDigits(kMax, 15)), "179769313486232");
  EXPECT_EQ(RoundToSignificantDigits(kMax, 15).exponent, 308);
}

TEST(BigDecimal, RoundsHalfToEvenAndCarries) {
  EXPECT_EQ(DigitsOf(RoundToSignificantDigits(0.125, 2)), "12");  // exactly halfway: to even
  EXPECT_EQ(DigitsOf(RoundToSignificantDigits(0.375, 2)), "38");
  EXPECT_EQ(DigitsOf(RoundToSignificantDigits(0.15, 1)), "1");  // 0.1499999999999999944...
  const RoundedDigits carried = RoundToSignificantDigits(9.96, 2);
  EXPECT_EQ(DigitsOf(carried), "1");
  EXPECT_EQ(carried.exponent, 1);

  // 2^53 + 1 is halfway between two doubles; a digit left off decides.
  EXPECT_EQ(Nearest("9007199254740993", 15), 9007199254740992.0);
  EXPECT_EQ(Nearest("9007199254740993", 15, true), 9007199254740994.0);
}

#if !defined(_WIN32)
// glibc's printf rounds correctly, so natively it is a reference for the
// fifteen digits the readout writes, over every binary exponent.
TEST(BigDecimal, FifteenDigitsMatchGlibc) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 100'000; ++i) {
    const double value = std::bit_cast<double>(random() >> 1);
    if (!std::isfinite(value) || value == 0) continue;
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.14e", value);
    std::string mantissa;
    for (const char* c = expected; *c != 'e'; ++c)
      if (*c != '.') mantissa += *c;
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    const RoundedDigits rounded = RoundToSignificantDigits(value, 15);
    ASSERT_EQ(DigitsOf(rounded), mantissa) << expected;
    ASSERT_EQ(rounded.exponent, std::stoi(std::string(std::strchr(expected, 'e') + 1))) << expected;
  }
}
#endif

}  // namespace
}  // namespace pinvale::detail
