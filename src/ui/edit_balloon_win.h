// A balloon tip pointing at an edit control, to tell what is wrong with its text.
#pragma once

#include <windows.h>

namespace lvn::ui {

class EditBalloon {
 public:
  // Shows in place of any balloon shown before, until Hide. Texts are UTF-8.
  void Show(HWND edit, const char* title, const char* text);
  void Hide();

 private:
  void ShowStandIn(HWND edit, const char* title, const char* text);

  HWND edit_ = nullptr;  // the edit whose own balloon shows
  // The stand-in's tooltip, owned by the edit's top-level window and gone with it.
  HWND tip_ = nullptr;
  HWND tip_edit_ = nullptr;  // the edit the stand-in is shown for
};

}  // namespace lvn::ui
