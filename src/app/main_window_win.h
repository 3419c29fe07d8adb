// The main window, TfrmMain.
#pragma once

#include "ui/window_win.h"

namespace lvn {

class TfrmMain : public ui::Window {
 public:
  static constexpr char kClassName[] = "TfrmMain";
  static constexpr int kClientWidth = 343;
  static constexpr int kClientHeight = 430;

  static bool RegisterWindowClass();
  // Builds the window, centred on the screen and not yet shown.
  bool Create();
  void Show();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace lvn
