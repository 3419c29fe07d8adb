// Owners for device contexts and for objects selected into them, so that every path out of
// a paint routine restores and releases what it took.
#pragma once

#include <windows.h>

#include "util/scoped_win.h"

namespace lvn {

// A DC from CreateCompatibleDC or CreateDC.
using ScopedCreatedDc = Scoped<NullHandleTraits<HDC, &::DeleteDC>>;

// Selects an object (not a region) into a DC and puts the previous one back. Declare it after
// the owners of the DC and of the object, so that it is undone before either is released.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (old_ != nullptr) ::SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint .. EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
  ~PaintScope() { ::EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace lvn
