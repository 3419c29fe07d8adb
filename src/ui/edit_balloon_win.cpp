#include "ui/edit_balloon_win.h"

#include <commctrl.h>

#include <string>

#include "util/wide_text_win.h"

namespace lvn::ui {
namespace {

TTTOOLINFOW ToolFor(HWND edit) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = ::GetParent(edit);
  tool.uId = reinterpret_cast<UINT_PTR>(edit);
  return tool;
}

}  // namespace

void EditBalloon::Show(HWND edit, const char* title, const char* text) {
  Hide();
  const std::wstring wide_title = Wide(title);
  const std::wstring wide_text = Wide(text);
  EDITBALLOONTIP tip{};
  tip.cbStruct = sizeof tip;
  tip.pszTitle = wide_title.c_str();
  tip.pszText = wide_text.c_str();
  tip.ttiIcon = TTI_WARNING;
  if (::SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)) != FALSE) {
    edit_ = edit;
    return;
  }
  // Wine's edit control has no balloon of its own: a tooltip in the balloon's shape stands in.
  ShowStandIn(edit, title, text);
}

void EditBalloon::ShowStandIn(HWND edit, const char* title, const char* text) {
  HWND owner = ::GetAncestor(edit, GA_ROOT);
  if (tip_ == nullptr || !::IsWindow(tip_)) {
    tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                             nullptr);
    tip_edit_ = nullptr;
    if (tip_ == nullptr) return;
  }
  std::wstring wide_text = Wide(text);
  TTTOOLINFOW tool = ToolFor(edit);
  tool.lpszText = wide_text.data();
  if (tip_edit_ != edit) {
    if (tip_edit_ != nullptr) {
      TTTOOLINFOW old = ToolFor(tip_edit_);
      ::SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&old));
    }
    if (::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE) return;
    tip_edit_ = edit;
  }
  ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  const std::wstring wide_title = Wide(title);
  ::SendMessageW(tip_, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(wide_title.c_str()));
  // The stem points into the field, a little from its left end, where the text begins.
  RECT place{};
  ::GetWindowRect(edit, &place);
  const int x = place.left + (place.bottom - place.top);
  const int y = place.bottom - (place.bottom - place.top) / 4;
  ::SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
  ::SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void EditBalloon::Hide() {
  if (edit_ != nullptr && ::IsWindow(edit_)) ::SendMessageW(edit_, EM_HIDEBALLOONTIP, 0, 0);
  edit_ = nullptr;
  if (tip_edit_ != nullptr && ::IsWindow(tip_)) {
    TTTOOLINFOW tool = ToolFor(tip_edit_);
    ::SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace lvn::ui
