// A one-line read-only field whose text must stay readable whole: a text wider than the
// field is drawn in a smaller size of the field's font, and the whole text is also its
// tooltip.
#pragma once

#include <windows.h>

#include <string>

#include "ui/controls_win.h"
#include "util/scoped_win.h"

namespace lvn::ui {

class FittedLine {
 public:
  // field: a single-line edit control that shows font at its design size, scaled for a
  // display of dpi. The tooltip is owned by owner and goes with it.
  bool Attach(HWND field, HWND owner, const FontSpec& font, UINT dpi);
  // The design font made again for a display of dpi and the text fitted again; false,
  // with the old font kept, when it cannot be made.
  bool SetDpi(UINT dpi);
  // UTF-8 texts; note, when not empty, goes on a line of its own below the text in the
  // tooltip.
  void SetText(const char* text, const char* note = "");

 private:
  // The largest character height, from the design height down, at which text fits;
  // *made holds the last font this made to measure with.
  int FittingHeight(const std::wstring& text, ScopedFont* made) const;
  // A font of the face at character or cell height (the design's kind), at the field's DPI.
  HFONT MakeFont(int height) const;

  HWND field_ = nullptr;
  HWND owner_ = nullptr;
  HWND tip_ = nullptr;
  // The design font at the field's DPI: what the heights below are measured in.
  FontSpec font_{};
  UINT dpi_ = 0;
  std::string text_;
  std::string note_;
  ScopedFont design_;
  ScopedFont fitted_;  // the smaller size in use, when one is
  int fitted_height_ = 0;
};

}  // namespace lvn::ui
