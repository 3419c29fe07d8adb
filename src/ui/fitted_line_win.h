// A one-line read-only field whose text must stay readable whole: a text wider than the
// field is drawn in a smaller size of the field's font, and the whole text is also its
// tooltip.
#pragma once

#include <windows.h>

#include "ui/controls_win.h"
#include "util/scoped_win.h"

namespace lvn::ui {

class FittedLine {
 public:
  // field: a single-line edit control that shows font at its design size. The tooltip is
  // owned by owner and goes with it.
  bool Attach(HWND field, HWND owner, const FontSpec& font);
  // note, when not empty, goes on a line of its own below the text in the tooltip.
  void SetText(const char* text, const char* note = "");

 private:
  // The largest character height, from the design height down, at which text fits;
  // *made holds the last font this made to measure with.
  int FittingHeight(const char* text, ScopedFont* made) const;

  HWND field_ = nullptr;
  HWND owner_ = nullptr;
  HWND tip_ = nullptr;
  FontSpec font_{};
  ScopedFont design_;
  ScopedFont fitted_;  // the smaller size in use, when one is
  int fitted_height_ = 0;
};

}  // namespace lvn::ui
