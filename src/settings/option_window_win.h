// The options window, TfrmOption.
#pragma once

#include "ui/window_win.h"

namespace lvn {

class TfrmOption : public ui::Window {
 public:
  static constexpr char kClassName[] = "TfrmOption";
  static constexpr int kLeft = 732;
  static constexpr int kTop = 199;
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 239;

  static bool RegisterWindowClass();
  // Builds the window hidden.
  bool Create();
};

}  // namespace lvn
