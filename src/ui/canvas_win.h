// A memory bitmap with a DC to draw on, owned as one piece: the bitmap is selected out
// and both are released together.
#pragma once

#include <windows.h>

#include "ui/gdi_scope_win.h"
#include "util/scoped_win.h"

namespace lvn::ui {

class Canvas {
 public:
  Canvas() = default;
  ~Canvas() { Release(); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // A bitmap compatible with the screen, width x height.
  bool Create(int width, int height);
  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  void Release();

  ScopedCreatedDc dc_;
  ScopedBitmap bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace lvn::ui
