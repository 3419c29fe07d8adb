// The status strip: three fields painted into the main window's Status image.
#pragma once

#include <windows.h>

#include <string>

#include "desktop/status_layout.h"
#include "ui/image_win.h"
#include "util/scoped_win.h"

namespace lvn {

class TStatus {
 public:
  // Binds to image (owned by the main window), sets the drawing attributes and fills the
  // image with the transparent key colour; sized for a display of dpi.
  TStatus(ui::Image* image, UINT dpi);

  // The font and spacing for a display of dpi, the image's canvas made anew at the size its
  // window has now, and the strip laid out and drawn again with the texts it showed. False
  // when the font or the canvas cannot be made.
  bool SetDpi(UINT dpi);

  // Fields sized to the ";"-separated samples in text, showing what they showed before.
  void Layout(const char* text);
  // Fields sized for the check interval, the lookup host and the row indicator.
  void LayoutFor(const char* lookup_host);
  void DrawField(int index, const char* text, bool highlight);

 private:
  ui::Image* Image;
  ScopedFont font_;
  StatusSpacing spacing_;
  StatusLayout layout_;
  // The samples the fields were last sized to.
  std::string samples_;
  // What each field shows, also given to the image as its fields, which assistive tools
  // read.
  std::string fields_[kMaxStatusFields];
};

}  // namespace lvn
