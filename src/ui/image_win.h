// A picture control that shows a bitmap of its own, optionally with a transparent key
// colour: the colour of the bitmap's bottom-left pixel shows the parent's background.
//
// An image that shows fields of text, as a status strip does, can say so: with fields set,
// screen readers get it through WM_GETOBJECT as a status bar whose children are the fields,
// named by their texts, and hear of a text that changes (EVENT_OBJECT_NAMECHANGE).
#pragma once

#include <string>
#include <vector>

#include "ui/accessible_win.h"
#include "ui/canvas_win.h"
#include "ui/window_win.h"

namespace lvn::ui {

struct ImageArgs : ChildPlace {
  // The colour of the bitmap's bottom-left pixel shows the parent's background.
  bool transparent = false;
};

// A field of text the image shows: its text (UTF-8) and its box in client coordinates.
struct ImageField {
  std::string text;
  RECT box{};
};

class Image : public Window, private AccessibleSource {
 public:
  Image() = default;
  ~Image() override;

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

  // The fields the canvas shows now, in order. They also become the window text, the
  // texts separated by tabs.
  void SetFields(std::vector<ImageField> fields);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc);

  // AccessibleSource
  long AccRole() const override;
  long AccChildRole() const override;
  long AccChildCount() const override;
  std::string AccChildName(long child) const override;
  unsigned AccChildState(long child) const override;
  bool AccChildRect(long child, RECT* client) const override;
  long AccChildAt(POINT client) const override;

  Canvas canvas_;
  bool transparent_ = false;
  std::vector<ImageField> fields_;
  AccessibleLink access_{this};
};

}  // namespace lvn::ui
