#include "ui/window_win.h"

#include "ui/application_win.h"
#include "ui/dpi_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

bool Window::RegisterWindowClass(const WindowClassArgs& args) {
  const std::wstring name = Wide(args.name != nullptr ? args.name : "");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = args.style;
  wc.lpfnWndProc = &Window::StaticWindowProc;
  wc.hInstance = ApplicationInstance();
  wc.hIcon = args.icon;
  wc.hIconSm = args.small_icon;
  wc.hCursor = args.cursor != nullptr ? args.cursor : SystemCursor(IDC_ARROW);
  wc.hbrBackground = args.background;
  wc.lpszClassName = name.c_str();
  return ::RegisterClassExW(&wc) != 0;
}

Window::~Window() {
  if (hwnd_ == nullptr) return;
  // No message may reach OnMessage of an object whose derived part is gone.
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

bool Window::CreateHandle(const CreateWindowArgs& args) {
  const std::wstring class_name = Wide(args.class_name != nullptr ? args.class_name : "");
  const std::wstring title = Wide(args.title != nullptr ? args.title : "");
  HWND hwnd = ::CreateWindowExW(args.ex_style, class_name.c_str(), title.c_str(), args.style,
                                args.x, args.y, args.width, args.height, args.parent, args.menu,
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
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                          LPARAM lparam) noexcept {
  // Only the creation binds the object: a WM_NCCREATE sent later, by another program, finds
  // the window bound already, and one with a pointer that leads nowhere is not read.
  if (message == WM_NCCREATE && ::GetWindowLongPtrW(hwnd, GWLP_USERDATA) == 0 &&
      IsReadableMemory(reinterpret_cast<const void*>(lparam), sizeof(CREATESTRUCTW))) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  try {
    return self->OnMessage(message, wparam, lparam);
  } catch (...) {
    // No exception may cross into the system; show it as the framework would.
    ShowCurrentException();
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

SIZE FrameSizeForDpi(const FrameArgs& args, UINT dpi) {
  RECT outer{0, 0, Scale(args.client_width, dpi), Scale(args.client_height, dpi)};
  AdjustFrameForDpi(&outer, args.style, args.menu != nullptr, 0, dpi);
  return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

namespace {

// Where a frame of size goes: centred on the screen, or at x, y moved just enough to lie on
// the work area of the screen that holds it.
POINT FramePlace(const FrameArgs& args, SIZE size) {
  if (args.centred) {
    return POINT{(::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
  }
  POINT place{args.x, args.y};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (::GetMonitorInfoW(::MonitorFromPoint(place, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    if (place.x + size.cx > work.right) place.x = work.right - size.cx;
    if (place.y + size.cy > work.bottom) place.y = work.bottom - size.cy;
    if (place.x < work.left) place.x = work.left;
    if (place.y < work.top) place.y = work.top;
  }
  return place;
}

}  // namespace

bool Window::CreateFrame(const FrameArgs& args) {
  // Sized for the primary screen first; the window's own screen decides below.
  const SIZE estimate = FrameSizeForDpi(args, SystemDpi());
  CreateWindowArgs create;
  create.menu = args.menu;
  create.parent = args.owner;
  create.class_name = args.class_name;
  create.title = args.title;
  create.style = args.style;
  create.width = estimate.cx;
  create.height = estimate.cy;
  const POINT first = FramePlace(args, estimate);
  create.x = first.x;
  create.y = first.y;
  if (!CreateHandle(create)) {
    if (args.menu != nullptr) ::DestroyMenu(args.menu);
    return false;
  }
  // A menu bar that wraps, metrics that differ from the estimate or another screen's DPI
  // change the client area; the client size is what the layout needs.
  const UINT dpi = DpiOf(hwnd_);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int dx = Scale(args.client_width, dpi) - (client.right - client.left);
  const int dy = Scale(args.client_height, dpi) - (client.bottom - client.top);
  const SIZE size{create.width + dx, create.height + dy};
  const POINT place = FramePlace(args, size);
  if (dx != 0 || dy != 0 || place.x != first.x || place.y != first.y) {
    ::SetWindowPos(hwnd_, nullptr, place.x, place.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

bool IsReadableMemory(const void* at, std::size_t size) {
  if (at == nullptr) return false;
  const auto* byte = static_cast<const unsigned char*>(at);
  const auto* end = byte + size;
  while (byte < end) {
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(byte, &info, sizeof info) != sizeof info || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0 || info.Protect == 0) {
      return false;
    }
    const auto* region_end = static_cast<const unsigned char*>(info.BaseAddress) + info.RegionSize;
    if (region_end <= byte) return false;
    byte = region_end;
  }
  return true;
}

bool SystemDpiChange(HWND window, WPARAM wparam, LPARAM lparam, UINT laid_out, UINT* dpi,
                     POINT* top_left) {
  const UINT now = DpiOf(window);
  // The rectangle is read only where it can be: any program can send the message, and the
  // system does not carry what its pointer points to from another process.
  if (HIWORD(wparam) != now || now == laid_out ||
      !IsReadableMemory(reinterpret_cast<const void*>(lparam), sizeof(RECT))) {
    return false;
  }
  const auto* suggested = reinterpret_cast<const RECT*>(lparam);
  *dpi = now;
  *top_left = POINT{suggested->left, suggested->top};
  return true;
}

RedrawPause::RedrawPause(HWND window)
    : window_(window), paused_(::IsWindowVisible(window) != FALSE) {
  if (paused_) ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
  if (!paused_) return;
  ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HCURSOR SystemCursor(const void* id) {
  // The id is a number in a pointer, of whichever character type the headers chose.
  return ::LoadCursorW(nullptr, static_cast<const wchar_t*>(id));
}

void MoveWithMouse(HWND window) {
  RECT before{};
  ::GetWindowRect(window, &before);
  ::SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
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
