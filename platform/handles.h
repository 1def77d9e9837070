#pragma once
// Owners for the Win32 handles the window keeps: each frees its handle once.

#include <windows.h>

#include <cstddef>
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

struct FreeHeapBlock {
  void operator()(void* block) const noexcept { HeapFree(GetProcessHeap(), 0, block); }
};

using UniqueFont = Unique<HFONT, FreeGdiObject>;
using UniqueBrush = Unique<HBRUSH, FreeGdiObject>;
using UniqueIcon = Unique<HICON, FreeIcon>;

// Wide text on the process heap that grows as needed and is reused, so
// that reading the same box again allocates only when its text outgrows it.
class TextBuffer {
 public:
  // Room for `length` characters and a terminating zero. False when the
  // heap refuses; what the buffer held is kept.
  [[nodiscard]] bool Reserve(std::size_t length) noexcept {
    if (length < capacity_) return true;
    if (length >= kMaxCharacters) return false;
    const std::size_t capacity = length + 1;
    void* block = HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t));
    if (block == nullptr) return false;
    block_.Reset(block);
    capacity_ = capacity;
    return true;
  }
  [[nodiscard]] wchar_t* Data() const noexcept { return static_cast<wchar_t*>(block_.Get()); }

 private:
  static constexpr std::size_t kMaxCharacters = 0x7FFF'FFFF / sizeof(wchar_t);

  Unique<void*, FreeHeapBlock> block_;
  std::size_t capacity_ = 0;
};

}  // namespace pinvale::platform
