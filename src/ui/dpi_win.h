// Display scaling. Every layout figure is written for 96 DPI and scaled to the DPI of the
// window it is shown in, here and nowhere else.
#pragma once

#include <windows.h>

namespace lvn::ui {

inline constexpr UINT kDesignDpi = 96;

// n pixels at 96 DPI as pixels at dpi, rounded to the nearest; a negative n (a character
// height) stays negative.
int Scale(int n, UINT dpi);

// The DPI window is shown at: GetDpiForWindow where user32 has it, else the screen's.
UINT DpiOf(HWND window);
// The DPI of the primary screen, for what is sized before its window exists.
UINT SystemDpi();
// A system metric (SM_CXSMICON, SM_CXVSCROLL, ...) at dpi.
int MetricForDpi(int index, UINT dpi);
// The frame around a client rectangle at dpi, as AdjustWindowRectEx gives it at the
// system's.
bool AdjustFrameForDpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, UINT dpi);

}  // namespace lvn::ui
