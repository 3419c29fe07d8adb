#include "ui/controls_win.h"

#include <memory>

#include "ui/application_win.h"

namespace lvn::ui {

HWND CreateControl(const ControlArgs& args) {
  HWND hwnd = ::CreateWindowExA(args.ex_style, args.class_name, args.text, args.style, args.x,
                                args.y, args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                ApplicationInstance(), nullptr);
  if (hwnd != nullptr && args.font != nullptr) {
    ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  }
  return hwnd;
}

namespace {

LRESULT CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                          UINT_PTR id, DWORD_PTR data) noexcept {
  auto* handler = reinterpret_cast<ControlHook*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &HookProc, id);
    delete handler;
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  LRESULT result = 0;
  try {
    if ((*handler)(hwnd, message, wparam, lparam, &result)) return result;
  } catch (...) {
    ShowCurrentException();
  }
  return ::DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace

bool HookControl(HWND control, ControlHook handler) {
  auto owned = std::make_unique<ControlHook>(std::move(handler));
  if (!::SetWindowSubclass(control, &HookProc, 1, reinterpret_cast<DWORD_PTR>(owned.get()))) {
    return false;
  }
  static_cast<void>(owned.release());  // freed at WM_NCDESTROY
  return true;
}

HFONT CreateUiFont(const char* face, int height) {
  return ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace lvn::ui
