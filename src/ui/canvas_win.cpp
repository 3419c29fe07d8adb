#include "ui/canvas_win.h"

namespace lvn::ui {

Canvas::~Canvas() { Release(); }

void Canvas::Release() {
  if (dc_ != nullptr) {
    if (old_bitmap_ != nullptr) ::SelectObject(dc_, old_bitmap_);
    ::DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_bitmap_ = nullptr;
  width_ = height_ = 0;
}

bool Canvas::Create(HDC reference, int width, int height) {
  Release();
  HDC screen = reference != nullptr ? reference : ::GetDC(nullptr);
  dc_ = ::CreateCompatibleDC(screen);
  bitmap_ = ::CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
  if (reference == nullptr) ::ReleaseDC(nullptr, screen);
  if (dc_ == nullptr || bitmap_ == nullptr) {
    Release();
    return false;
  }
  old_bitmap_ = ::SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
  return true;
}

}  // namespace lvn::ui
