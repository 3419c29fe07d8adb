#include "windows/options/action_page_win.h"

#include <iterator>

#include "settings/settings.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/option_window_win.h"

namespace lvn {

namespace {

// The page's layout, its controls in tab order, at 96 DPI. Places inside a group box are
// the box's place plus the control's place in it.
enum class Kind { kGroup, kList, kCheck, kLabel };
struct LayoutEntry {
  Kind kind;
  int id;
  int x, y, width, height;
  const char* texts::Texts::*text;  // none: null
};
constexpr int kGroup1X = 88, kGroup1Y = 16, kGroup2X = 88, kGroup2Y = 80;
// The language choice, beside the interval's box.
constexpr int kLanguageX = 272, kLanguageWidth = 89;
// A drop-down list's height is the field's and its opened list's together.
constexpr int kListDropHeight = 200;
constexpr LayoutEntry kLayout[] = {
    {Kind::kGroup, kIdIntervalGroup, kGroup1X, kGroup1Y, 177, 49,
     &texts::Texts::OptionIntervalGroup},
    {Kind::kList, kIdIntervalCombo, kGroup1X + 8, kGroup1Y + 21, 113, kListDropHeight, nullptr},
    {Kind::kLabel, kIdLanguageLabel, kLanguageX, kGroup1Y, kLanguageWidth, 14,
     &texts::Texts::OptionLanguageLabel},
    {Kind::kList, kIdLanguageCombo, kLanguageX, kGroup1Y + 21, kLanguageWidth, kListDropHeight,
     nullptr},
    {Kind::kLabel, kIdLanguageNote, kLanguageX, kGroup1Y + 48, kLanguageWidth, 14,
     &texts::Texts::OptionLanguageNote},
    {Kind::kGroup, kIdViewGroup, kGroup2X, kGroup2Y, 273, 121, &texts::Texts::OptionViewGroup},
    {Kind::kCheck, kIdViewCheck, kGroup2X + 8, kGroup2Y + 16, 249, 33,
     &texts::Texts::OptionViewCheckStart},
    {Kind::kCheck, kIdViewConnect, kGroup2X + 8, kGroup2Y + 48, 249, 33,
     &texts::Texts::OptionViewConnectError},
    {Kind::kCheck, kIdViewOff, kGroup2X + 8, kGroup2Y + 80, 249, 33, &texts::Texts::OptionViewOff},
};
// The language list after its automatic choice: each language by its own name, whatever the
// interface language, in the order of texts::LanguageChoiceOf.
constexpr const char* kLanguageNames[] = {"日本語", "English"};

// At 96 DPI.
constexpr int kListItemHeight = 15;

ui::ControlArgs ArgsFor(const LayoutEntry& entry, HWND parent, UINT dpi) {
  ui::ControlArgs args{ui::ScaledPlace(entry, parent, dpi)};
  args.text = entry.text != nullptr ? texts::Ui().*entry.text : "";
  switch (entry.kind) {
    case Kind::kGroup:
      args.class_name = "BUTTON";
      args.style = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
      break;
    case Kind::kList:
      args.class_name = "COMBOBOX";
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
    case Kind::kCheck:
      args.class_name = "BUTTON";
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
      if (entry.id == kIdViewCheck) args.style |= WS_GROUP;
      break;
    case Kind::kLabel:
      args.class_name = "STATIC";
      args.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
      break;
  }
  return args;
}

void AddListItem(HWND list, const char* text) {
  ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

int ListChoice(HWND list) { return static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)); }

bool Checked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND box, bool checked) {
  ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

bool ActionPage::Create(HWND parent, UINT dpi, OptionHost* host) {
  parent_ = parent;
  host_ = host;
  for (const LayoutEntry& entry : kLayout) {
    HWND control = ui::CreateControl(ArgsFor(entry, parent, dpi));
    if (control == nullptr) return false;
    controls_.push_back(control);
    switch (entry.id) {
      case kIdIntervalCombo: IntervalCombo = control; break;
      case kIdLanguageCombo: LanguageCombo = control; break;
      case kIdViewCheck: ViewCheck = control; break;
      case kIdViewConnect: ViewConnect = control; break;
      case kIdViewOff: ViewOff = control; break;
      default: break;
    }
  }

  for (int i = 0; i < kIntervalChoiceCount; ++i) {
    AddListItem(IntervalCombo, IntervalChoiceText(i).c_str());
  }
  // An interval the list does not hold shows the nearest item and stays until a pick.
  ::SendMessageW(IntervalCombo, CB_SETCURSEL,
                 static_cast<WPARAM>(IntervalChoiceOf(host_->CurrentCheckInterval())), 0);
  AddListItem(LanguageCombo, texts::Ui().OptionLanguageAuto);
  for (const char* name : kLanguageNames) AddListItem(LanguageCombo, name);
  ::SendMessageW(LanguageCombo, CB_SETCURSEL, static_cast<WPARAM>(host_->LanguageChoice()), 0);

  const ViewSwitches views = host_->Views();
  SetChecked(ViewCheck, views.CheckStart);
  SetChecked(ViewConnect, views.ConnectError);
  SetChecked(ViewOff, views.Off);
  return true;
}

void ActionPage::ApplyDpi(HFONT font, HFONT list_font, UINT dpi) {
  for (std::size_t i = 0; i < std::size(kLayout) && i < controls_.size(); ++i) {
    const LayoutEntry& entry = kLayout[i];
    const ui::ChildPlace to = ui::ScaledPlace(entry, parent_, dpi);
    ::SetWindowPos(controls_[i], nullptr, to.x, to.y, to.width, to.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT entry_font = entry.kind == Kind::kList ? list_font : font;
    ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(entry_font), FALSE);
  }
  for (HWND list : {IntervalCombo, LanguageCombo}) {
    ::SendMessageW(list, CB_SETITEMHEIGHT, 0, ui::Scale(kListItemHeight, dpi));
  }
}

void ActionPage::Show(bool show) {
  for (HWND control : controls_) ::ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}

bool ActionPage::OnCommand(int id, UINT code) {
  switch (id) {
    case kIdIntervalCombo:
      if (code == CBN_SELCHANGE) IntervalComboChange();
      return true;
    case kIdLanguageCombo:
      if (code == CBN_SELCHANGE) LanguageComboChange();
      return true;
    case kIdViewCheck:
    case kIdViewConnect:
    case kIdViewOff:
      if (code == BN_CLICKED) ViewClick(id);
      return true;
    default:
      return false;
  }
}

void ActionPage::IntervalComboChange() {
  host_->ChangeCheckInterval(IntervalOfChoice(ListChoice(IntervalCombo)));
}

void ActionPage::LanguageComboChange() {
  const int choice = ListChoice(LanguageCombo);
  if (choice >= 0) host_->ChangeLanguageChoice(choice);
}

void ActionPage::ViewClick(int id) {
  ViewSwitches views = host_->Views();
  HWND box = ::GetDlgItem(parent_, id);
  switch (id) {
    case kIdViewCheck: views.CheckStart = Checked(box); break;
    case kIdViewConnect: views.ConnectError = Checked(box); break;
    default: views.Off = Checked(box); break;
  }
  host_->ChangeViews(views);
  ::SetFocus(box);
}

}  // namespace lvn
