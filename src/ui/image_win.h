// A picture control that shows a bitmap of its own, optionally with a transparent key
// colour: the colour of the bitmap's bottom-left pixel shows the parent's background.
#pragma once

#include "ui/canvas_win.h"
#include "ui/window_win.h"

namespace lvn::ui {

struct ImageArgs : ChildPlace {
  // The colour of the bitmap's bottom-left pixel shows the parent's background.
  bool transparent = false;
};

class Image : public Window {
 public:
  // A bitmap of the control's size, filled with the button-face colour.
  bool Create(const ImageArgs& args);

  // The bitmap, of the size given at creation, to draw on.
  HDC CanvasDc() const { return canvas_.Dc(); }
  int CanvasWidth() const { return canvas_.Width(); }
  int CanvasHeight() const { return canvas_.Height(); }

  void SetWidth(int width);
  // A new bitmap of this size, filled with the button-face colour, for a new display scale;
  // what the old one held is gone.
  bool ResizeCanvas(int width, int height);
  // Shows what the canvas holds now, with the window's next paint: several changes in one
  // step cost one paint.
  void Repaint();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);

  Canvas canvas_;
  bool transparent_ = false;
};

}  // namespace lvn::ui
