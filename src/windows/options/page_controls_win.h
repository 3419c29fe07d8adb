// The controls of the options window's pages, made from a table per page. They are
// children of the options window, hidden until their page is chosen.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "ui/controls_win.h"
#include "ui/edit_balloon_win.h"
#include "util/texts.h"

namespace lvn {

// The options window's and its dialogs' font, at 96 DPI.
inline constexpr ui::FontSpec kOptionsFont{"ＭＳ Ｐゴシック", -12};

enum class PageControl {
  kGroup,
  kCheck,
  kLabel,
  kEdit,
  kPassword,
  kNumber,
  kSpin,
  kButton,
  kDefaultButton,
  kList,   // a drop-down list; its height is the field's and its opened list's together
  kTable,  // a list view of rows and columns
};

struct PageEntry {
  PageControl kind;
  int id;
  int x, y, width, height;  // at 96 DPI
  const char* texts::Texts::*text = nullptr;  // in the interface language's texts; none
};

// Makes the entries' controls, hidden, in tab order after the window's existing ones, at
// their places for a display of dpi, and adds them to *controls. A spin box takes the
// number field before it as its buddy, and its place from it.
bool CreatePageControls(HWND parent, HFONT font, std::span<const PageEntry> entries, UINT dpi,
                        std::vector<HWND>* controls);
// The controls CreatePageControls made from entries moved to their places for a display of
// dpi, with font.
void PlacePageControls(const std::vector<HWND>& controls, std::span<const PageEntry> entries,
                       HFONT font, UINT dpi);
void ShowPageControls(const std::vector<HWND>& controls, bool show);

bool Checked(HWND parent, int id);
std::string TextOf(HWND control);
void SetTextOf(HWND parent, int id, const std::string& text);

// The balloon that tells why the text of a field was refused, beside it. Shown once the
// focus has moved: a balloon shown while it moves goes under the window in Wine's stacking
// of X windows.
class RefusalBalloon {
 public:
  // timer: the id of the options window's timer that this balloon waits on.
  explicit RefusalBalloon(UINT_PTR timer) : timer_(timer) {}

  // The balloon beside parent's field id, shown soon. title and text are the interface
  // language's texts, which last as long as the program.
  void Tell(HWND parent, int id, const char* title, const char* text);
  // A WM_TIMER of the options window: the balloon asked for shows while the window does.
  void OnTimer(HWND parent, UINT_PTR id);
  void Hide();

 private:
  UINT_PTR timer_;
  ui::EditBalloon balloon_;
  // What the balloon is to say beside which field, from a refusal until the timer shows it.
  int field_ = 0;
  const char* title_ = nullptr;
  const char* text_ = nullptr;
};

}  // namespace lvn
