#pragma once
// Owners for the Win32 handles the window keeps: each frees its handle once.

#include <windows.h>

#include <utility>

namespace pinvale::platform {

template <typename Handle, typename Free>
class Unique {
 public:
  Unique() noexcept = default;
  explicit Unique(Handle handle) noexcept : handle_(handle) {}
  ~Unique() { Reset(); }

  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }

  [[nodiscard]] Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  void Reset(Handle handle = nullptr) noexcept {
    if (handle_ != nullptr) Free{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct FreeGdiObject {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct FreeIcon {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

using UniqueFont = Unique<HFONT, FreeGdiObject>;
using UniqueBrush = Unique<HBRUSH, FreeGdiObject>;
using UniqueIcon = Unique<HICON, FreeIcon>;

}  // namespace pinvale::platform
