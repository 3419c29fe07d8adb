#include "ui/controls_win.h"

#include <memory>

#include "ui/application_win.h"
#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

HWND CreateControl(const ControlArgs& args) {
  const std::wstring class_name = Wide(args.class_name != nullptr ? args.class_name : "");
  const std::wstring text = Wide(args.text != nullptr ? args.text : "");
  HWND hwnd = ::CreateWindowExW(args.ex_style, class_name.c_str(), text.c_str(), args.style,
                                args.x, args.y, args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                ApplicationInstance(), nullptr);
  if (hwnd != nullptr && args.font != nullptr) {
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
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
          ::SendMessageW(::GetParent(hwnd), WM_CTLCOLORSTATIC,
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
  LOGFONTW logfont{};
  logfont.lfHeight = Scale(font.height, dpi);
  logfont.lfWeight = FW_NORMAL;
  // The face decides; the system's own character set where it must choose another.
  logfont.lfCharSet = DEFAULT_CHARSET;
  logfont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logfont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logfont.lfQuality = DEFAULT_QUALITY;
  logfont.lfPitchAndFamily = font.pitch_and_family;
  // A face name is at most LF_FACESIZE - 1 units; a longer one names no font.
  const std::wstring face = Wide(font.face != nullptr ? font.face : "");
  if (face.size() < LF_FACESIZE) face.copy(logfont.lfFaceName, face.size());
  return ::CreateFontIndirectW(&logfont);
}

}  // namespace lvn::ui
