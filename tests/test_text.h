#pragma once
// Helpers for comparing the core's UTF-16 texts in test messages.

#include <string>

#include "readout/text.h"

namespace pinvale::test {

// Test texts are ASCII apart from a few blanks; those are shown as \uXXXX.
inline std::string Printable(TextView text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
    }
  }
  return out;
}

}  // namespace pinvale::test
