#include "ui/dpi_win.h"

#include "util/system_library_win.h"

namespace lvn::ui {
namespace {

// The functions Windows 10 1607 added; user32 is a KnownDLL, so asking it by name is safe.
struct DpiFunctions {
  UINT(WINAPI* for_window)(HWND) = nullptr;
  UINT(WINAPI* for_system)() = nullptr;
  int(WINAPI* metrics)(int, UINT) = nullptr;
  BOOL(WINAPI* adjust)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions = [] {
    DpiFunctions found;
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return found;
    BindSystemFunction(user32, "GetDpiForWindow", &found.for_window);
    BindSystemFunction(user32, "GetDpiForSystem", &found.for_system);
    BindSystemFunction(user32, "GetSystemMetricsForDpi", &found.metrics);
    BindSystemFunction(user32, "AdjustWindowRectExForDpi", &found.adjust);
    return found;
  }();
  return functions;
}

UINT ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return kDesignDpi;
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

int Scale(int n, UINT dpi) { return ::MulDiv(n, static_cast<int>(dpi), kDesignDpi); }

UINT DpiOf(HWND window) {
  if (Functions().for_window != nullptr && window != nullptr) {
    const UINT dpi = Functions().for_window(window);
    if (dpi != 0) return dpi;
  }
  return SystemDpi();
}

UINT SystemDpi() {
  if (Functions().for_system != nullptr) return Functions().for_system();
  return ScreenDpi();
}

int MetricForDpi(int index, UINT dpi) {
  if (Functions().metrics != nullptr) return Functions().metrics(index, dpi);
  return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi),
                  static_cast<int>(SystemDpi()));
}

bool AdjustFrameForDpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, UINT dpi) {
  if (Functions().adjust != nullptr) {
    return Functions().adjust(rect, style, menu ? TRUE : FALSE, ex_style, dpi) != FALSE;
  }
  return ::AdjustWindowRectEx(rect, style, menu ? TRUE : FALSE, ex_style) != FALSE;
}

}  // namespace lvn::ui
