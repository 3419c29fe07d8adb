// The standard controls the windows use, made from an arguments struct with defaults
// rather than from long CreateWindowEx calls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/window_win.h"

namespace lvn::ui {

// Texts and class names are UTF-8.
struct ControlArgs : ChildPlace {
  const char* class_name = "STATIC";
  const char* text = "";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex_style = 0;
  HFONT font = nullptr;
};

// A child control owned by its parent window (destroyed with it).
HWND CreateControl(const ControlArgs& args);

// Routes a control's messages through handler first; handler returns true when it
// handled the message (and sets *result). Removed automatically when the control goes.
using ControlHook = std::function<bool(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                       LRESULT* result)>;
bool HookControl(HWND control, ControlHook handler);

// Paints control through a bitmap of its size, so that a new text replaces the old one in
// one step instead of after an erase: for controls that paint into a given DC on
// WM_PRINTCLIENT, such as edit controls.
bool BufferControlPaint(HWND control);

// A font by face and pixel height at 96 DPI (character height when negative, cell height
// when positive); the face decides the character set.
struct FontSpec {
  const char* face;  // UTF-8
  int height;
  // What the system looks for when the face is missing.
  BYTE pitch_and_family = DEFAULT_PITCH | FF_DONTCARE;
};
// The font for a display of dpi: its height scaled.
HFONT CreateUiFont(const FontSpec& font, UINT dpi);

}  // namespace lvn::ui
