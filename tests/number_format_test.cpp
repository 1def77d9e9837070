#include "readout/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/test_text.h"

namespace pinvale {
namespace {

using test::Printable;

constexpr NumberFormat kFullStop{u'.'};
constexpr NumberFormat kComma{u','};

struct FormatCase {
  double value;
  const char* expected;
};

TEST(FormatNumber, RoundsToFifteenSignificantDigits) {
  const FormatCase cases[] = {
      {201 * 1.1, "221.1"},  // 221.10000000000002 in binary
      {7 * 1.15, "8.05"},    // 8.049999999999999 in binary
      {333 * 1.1, "366.3"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {123456789012345.6, "123456789012346"},
      {999999999999999.4, "999999999999999"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Printable(FormatNumber(c.value, kFullStop).View()), c.expected) << c.value;
  }
}

TEST(FormatNumber, ExactHalvesRoundToEven) {
  // 2^49 + 0.5 and 2^49 + 1.5 end in an exact 5 at the 16th digit.
  const FormatCase cases[] = {
      {562949953421312.5, "562949953421312"},
      {562949953421313.5, "562949953421314"},
      {-562949953421313.5, "-562949953421314"},
      {56294995342131.25, "56294995342131.2"},
      {0.00001, "1E-05"},
      {0.000099999999999999991, "0.0001"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Printable(FormatNumber(c.value, kFullStop).View()), c.expected) << c.value;
  }
}

TEST(FormatNumber, WholeAndNegativeValuesAndZero) {
  const FormatCase cases[] = {
      {600.0, "600"}, {450.0, "450"}, {-192.0, "-192"},          {499.5, "499.5"},   {0.0, "0"},
      {-0.0, "0"},    {-0.5, "-0.5"}, {1e14, "100000000000000"}, {0.0001, "0.0001"}, {-0.00012, "-0.00012"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Printable(FormatNumber(c.value, kFullStop).View()), c.expected) << c.value;
  }
}

TEST(FormatNumber, ExponentFormOutsideFixedRange) {
  const FormatCase cases[] = {
      {1e15, "1E+15"},
      {999999999999999.9, "1E+15"},  // rounding decides the form
      {1.5e-5, "1.5E-05"},
      {-1.5e-5, "-1.5E-05"},
      {9.999999999999999e-5, "0.0001"},
      {1.25e100, "1.25E+100"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Printable(FormatNumber(c.value, kFullStop).View()), c.expected) << c.value;
  }
}

TEST(FormatNumber, UsesTheLocaleSeparator) {
  EXPECT_EQ(Printable(FormatNumber(37.5, kComma).View()), "37,5");
  EXPECT_EQ(Printable(FormatNumber(1.5e-5, kComma).View()), "1,5E-05");
  EXPECT_EQ(Printable(FormatNumber(0.25, kComma).View()), "0,25");
  EXPECT_EQ(Printable(FormatNumber(1234567.0, kComma).View()), "1234567");  // no group separator
}

TEST(FormatNumber, NonFiniteValuesAreNamed) {
  EXPECT_EQ(Printable(FormatNumber(std::numeric_limits<double>::infinity(), kFullStop).View()), "Infinity");
  EXPECT_EQ(Printable(FormatNumber(-std::numeric_limits<double>::infinity(), kFullStop).View()), "-Infinity");
  EXPECT_EQ(Printable(FormatNumber(std::nan(""), kFullStop).View()), "NaN");
}

}  // namespace
}  // namespace pinvale
