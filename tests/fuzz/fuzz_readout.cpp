// Fuzzes the whole readout: pointer position, separator and scale text.
// Every readout must be two numbers around " & ", each with at most 15
// significant digits, no trailing zeros after the separator, never "-0",
// and reading back as the product rounded to 15 significant digits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "readout/readout.h"
#include "tests/fuzz/reference.h"

using namespace pinvale;

namespace {

std::int32_t Int32At(const std::uint8_t* data) {
  std::uint32_t value = 0;
  std::memcpy(&value, data, sizeof value);
  return static_cast<std::int32_t>(value);
}

// Checks one number of the readout against the product it should show.
void CheckNumber(const std::string& text, double product) {
  // -? digits (. digits ending in 1-9)? (E [+-] two or three digits)?
  if (text == "-0") fuzz::Fail("negative zero shown");
  std::string_view rest = text;
  if (!rest.empty() && rest[0] == '-') rest.remove_prefix(1);
  const std::size_t e = rest.find('E');
  const bool exponentForm = e != std::string_view::npos;
  if (exponentForm) {
    const std::string_view exponent = rest.substr(e + 1);
    if (exponent.size() < 3 || exponent.size() > 4 || (exponent[0] != '+' && exponent[0] != '-') ||
        !fuzz::AllDigits(exponent.substr(1))) {
      fuzz::Fail("exponent out of form");
    }
    rest = rest.substr(0, e);
  }
  const std::size_t point = rest.find('.');
  const std::string_view whole = rest.substr(0, point);
  if (whole.empty() || !fuzz::AllDigits(whole)) fuzz::Fail("no whole digits");
  if (whole.size() > 1 && whole[0] == '0') fuzz::Fail("leading zero");
  if (exponentForm && (whole.size() != 1 || whole[0] == '0')) fuzz::Fail("mantissa not one non-zero digit");
  if (point != std::string_view::npos) {
    const std::string_view fraction = rest.substr(point + 1);
    if (fraction.empty() || !fuzz::AllDigits(fraction)) fuzz::Fail("bad fraction");
    if (fraction.back() == '0') fuzz::Fail("trailing zero after the separator");
  }
  int significant = 0;
  bool leading = true;
  for (char c : text) {
    if (c == 'E') break;
    if (c < '0' || c > '9') continue;
    if (leading && c == '0') continue;
    leading = false;
    ++significant;
  }
  if (significant > 15) fuzz::Fail("more than 15 significant digits");
  const double shown = std::strtod(text.c_str(), nullptr);
  const double expected = product == 0 ? 0.0 : fuzz::RoundTo15Digits(product);
  if (shown != expected) fuzz::Fail("number text does not read back as the rounded product");
  // Fixed form exactly from 1E-04 up to 1E+15, by the rounded magnitude.
  const double magnitude = std::fabs(expected);
  const bool fixedRange = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e15);
  if (exponentForm == fixedRange) fuzz::Fail("wrong choice of fixed or exponent form");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  const CursorPoint point{Int32At(data), Int32At(data + 4)};
  const char16_t separator = (data[8] & 1) != 0 ? u',' : u'.';
  std::u16string scale;
  for (std::size_t i = 9; i + 1 < size; i += 2) scale.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  const Outcome<ReadoutText> readout = MakeReadout(point, scale, {separator});
  const fuzz::Reference percentage = fuzz::ReadScale(scale, separator);
  if (percentage.verdict == fuzz::Verdict::NotANumber) {
    if (readout.Ok() || readout.Error() != ConversionError::NotANumber) fuzz::Fail("not a number, yet no such error");
    return 0;
  }
  const double factor = percentage.value / 100.0;
  const double x = point.x * factor;
  const double y = point.y * factor;
  if (percentage.verdict == fuzz::Verdict::Overflow || !std::isfinite(x) || !std::isfinite(y)) {
    if (readout.Ok() || readout.Error() != ConversionError::Overflow) fuzz::Fail("overflow, yet no such error");
    return 0;
  }
  if (!readout.Ok()) fuzz::Fail("no readout for a usable scale");

  std::string text;
  for (char16_t c : readout.Value().View()) {
    if (c >= 0x80) fuzz::Fail("non-ASCII character in the readout");
    if (c == u'.' && separator != u'.') fuzz::Fail("a full stop where the separator is the comma");
    text += c == separator ? '.' : static_cast<char>(c);
  }
  const std::size_t middle = text.find(" & ");
  if (middle == std::string::npos || text.find(" & ", middle + 1) != std::string::npos) fuzz::Fail("not x & y");
  CheckNumber(text.substr(0, middle), x);
  CheckNumber(text.substr(middle + 3), y);
  return 0;
}
