// Fuzzes the scale text reading: any UTF-16 text, the full stop or the comma
// as separator. Whatever the core accepts must match the grammar and have
// the value strtod gives it; whatever it rejects the grammar must reject too,
// and an overflow must be one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "readout/number_format.h"
#include "tests/fuzz/reference.h"

using namespace pinvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const char16_t separator = (data[0] & 1) != 0 ? u',' : u'.';
  std::u16string text;
  for (std::size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

  const Outcome<double> parsed = ParseNumber(text, {separator});
  const fuzz::Reference reference = fuzz::ReadScale(text, separator);
  if (parsed.Ok()) {
    if (reference.verdict != fuzz::Verdict::Number) fuzz::Fail("accepted a text outside the grammar");
    if (std::memcmp(&parsed.Value(), &reference.value, sizeof(double)) != 0) fuzz::Fail("value differs from strtod");
  } else if (parsed.Error() == ConversionError::Overflow) {
    if (reference.verdict != fuzz::Verdict::Overflow) fuzz::Fail("overflow that strtod does not see");
  } else if (reference.verdict != fuzz::Verdict::NotANumber) {
    fuzz::Fail("rejected a number of the grammar");
  }
  return 0;
}
