#include "ui/controls_win.h"

#include <memory>

#include "ui/application_win.h"
#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"

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

bool BufferControlPaint(HWND control) {
  return HookControl(control, [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message == WM_ERASEBKGND) {
      *result = 1;  // the paint below covers every pixel
      return true;
    }
    if (message != WM_PAINT) return false;
    PaintScope paint(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    if (paint.Dc() == nullptr || client.right <= 0 || client.bottom <= 0) {
      *result = 0;
      return true;
    }
    constexpr LPARAM kWhat = PRF_CLIENT | PRF_ERASEBKGND;
    ScopedCreatedDc memory(::CreateCompatibleDC(paint.Dc()));
    ScopedBitmap bitmap(::CreateCompatibleBitmap(paint.Dc(), client.right, client.bottom));
    if (!memory || !bitmap) {
      // Short of GDI resources a flicker is better than nothing.
      ::DefSubclassProc(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.Dc()), kWhat);
    } else {
      ScopedSelect select(memory.Get(), bitmap.Get());
      // The background the control asks its parent for, under whatever it leaves unpainted.
      const auto brush = reinterpret_cast<HBRUSH>(
          ::SendMessageA(::GetParent(hwnd), WM_CTLCOLORSTATIC,
                         reinterpret_cast<WPARAM>(memory.Get()), reinterpret_cast<LPARAM>(hwnd)));
      ::FillRect(memory.Get(), &client,
                 brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
      ::DefSubclassProc(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), kWhat);
      ::BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    *result = 0;
    return true;
  });
}

HFONT CreateUiFont(const FontSpec& font, UINT dpi) {
  return ::CreateFontA(Scale(font.height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       font.pitch_and_family, font.face);
}

}  // namespace lvn::ui
