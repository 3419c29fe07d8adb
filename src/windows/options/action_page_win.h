// The 動作 page of the options window: the check interval, the interface language of the
// next start and the view switches. Its controls are children of the options window; it
// is the page chosen when the window opens.
#pragma once

#include <windows.h>

#include <vector>

namespace lvn {

class OptionHost;

class ActionPage {
 public:
  // Makes the page's controls, shown and without a font, in tab order after the window's
  // existing ones, and sets them from host's state. host outlives the page.
  bool Create(HWND parent, UINT dpi, OptionHost* host);
  // The page's controls at their places for a display of dpi: its lists with list_font,
  // which is larger, the rest with font.
  void ApplyDpi(HFONT font, HFONT list_font, UINT dpi);
  void Show(bool show);
  // A WM_COMMAND from one of the page's controls; false for any other.
  bool OnCommand(int id, UINT code);

 private:
  void IntervalComboChange();
  void LanguageComboChange();
  // A view switch's box was clicked.
  void ViewClick(int id);

  HWND parent_ = nullptr;
  OptionHost* host_ = nullptr;
  // In the order of the page's layout table.
  std::vector<HWND> controls_;
  HWND IntervalCombo = nullptr;
  HWND LanguageCombo = nullptr;
  HWND ViewCheck = nullptr;
  HWND ViewConnect = nullptr;
  HWND ViewOff = nullptr;
};

}  // namespace lvn
