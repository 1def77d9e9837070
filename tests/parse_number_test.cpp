#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>

#include "readout/number_format.h"
#include "tests/test_text.h"

namespace pinvale {
namespace {

using test::Printable;

constexpr NumberFormat kFullStop{u'.'};
constexpr NumberFormat kComma{u','};

struct AcceptCase {
  const char16_t* text;
  double expected;
};

TEST(ParseNumber, AcceptsTheGrammar) {
  const AcceptCase cases[] = {
      {u"150", 150},
      {u"+150", 150},
      {u"-150", -150},
      {u"12.5", 12.5},
      {u".5", 0.5},
      {u"5.", 5},
      {u"007", 7},
      {u"1e2", 100},
      {u"1E2", 100},
      {u"1.5e+2", 150},
      {u"15000e-2", 150},
      {u"0", 0},
      {u"1e-400", 0},
      {u"0e99999999999", 0},
      {u"000.000", 0},
      {u"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {u"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      {u"0.1", 0.1},
      {u"110", 110},
      {u"1e0000000000000000000002", 100},
      // On 32-bit x86 an extended-precision product once read these one unit off.
      {u"5407.669984e+27", 5407.669984e+27},
      {u"3.68239147", 3.68239147},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseNumber(c.text, kFullStop);
    ASSERT_TRUE(parsed.Ok()) << Printable(c.text);
    EXPECT_EQ(parsed.Value(), c.expected) << Printable(c.text);
  }
}

TEST(ParseNumber, IgnoresBlanksAroundTheNumber) {
  for (const char16_t* text :
       {u" 150", u"150 ", u"  150  ", u"\t150\t", u"\u00A0150\u00A0", u"\u3000150\u3000", u" \t\u3000 150"}) {
    const auto parsed = ParseNumber(text, kFullStop);
    ASSERT_TRUE(parsed.Ok()) << Printable(text);
    EXPECT_EQ(parsed.Value(), 150) << Printable(text);
  }
}

TEST(ParseNumber, RejectsWhatIsNotANumber) {
  for (const char16_t* text : {u"",
                               u" ",
                               u"\t\u3000",
                               u"abc",
                               u"-",
                               u"+",
                               u".",
                               u"-.",
                               u"e5",
                               u"1e",
                               u"1e+",
                               u"1.5.2",
                               u"--1",
                               u"+-1",
                               u"1 5",
                               u"1,5",  // group separators never read as 15
                               u"inf",
                               u"Infinity",
                               u"nan",
                               u"0x10",
                               u"&H10",
                               u"$150",
                               u"150%",
                               u"(150)",
                               u"\uFF11\uFF15\uFF10",  // full-width 150
                               u"\u2212"
                               u"150",  // the minus sign, not the hyphen
                               u"150\n",
                               u"1d2",
                               u"1e2.5"}) {
    const auto parsed = ParseNumber(text, kFullStop);
    ASSERT_FALSE(parsed.Ok()) << Printable(text);
    EXPECT_EQ(parsed.Error(), ConversionError::NotANumber) << Printable(text);
  }
}

TEST(ParseNumber, TellsOverflowFromNotANumber) {
  for (const char16_t* text : {u"1e309", u"-1e309", u"1.8e308", u"1e99999999999999999999",
                               u"100000000000000000000000000000000000000000000000000000000000000000"
                               u"0000000000000000000000000000000000000000000000000000000000000000000"
                               u"0000000000000000000000000000000000000000000000000000000000000000000"
                               u"0000000000000000000000000000000000000000000000000000000000000000000"
                               u"00000000000000000000000000000000000000000000000000"}) {
    const auto parsed = ParseNumber(text, kFullStop);
    ASSERT_FALSE(parsed.Ok()) << Printable(text);
    EXPECT_EQ(parsed.Error(), ConversionError::Overflow) << Printable(text);
  }
}

TEST(ParseNumber, FollowsTheLocaleSeparator) {
  const auto comma = ParseNumber(u"12,5", kComma);
  ASSERT_TRUE(comma.Ok());
  EXPECT_EQ(comma.Value(), 12.5);
  // In a comma locale the full stop is neither decimal nor group separator.
  EXPECT_FALSE(ParseNumber(u"12.5", kComma).Ok());
  EXPECT_FALSE(ParseNumber(u"1.500", kComma).Ok());
}

TEST(ParseNumber, LongTextsRoundCorrectly) {
  // Digits far past the 768 that decide rounding still count when non-zero.
  const std::u16string half = u"9007199254740993" + std::u16string(1000, u'0');
  const std::u16string justAbove = half + u"1";
  const auto atHalf = ParseNumber(half + u"e-1000", kFullStop);
  const auto aboveHalf = ParseNumber(justAbove + u"e-1001", kFullStop);
  ASSERT_TRUE(atHalf.Ok());
  ASSERT_TRUE(aboveHalf.Ok());
  EXPECT_EQ(atHalf.Value(), 9007199254740992.0);     // a tie goes to even
  EXPECT_EQ(aboveHalf.Value(), 9007199254740994.0);  // anything above it rounds up

  const std::u16string manyZeros = u"0." + std::u16string(30000, u'0') + u"15e30003";
  const auto parsed = ParseNumber(manyZeros, kFullStop);
  ASSERT_TRUE(parsed.Ok());
  EXPECT_EQ(parsed.Value(), 150);
}

// A pasted text of any length costs one pass: ten times the length, about
// ten times the time, never the square of it. The best of several runs, so
// that one preemption of the test does not decide.
TEST(ParseNumber, TimeGrowsLinearlyWithLength) {
  const auto bestTimeOf = [](const std::u16string& text) {
    auto best = std::chrono::steady_clock::duration::max();
    for (int run = 0; run < 7; ++run) {
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < 20; ++i) EXPECT_TRUE(ParseNumber(text, kFullStop).Ok());
      best = std::min(best, std::chrono::steady_clock::now() - start);
    }
    return best;
  };
  const auto text = [](std::size_t zeros) {  // 150, written with that many zeros
    const std::string exponent = std::to_string(zeros + 3);
    return u"0." + std::u16string(zeros, u'0') + u"15e" + std::u16string(exponent.begin(), exponent.end());
  };
  const auto shortText = bestTimeOf(text(30'000));
  const auto longText = bestTimeOf(text(300'000));
  EXPECT_LT(shortText, std::chrono::milliseconds(100)) << "20 readings of 30,000 characters";
  EXPECT_LT(longText, shortText * 40) << "ten times the length took far more than ten times as long";
}

}  // namespace
}  // namespace pinvale
