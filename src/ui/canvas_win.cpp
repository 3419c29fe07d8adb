#include "ui/canvas_win.h"

namespace lvn::ui {

void Canvas::Release() {
  // The bitmap goes back out of the DC before either is deleted.
  if (dc_ && old_bitmap_ != nullptr) ::SelectObject(dc_.Get(), old_bitmap_);
  old_bitmap_ = nullptr;
  dc_.Reset();
  bitmap_.Reset();
  width_ = height_ = 0;
}

bool Canvas::Create(int width, int height) {
  Release();
  HDC screen = ::GetDC(nullptr);
  dc_.Reset(::CreateCompatibleDC(screen));
  bitmap_.Reset(::CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1));
  ::ReleaseDC(nullptr, screen);
  if (!dc_ || !bitmap_) {
    Release();
    return false;
  }
  old_bitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  width_ = width;
  height_ = height;
  return true;
}

}  // namespace lvn::ui
