// Our number conversions against Windows' own, in oleaut32: the number text
// against VarBstrFromR8 and the scale parsing against VarR8FromStr, both in
// the user's default locale. Seeded, so a failure can be replayed.
#include <windows.h>
// oleauto.h needs windows.h first.
#include <gtest/gtest.h>
#include <oleauto.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "platform/platform.h"
#include "readout/number_format.h"
#include "tests/test_text.h"

namespace pinvale {
namespace {

using test::Printable;

constexpr std::uint64_t kSeed = 20261208;
constexpr int kProducts = 100'000;
constexpr int kTexts = 100'000;

std::u16string PlatformNumberText(double value) {
  BSTR text = nullptr;
  if (FAILED(VarBstrFromR8(value, LOCALE_USER_DEFAULT, 0, &text))) return u"<failed>";
  std::u16string result(platform::AsTextView({text, SysStringLen(text)}));
  SysFreeString(text);
  return result;
}

TEST(OleautDifferential, NumberTextMatchesVarBstrFromR8) {
  const NumberFormat format = platform::UserNumberFormat();
  std::mt19937_64 random(kSeed);
  std::uniform_int_distribution<std::int32_t> coordinate(-32768, 32767);
  std::uniform_int_distribution<std::int32_t> tenThousandths(100, 10'000'000);  // 0.01..1000 %

  int differences = 0;
  for (int i = 0; i < kProducts; ++i) {
    const double percentage = tenThousandths(random) / 10000.0;
    const double product = coordinate(random) * (percentage / 100.0);
    const auto ours = FormatNumber(product, format);
    const std::u16string theirs = PlatformNumberText(product);
    if (ours.View() != theirs && ++differences <= 10) {
      ADD_FAILURE() << "product " << product << ": ours " << Printable(ours.View()) << ", oleaut32 "
                    << Printable(theirs);
    }
  }
  std::printf("number text: %d products compared, %d differences\n", kProducts, differences);
  EXPECT_EQ(differences, 0);
}

// A random text of the grammar both sides accept: sign, up to 15 significant
// digits around the separator, a small exponent, blanks around.
std::u16string RandomNumberText(std::mt19937_64& random, char16_t separator) {
  auto chance = [&random](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  auto digits = [&random](int count) {
    std::u16string text;
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < count; ++i) text += static_cast<char16_t>(u'0' + digit(random));
    return text;
  };
  const int total = std::uniform_int_distribution<int>(1, 15)(random);
  const int whole = std::uniform_int_distribution<int>(0, total)(random);

  std::u16string text;
  if (chance(20)) text += u' ';
  if (chance(20)) text += chance(50) ? u'-' : u'+';
  text += digits(whole);
  if (whole < total || chance(10)) text += separator;
  text += digits(total - whole);
  if (chance(30)) {
    text += chance(50) ? u'E' : u'e';
    if (chance(50)) text += chance(50) ? u'-' : u'+';
    text += std::u16string(1, static_cast<char16_t>(u'0' + std::uniform_int_distribution<int>(0, 2)(random)));
    text += digits(1);
  }
  if (chance(20)) text += u' ';
  return text;
}

// A decimal as significant digits and the power of ten of the last one, so
// that "12.50", "1.25e1" and "0012.5" all read "125e-1". Input is a text of
// the grammar above, with the given separator.
std::string CanonicalDecimal(std::u16string_view text, char16_t separator) {
  std::string digits;
  int scale = 0;
  bool inFraction = false;
  bool negative = false;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != u'e' && text[i] != u'E'; ++i) {
    const char16_t c = text[i];
    if (c == u'-') negative = true;
    if (c == separator) inFraction = true;
    if (c < u'0' || c > u'9') continue;
    if (!(digits.empty() && c == u'0')) digits += static_cast<char>(c);
    if (inFraction) --scale;
  }
  if (i < text.size())
    scale += std::stoi(std::string(text.begin() + static_cast<std::ptrdiff_t>(i) + 1, text.end()));
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++scale;
  }
  if (digits.empty()) return "0";
  return (negative ? "-" : "") + digits + "e" + std::to_string(scale);
}

// Whether a double is the one nearest to the decimal text: the shortest text
// that reads back to it (libstdc++'s to_chars, a different algorithm from the
// parser's) spells the same decimal. A text of at most 15 significant digits
// always survives that round trip when it was rounded correctly.
bool IsNearestDouble(double value, std::u16string_view text, char16_t separator) {
  char shortest[32];
  const char* end =
      std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific).ptr;
  std::u16string shortestText;
  for (const char* c = shortest; c != end; ++c) shortestText += static_cast<char16_t>(*c);
  return CanonicalDecimal(shortestText, u'.') == CanonicalDecimal(text, separator);
}

std::string Exact(double value) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

TEST(OleautDifferential, ScaleParsingMatchesVarR8FromStr) {
  const NumberFormat format = platform::UserNumberFormat();
  std::mt19937_64 random(kSeed);
  int differences = 0;
  int platformMisses = 0;  // the platform one unit in the last place off, ours nearest
  for (int i = 0; i < kTexts; ++i) {
    const std::u16string text = RandomNumberText(random, format.decimalSeparator);
    const auto ours = ParseNumber(text, format);
    double theirs = 0;
    const HRESULT result =
        VarR8FromStr(const_cast<wchar_t*>(platform::AsWide(text.c_str())), LOCALE_USER_DEFAULT, 0, &theirs);
    ASSERT_TRUE(ours.Ok()) << Printable(text);
    ASSERT_TRUE(IsNearestDouble(ours.Value(), text, format.decimalSeparator))
        << Printable(text) << " read as " << Exact(ours.Value());
    if (SUCCEEDED(result) && theirs == ours.Value()) continue;
    if (SUCCEEDED(result) && std::nextafter(theirs, ours.Value()) == ours.Value()) {
      ++platformMisses;
      std::printf("  \"%s\": ours %s (nearest), oleaut32 %s\n", Printable(text).c_str(),
                  Exact(ours.Value()).c_str(), Exact(theirs).c_str());
      continue;
    }
    if (++differences <= 10) {
      ADD_FAILURE() << "\"" << Printable(text) << "\": ours " << Exact(ours.Value()) << ", oleaut32 "
                    << (SUCCEEDED(result) ? Exact(theirs) : "no number");
    }
  }
  std::printf(
      "scale parsing: %d texts compared, %d differences, %d where oleaut32 missed the "
      "nearest double by one unit in the last place\n",
      kTexts, differences, platformMisses);
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace pinvale
