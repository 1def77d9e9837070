#include "readout/readout.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/test_text.h"

namespace pinvale {
namespace {

using test::Printable;

constexpr NumberFormat kFullStop{u'.'};
constexpr NumberFormat kComma{u','};

struct ReadoutCase {
  CursorPoint point;
  const char16_t* scale;
  const char* expected;
};

TEST(MakeReadout, ScalesBothCoordinates) {
  const ReadoutCase cases[] = {
      {{400, 300}, u"150", "600 & 450"},
      {{333, 201}, u"150", "499.5 & 301.5"},
      {{333, 201}, u"125", "416.25 & 251.25"},
      {{333, 201}, u"110", "366.3 & 221.1"},  // no tail of binary digits
      {{7, 3}, u"115", "8.05 & 3.45"},
      {{400, 300}, u"12.5", "50 & 37.5"},
      {{-128, 0}, u"150", "-192 & 0"},
      {{400, 300}, u"100", "400 & 300"},
      {{400, 300}, u"0", "0 & 0"},
      {{-5, 0}, u"-0", "0 & 0"},  // no negative zero
      {{0, 0}, u"150", "0 & 0"},  // what a failed pointer read shows
      {{400, 300}, u"  150  ", "600 & 450"},
      {{std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
       u"100",
       "-2147483648 & 2147483647"},
  };
  for (const auto& c : cases) {
    const auto readout = MakeReadout(c.point, c.scale, kFullStop);
    ASSERT_TRUE(readout.Ok()) << Printable(c.scale);
    EXPECT_EQ(Printable(readout.Value().View()), c.expected)
        << c.point.x << "," << c.point.y << " at " << Printable(c.scale);
  }
}

TEST(MakeReadout, FactorFirstThenProduct) {
  // 3 x (7 / 100) and (3 x 7) / 100 differ in the last bit; the 15-digit text hides
  // that, so compare the factor itself.
  const auto factor = ScaleFactor(u"7", kFullStop);
  ASSERT_TRUE(factor.Ok());
  EXPECT_EQ(factor.Value(), 7 / 100.0);
}

TEST(MakeReadout, CommaLocale) {
  const auto readout = MakeReadout({333, 201}, u"12,5", kComma);
  ASSERT_TRUE(readout.Ok());
  EXPECT_EQ(Printable(readout.Value().View()), "41,625 & 25,125");
}

TEST(MakeReadout, ReportsWhyThereIsNoReadout) {
  struct FailureCase {
    CursorPoint point;
    const char16_t* scale;
    ConversionError expected;
  };
  const FailureCase cases[] = {
      {{400, 300}, u"", ConversionError::NotANumber},
      {{400, 300}, u"abc", ConversionError::NotANumber},
      {{400, 300}, u"-", ConversionError::NotANumber},
      {{400, 300}, u"1e400", ConversionError::Overflow},
      // The scale fits in a double, but a product does not.
      {{400, 300}, u"1e308", ConversionError::Overflow},
      {{-200, 0}, u"1e308", ConversionError::Overflow},
  };
  for (const auto& c : cases) {
    const auto readout = MakeReadout(c.point, c.scale, kFullStop);
    ASSERT_FALSE(readout.Ok()) << Printable(c.scale);
    EXPECT_EQ(readout.Error(), c.expected) << Printable(c.scale);
  }
  // A zero coordinate never overflows, whatever the scale.
  EXPECT_TRUE(MakeReadout({0, 0}, u"1e308", kFullStop).Ok());
}

}  // namespace
}  // namespace pinvale
