// A top-level or child window owned by a C++ object: the object is attached at
// WM_NCCREATE and messages reach the virtual OnMessage until WM_NCDESTROY. Windows are
// Unicode windows; every text given here (class names, titles) is UTF-8.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/dpi_win.h"

namespace lvn::ui {

struct WindowClassArgs {
  const char* name = nullptr;
  HICON icon = nullptr;
  HICON small_icon = nullptr;
  HCURSOR cursor = nullptr;  // the arrow when null
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  UINT style = 0;
};

struct CreateWindowArgs {
  const char* class_name = nullptr;
  const char* title = "";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD ex_style = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;
  HMENU menu = nullptr;
};

// Where a child window goes: its parent, its control id and its place in the parent's
// client area. Every control's arguments start with it.
struct ChildPlace {
  HWND parent = nullptr;
  int id = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

// The place of a layout table's entry (its id, x, y, width and height at 96 DPI) in parent,
// for a display of dpi.
template <class Entry>
ChildPlace ScaledPlace(const Entry& entry, HWND parent, UINT dpi) {
  return ChildPlace{parent,
                    entry.id,
                    Scale(entry.x, dpi),
                    Scale(entry.y, dpi),
                    Scale(entry.width, dpi),
                    Scale(entry.height, dpi)};
}

// A top-level window sized by its client area, given at 96 DPI and scaled to the DPI of the
// screen it opens on; placed at x, y (kept on that screen) or centred on it.
struct FrameArgs {
  const char* class_name = nullptr;
  const char* title = "";
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  int client_width = 0;
  int client_height = 0;
  bool centred = false;
  int x = 0;
  int y = 0;
  HMENU menu = nullptr;  // a menu bar, owned by the window from then on
  HWND owner = nullptr;  // a window this one stays above and goes with
};

// One of the system's cursors by its IDC_ id.
HCURSOR SystemCursor(const void* id);

// A press on a window's own background moves the window, as if its caption had been
// grabbed; returns when the button is up. A move that put the top above the screen keeps
// the window's height.
void MoveWithMouse(HWND window);

// The outer size of a frame whose client area is client_width x client_height at 96 DPI,
// for a display of dpi.
SIZE FrameSizeForDpi(const FrameArgs& args, UINT dpi);

// True when size bytes at at can be read. Any program can send or post a message whose
// parameter is a pointer, and the system does not carry what it points to from another
// process: such a pointer is checked before it is read. (Whether the message came from
// this thread cannot tell: a child's notice is sent on this thread while it handles a
// message another process sent, as when a screen reader selects an item.)
bool IsReadableMemory(const void* at, std::size_t size);

// The DPI and the suggested top-left corner of a WM_DPICHANGED that is the system's: it
// tells the DPI the window has already taken, and one other than the DPI it is laid out for.
// Any program can send the message with any pointer; such a one is not read, and false.
bool SystemDpiChange(HWND window, WPARAM wparam, LPARAM lparam, UINT laid_out, UINT* dpi,
                     POINT* top_left);

// Holds a visible window's drawing while its children move and change fonts, then redraws
// it whole once: a layout for another DPI shows in one step.
class RedrawPause {
 public:
  explicit RedrawPause(HWND window);
  ~RedrawPause();
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
  // A hidden window is left alone: turning drawing back on would show it.
  bool paused_;
};

// A class that handles WM_DESTROY or later messages calls DestroyHandle in its own
// destructor: by the time ~Window runs, the derived part is gone, and the window it still
// finds is destroyed without a word to the object.
class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

  // Registers a class whose window procedure dispatches to Window objects.
  static bool RegisterWindowClass(const WindowClassArgs& args);

 protected:
  bool CreateHandle(const CreateWindowArgs& args);
  bool CreateFrame(const FrameArgs& args);
  // A child window of a class registered with RegisterWindowClass.
  bool CreateChild(const char* class_name, DWORD style, DWORD ex_style, const ChildPlace& place);
  // Destroys the window while the derived object still handles its last messages.
  void DestroyHandle();
  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                           LPARAM lparam) noexcept;

  HWND hwnd_ = nullptr;
};

}  // namespace lvn::ui
