#pragma once
// Text types shared by the readout core and the window.
//
// Window texts are UTF-16. wchar_t is 16 bits on Windows but 32 on Linux, so
// the core speaks char16_t, which means the same in both builds.

#include <array>
#include <cstddef>
#include <string_view>

namespace pinvale {

using TextView = std::u16string_view;

// A short text kept in place, always followed by a terminating zero: a
// readout is formed ten times a second and should not touch the heap.
// Appending past the capacity drops the excess; callers size it for the
// longest text they can produce.
template <std::size_t Capacity>
class FixedText {
 public:
  constexpr void Append(char16_t c) noexcept {
    if (size_ < Capacity) chars_[size_++] = c;
    chars_[size_] = u'\0';
  }
  constexpr void Append(TextView text) noexcept {
    for (char16_t c : text) Append(c);
  }
  constexpr void AppendAscii(std::string_view text) noexcept {
    for (char c : text) Append(static_cast<char16_t>(c));
  }
  [[nodiscard]] constexpr TextView View() const noexcept { return {chars_.data(), size_}; }
  [[nodiscard]] constexpr std::size_t Size() const noexcept { return size_; }
  // For APIs that want a terminating zero.
  [[nodiscard]] constexpr const char16_t* CStr() const noexcept { return chars_.data(); }

 private:
  std::array<char16_t, Capacity + 1> chars_{};
  std::size_t size_ = 0;
};

}  // namespace pinvale
