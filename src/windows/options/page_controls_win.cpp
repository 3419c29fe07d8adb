#include "windows/options/page_controls_win.h"

#include <commctrl.h>

#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

DWORD StyleOf(PageControl kind) {
  constexpr DWORD kChild = WS_CHILD;  // shown with the page
  switch (kind) {
    case PageControl::kGroup:
      return kChild | BS_GROUPBOX;
    case PageControl::kCheck:
      return kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
    case PageControl::kLabel:
      return kChild | SS_LEFT;
    case PageControl::kEdit:
      return kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case PageControl::kPassword:
      return kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD;
    case PageControl::kNumber:
      return kChild | WS_TABSTOP | WS_BORDER | ES_NUMBER;
    case PageControl::kSpin:
      return kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    case PageControl::kButton:
      return kChild | WS_TABSTOP | BS_PUSHBUTTON;
    case PageControl::kDefaultButton:
      return kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
    case PageControl::kList:
      return kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case PageControl::kTable:
      return kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
             LVS_NOSORTHEADER;
  }
  return kChild;
}

const char* ClassOf(PageControl kind) {
  switch (kind) {
    case PageControl::kLabel:
      return "STATIC";
    case PageControl::kEdit:
    case PageControl::kPassword:
    case PageControl::kNumber:
      return "EDIT";
    case PageControl::kSpin:
      return "msctls_updown32";
    case PageControl::kList:
      return "COMBOBOX";
    case PageControl::kTable:
      return "SysListView32";
    default:
      return "BUTTON";
  }
}

}  // namespace

bool CreatePageControls(HWND parent, HFONT font, std::span<const PageEntry> entries, UINT dpi,
                        std::vector<HWND>* controls) {
  HWND buddy = nullptr;
  for (const PageEntry& entry : entries) {
    ui::ControlArgs args{ui::ScaledPlace(entry, parent, dpi)};
    args.class_name = ClassOf(entry.kind);
    args.text = entry.text != nullptr ? texts::Ui().*entry.text : "";
    args.style = StyleOf(entry.kind);
    const bool field = entry.kind == PageControl::kEdit || entry.kind == PageControl::kPassword ||
                       entry.kind == PageControl::kNumber || entry.kind == PageControl::kTable;
    args.ex_style = field ? WS_EX_CLIENTEDGE : 0;
    args.font = font;
    HWND control = ui::CreateControl(args);
    if (control == nullptr) return false;
    controls->push_back(control);
    if (entry.kind == PageControl::kNumber) buddy = control;
    if (entry.kind == PageControl::kSpin) {
      ::SendMessageW(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    }
  }
  return true;
}

void PlacePageControls(const std::vector<HWND>& controls, std::span<const PageEntry> entries,
                       HFONT font, UINT dpi) {
  HWND buddy = nullptr;
  for (std::size_t i = 0; i < entries.size() && i < controls.size(); ++i) {
    const PageEntry& entry = entries[i];
    HWND control = controls[i];
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (entry.kind == PageControl::kSpin) {
      // Set again, the buddy places the spin box beside itself where it is now.
      ::SendMessageW(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
      continue;
    }
    const ui::ChildPlace place = ui::ScaledPlace(entry, ::GetParent(control), dpi);
    ::SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (entry.kind == PageControl::kNumber) buddy = control;
  }
}

void ShowPageControls(const std::vector<HWND>& controls, bool show) {
  for (HWND control : controls) ::ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}

bool Checked(HWND parent, int id) {
  return ::IsDlgButtonChecked(parent, id) == BST_CHECKED;
}

std::string TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8Of(text);
}

void SetTextOf(HWND parent, int id, const std::string& text) {
  ::SetDlgItemTextW(parent, id, Wide(text).c_str());
}

void RefusalBalloon::Tell(HWND parent, int id, const char* title, const char* text) {
  field_ = id;
  title_ = title;
  text_ = text;
  ::SetTimer(parent, timer_, USER_TIMER_MINIMUM, nullptr);
}

void RefusalBalloon::OnTimer(HWND parent, UINT_PTR id) {
  if (id != timer_) return;
  ::KillTimer(parent, timer_);
  if (text_ != nullptr && ::IsWindowVisible(parent)) {
    balloon_.Show(::GetDlgItem(parent, field_), title_, text_);
  }
  text_ = nullptr;
}

void RefusalBalloon::Hide() {
  text_ = nullptr;
  balloon_.Hide();
}

}  // namespace lvn
