// A picture control that shows a bitmap of its own, optionally with a transparent key
// colour: the colour of the bitmap's bottom-left pixel shows the parent's background.
#pragma once

#include "ui/canvas_win.h"
#include "ui/window_win.h"

namespace lvn::ui {

class Image : public Window {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height, bool transparent);

  // The bitmap, of the size given at creation, to draw on.
  HDC CanvasDc() const { return canvas_.Dc(); }
  int CanvasWidth() const { return canvas_.Width(); }
  int CanvasHeight() const { return canvas_.Height(); }

  void SetWidth(int width);
  // Shows what the canvas holds now.
  void Repaint();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);

  Canvas canvas_;
  bool transparent_ = false;
};

}  // namespace lvn::ui
