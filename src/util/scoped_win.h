// Owners for Win32 handles: each releases its handle exactly once, can be moved, never
// copied, so a handle has one owner on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace lvn {

template <class Traits>
class Scoped {
 public:
  using Type = typename Traits::Type;

  Scoped() noexcept = default;
  explicit Scoped(Type value) noexcept : value_(value) {}
  ~Scoped() { Reset(); }

  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : value_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Type Get() const noexcept { return value_; }
  bool IsValid() const noexcept { return Traits::IsValid(value_); }
  explicit operator bool() const noexcept { return IsValid(); }

  Type Release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void Reset(Type value = Traits::Invalid()) noexcept {
    Type old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Type value_ = Traits::Invalid();
};

// Kernel objects and files: CreateFile fails with INVALID_HANDLE_VALUE, the rest with null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};
using ScopedHandle = Scoped<KernelHandleTraits>;

struct GlobalMemoryTraits {
  using Type = HGLOBAL;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::GlobalFree(h); }
};
using ScopedGlobal = Scoped<GlobalMemoryTraits>;

// GDI objects: one owner type for each kind, so that no handle needs a cast.
template <class Handle>
struct GdiObjectTraits {
  using Type = Handle;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};
using ScopedFont = Scoped<GdiObjectTraits<HFONT>>;
using ScopedBrush = Scoped<GdiObjectTraits<HBRUSH>>;
using ScopedPen = Scoped<GdiObjectTraits<HPEN>>;
using ScopedBitmap = Scoped<GdiObjectTraits<HBITMAP>>;

// A menu that no window owns: a pop-up menu, or a menu bar not yet given to its window.
struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
using ScopedMenu = Scoped<MenuTraits>;

}  // namespace lvn
