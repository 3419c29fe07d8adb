#include "ui/window_win.h"

#include "ui/application_win.h"

namespace lvn::ui {

bool Window::RegisterWindowClass(const WindowClassArgs& args) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = args.style;
  wc.lpfnWndProc = &Window::StaticWindowProc;
  wc.hInstance = ApplicationInstance();
  wc.hIcon = args.icon;
  wc.hIconSm = args.small_icon;
  wc.hCursor = args.cursor != nullptr ? args.cursor : ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = args.background;
  wc.lpszClassName = args.name;
  return ::RegisterClassExA(&wc) != 0;
}

Window::~Window() {
  if (hwnd_ == nullptr) return;
  // No message may reach OnMessage of an object whose derived part is gone.
  ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

bool Window::CreateHandle(const CreateWindowArgs& args) {
  HWND hwnd = ::CreateWindowExA(args.ex_style, args.class_name, args.title, args.style, args.x,
                                args.y, args.width, args.height, args.parent, args.menu,
                                ApplicationInstance(), this);
  return hwnd != nullptr;
}

bool Window::CreateChild(const char* class_name, DWORD style, DWORD ex_style,
                         const ChildPlace& place) {
  CreateWindowArgs create;
  create.class_name = class_name;
  create.style = style;
  create.ex_style = ex_style;
  create.x = place.x;
  create.y = place.y;
  create.width = place.width;
  create.height = place.height;
  create.parent = place.parent;
  create.menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id));
  return CreateHandle(create);
}

LRESULT Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                          LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
  }
  try {
    return self->OnMessage(message, wparam, lparam);
  } catch (...) {
    // No exception may cross into the system; show it as the framework would.
    ShowCurrentException();
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
  }
}

bool Window::CreateFrame(const FrameArgs& args) {
  RECT outer{0, 0, args.client_width, args.client_height};
  ::AdjustWindowRectEx(&outer, args.style, args.menu != nullptr ? TRUE : FALSE, 0);
  CreateWindowArgs create;
  create.menu = args.menu;
  create.parent = args.owner;
  create.class_name = args.class_name;
  create.title = args.title;
  create.style = args.style;
  create.width = outer.right - outer.left;
  create.height = outer.bottom - outer.top;
  create.x = args.centred ? (::GetSystemMetrics(SM_CXSCREEN) - create.width) / 2 : args.x;
  create.y = args.centred ? (::GetSystemMetrics(SM_CYSCREEN) - create.height) / 2 : args.y;
  if (!CreateHandle(create)) {
    if (args.menu != nullptr) ::DestroyMenu(args.menu);
    return false;
  }
  // A menu bar that wraps, or metrics that differ from the estimate, change the client
  // area; the client size is what the layout needs.
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int dx = args.client_width - (client.right - client.left);
  const int dy = args.client_height - (client.bottom - client.top);
  if (dx != 0 || dy != 0) {
    const int width = create.width + dx, height = create.height + dy;
    const int x = args.centred ? (::GetSystemMetrics(SM_CXSCREEN) - width) / 2 : args.x;
    const int y = args.centred ? (::GetSystemMetrics(SM_CYSCREEN) - height) / 2 : args.y;
    ::SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void MoveWithMouse(HWND window) {
  RECT before{};
  ::GetWindowRect(window, &before);
  ::SendMessageA(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  RECT after{};
  ::GetWindowRect(window, &after);
  if (after.top < 0) {
    ::SetWindowPos(window, nullptr, 0, 0, after.right - after.left, before.bottom - before.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Window::DestroyHandle() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
}

}  // namespace lvn::ui
