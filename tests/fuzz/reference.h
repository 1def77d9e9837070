#pragma once
// An independent reading of the scale text and the number text, for the
// fuzz targets: the grammar checked piece by piece and the numbers from
// glibc's strtod and printf, which round correctly. Native builds only.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "readout/text.h"

namespace pinvale::fuzz {

enum class Verdict { Number, NotANumber, Overflow };

struct Reference {
  Verdict verdict = Verdict::NotANumber;
  double value = 0;
};

inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u3000'; }

inline bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// [+-]? ( digits [.] digits? | . digits ) ( [eE] [+-]? digits )?
inline bool MatchesGrammar(std::string_view text) {
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  const std::size_t e = text.find_first_of("eE");
  std::string_view mantissa = text.substr(0, e);
  if (e != std::string_view::npos) {
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.remove_prefix(1);
    if (exponent.empty() || !AllDigits(exponent)) return false;
  }
  const std::size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  return AllDigits(whole) && AllDigits(fraction) && whole.size() + fraction.size() > 0;
}

// The scale text's number, or why there is none.
inline Reference ReadScale(TextView text, char16_t separator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string ascii;
  for (char16_t c : text) {
    if (c == separator) {
      ascii += '.';
    } else if (c < 0x80 && c != u'.') {
      ascii += static_cast<char>(c);
    } else {
      return {};  // not ASCII, or a full stop that is not the separator
    }
  }
  if (!MatchesGrammar(ascii)) return {};
  errno = 0;
  const double value = std::strtod(ascii.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) return {Verdict::Overflow, 0};
  return {Verdict::Number, value};
}

// A double rounded to 15 significant digits, as a double again.
inline double RoundTo15Digits(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", value);
  return std::strtod(text, nullptr);
}

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

}  // namespace pinvale::fuzz
