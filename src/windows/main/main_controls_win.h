// The main window's controls, made from its layout table and scaled for its DPI: their
// places, fonts and the window's icons.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/fitted_line_win.h"
#include "ui/image_win.h"
#include "ui/string_grid_win.h"
#include "util/scoped_win.h"

namespace lvn {

class MainControls {
 public:
  // The fonts and icons for one DPI, made before anything changes.
  struct Scaled {
    ScopedFont Fonts[3];  // default, address lines, grid
    ScopedIcon Icons[2];  // the window's big and small icon
  };

  // The controls of the layout, children of window, without fonts. False when one cannot
  // be made.
  bool Create(HWND window, UINT dpi);
  // False, with nothing changed, when a font cannot be made.
  static bool Scale(UINT dpi, Scaled* scaled);
  // Every control in its place with its font for dpi, and the window's icons; the fonts and
  // icons the controls held before go. False when the size grip cannot be drawn.
  bool Apply(HWND window, UINT dpi, Scaled* scaled);
  // The window's small icon, which the tray shows too; null before the first Apply.
  HICON SmallIcon() const { return icons_[1].Get(); }

  HWND NowIp = nullptr;
  HWND UpdateTime = nullptr;
  HWND Update = nullptr;
  HWND TaskTrayIbent = nullptr;
  ui::StringGrid MainGrid;
  ui::Image Status;
  ui::Image SizeChangeMark;
  // NowIp's text, fitted to its width.
  ui::FittedLine NowIpLine;

 private:
  // The member that holds the control with this layout id; null for an id without one.
  HWND* ControlHandle(int id);

  ScopedFont fonts_[3];
  ScopedIcon icons_[2];
  // The controls of the layout table, in its order.
  std::vector<HWND> layout_controls_;
};

}  // namespace lvn
