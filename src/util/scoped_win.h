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

// Handles whose invalid value is null, released by one function: Release(handle).
template <class Handle, auto Release>
struct NullHandleTraits {
  using Type = Handle;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { Release(h); }
};

using ScopedGlobal = Scoped<NullHandleTraits<HGLOBAL, &::GlobalFree>>;
// Memory the system allocated with LocalAlloc for the caller to free.
using ScopedLocal = Scoped<NullHandleTraits<HLOCAL, &::LocalFree>>;
// GDI objects: one owner type for each kind, so that no handle needs a cast.
using ScopedFont = Scoped<NullHandleTraits<HFONT, &::DeleteObject>>;
using ScopedBrush = Scoped<NullHandleTraits<HBRUSH, &::DeleteObject>>;
using ScopedPen = Scoped<NullHandleTraits<HPEN, &::DeleteObject>>;
using ScopedBitmap = Scoped<NullHandleTraits<HBITMAP, &::DeleteObject>>;
// Icons made for one size (LoadImage without LR_SHARED), which windows only borrow.
using ScopedIcon = Scoped<NullHandleTraits<HICON, &::DestroyIcon>>;
// A menu that no window owns: a pop-up menu, or a menu bar not yet given to its window.
using ScopedMenu = Scoped<NullHandleTraits<HMENU, &::DestroyMenu>>;

}  // namespace lvn
