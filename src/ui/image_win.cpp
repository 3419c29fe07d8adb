#include "ui/image_win.h"

#include <oleacc.h>

#include <utility>

#include "util/wide_text_win.h"

namespace lvn::ui {

namespace {
constexpr char kClassName[] = "LvnImage";
}

Image::~Image() { DestroyHandle(); }

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

void Image::SetFields(std::vector<ImageField> fields) {
  std::string all;
  for (std::size_t i = 0; i < fields.size(); ++i) all += (i > 0 ? "\t" : "") + fields[i].text;
  ::SetWindowTextW(Handle(), Wide(all).c_str());
  std::vector<ImageField> old = std::exchange(fields_, std::move(fields));
  if (old.size() != fields_.size()) {
    TellAccessEvent(Handle(), EVENT_OBJECT_REORDER, CHILDID_SELF);
    return;
  }
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].text != old[i].text) {
      TellAccessEvent(Handle(), EVENT_OBJECT_NAMECHANGE, static_cast<long>(i + 1));
    }
  }
}

long Image::AccRole() const { return ROLE_SYSTEM_STATUSBAR; }

long Image::AccChildRole() const { return ROLE_SYSTEM_STATICTEXT; }

long Image::AccChildCount() const { return static_cast<long>(fields_.size()); }

std::string Image::AccChildName(long child) const {
  return fields_[static_cast<std::size_t>(child - 1)].text;
}

unsigned Image::AccChildState(long) const { return STATE_SYSTEM_READONLY; }

bool Image::AccChildRect(long child, RECT* client) const {
  *client = fields_[static_cast<std::size_t>(child - 1)].box;
  return true;
}

long Image::AccChildAt(POINT client) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (::PtInRect(&fields_[i].box, client)) return static_cast<long>(i + 1);
  }
  return 0;
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
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (!fields_.empty() && access_.Answer(Handle(), wparam, lparam, &answer)) return answer;
      return Window::OnMessage(message, wparam, lparam);
    }
    case WM_DESTROY:
      access_.Detach();
      return Window::OnMessage(message, wparam, lparam);
    default:
      return Window::OnMessage(message, wparam, lparam);
  }
}

}  // namespace lvn::ui
