#include "ui/image_win.h"

namespace lvn::ui {

namespace {
constexpr char kClassName[] = "LvnImage";
}

bool Image::Create(const ImageArgs& args) {
  static const bool registered = [] {
    WindowClassArgs window_class;
    window_class.name = kClassName;
    window_class.background = nullptr;
    return RegisterWindowClass(window_class);
  }();
  if (!registered) return false;
  transparent_ = args.transparent;
  if (!ResizeCanvas(args.width, args.height)) return false;
  return CreateChild(kClassName, WS_CHILD | WS_VISIBLE, 0, args);
}

bool Image::ResizeCanvas(int width, int height) {
  if (!canvas_.Create(width, height)) return false;
  RECT all{0, 0, width, height};
  ::FillRect(canvas_.Dc(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
  Repaint();
  return true;
}

void Image::SetWidth(int width) {
  RECT rect{};
  ::GetWindowRect(Handle(), &rect);
  ::SetWindowPos(Handle(), nullptr, 0, 0, width, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Image::Repaint() {
  if (Handle() != nullptr) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void Image::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(Handle(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  const int width = canvas_.Width() < client.right ? canvas_.Width() : client.right;
  const int height = canvas_.Height() < client.bottom ? canvas_.Height() : client.bottom;
  if (width <= 0 || height <= 0) return;
  if (transparent_) {
    const COLORREF key = ::GetPixel(canvas_.Dc(), 0, canvas_.Height() - 1);
    // gdi32's own export of TransparentBlt: msimg32 is no KnownDLL, gdi32 is.
    ::GdiTransparentBlt(dc, 0, 0, width, height, canvas_.Dc(), 0, 0, width, height, key);
  } else {
    ::BitBlt(dc, 0, 0, width, height, canvas_.Dc(), 0, 0, SRCCOPY);
  }
}

LRESULT Image::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(Handle());
      Paint(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return Window::OnMessage(message, wparam, lparam);
  }
}

}  // namespace lvn::ui
