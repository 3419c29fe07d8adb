#include "windows/options/notify_page_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "ui/controls_win.h"
#include "util/path.h"
#include "util/system_library_win.h"
#include "util/texts.h"
#include "windows/options/option_window_ids.h"

namespace lvn {
namespace {

enum class Kind { kGroup, kCheck, kLabel, kEdit, kNumber, kSpin, kButton };
struct PageEntry {
  Kind kind;
  int id;
  int x, y, width, height;
  const char* text;
};
constexpr int kNoticeX = 88, kNoticeY = 16, kCommandX = 88, kCommandY = 88;
constexpr PageEntry kPage[] = {
    {Kind::kGroup, kIdNoticeGroup, kNoticeX, kNoticeY, 273, 65, texts::kOptionNoticeGroup},
    {Kind::kCheck, kIdNoticeChange, kNoticeX + 8, kNoticeY + 16, 257, 20,
     texts::kOptionNoticeChange},
    {Kind::kCheck, kIdNoticeOutage, kNoticeX + 8, kNoticeY + 38, 257, 20,
     texts::kOptionNoticeOutage},
    {Kind::kGroup, kIdCommandGroup, kCommandX, kCommandY, 273, 113, texts::kOptionCommandGroup},
    {Kind::kLabel, kIdCommandLabel, kCommandX + 8, kCommandY + 16, 257, 14,
     texts::kOptionCommandLabel},
    {Kind::kEdit, kIdCommandEdit, kCommandX + 8, kCommandY + 32, 257, 21, ""},
    {Kind::kButton, kIdCommandBrowse, kCommandX + 8, kCommandY + 59, 81, 23,
     texts::kOptionCommandBrowse},
    {Kind::kLabel, kIdTimeoutLabel, kCommandX + 100, kCommandY + 64, 64, 14,
     texts::kOptionTimeoutLabel},
    {Kind::kNumber, kIdTimeoutEdit, kCommandX + 166, kCommandY + 60, 52, 21, ""},
    {Kind::kSpin, kIdTimeoutSpin, 0, 0, 0, 0, ""},
    {Kind::kLabel, kIdTimeoutUnit, kCommandX + 222, kCommandY + 64, 30, 14,
     texts::kOptionTimeoutUnit},
    {Kind::kButton, kIdCommandTest, kCommandX + 8, kCommandY + 87, 105, 23,
     texts::kOptionCommandTest},
};

DWORD StyleOf(Kind kind) {
  constexpr DWORD kChild = WS_CHILD;  // shown with the page
  switch (kind) {
    case Kind::kGroup:
      return kChild | BS_GROUPBOX;
    case Kind::kCheck:
      return kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
    case Kind::kLabel:
      return kChild | SS_LEFT;
    case Kind::kEdit:
      return kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    case Kind::kNumber:
      return kChild | WS_TABSTOP | WS_BORDER | ES_NUMBER;
    case Kind::kSpin:
      return kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    case Kind::kButton:
      return kChild | WS_TABSTOP | BS_PUSHBUTTON;
  }
  return kChild;
}

const char* ClassOf(Kind kind) {
  switch (kind) {
    case Kind::kLabel:
      return "STATIC";
    case Kind::kEdit:
    case Kind::kNumber:
      return "EDIT";
    case Kind::kSpin:
      return UPDOWN_CLASSA;
    default:
      return "BUTTON";
  }
}

bool Checked(HWND parent, int id) {
  return ::IsDlgButtonChecked(parent, id) == BST_CHECKED;
}

std::string TextOf(HWND control) {
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(control, text.data(),
                                                        static_cast<int>(text.size()))));
  return text;
}

// The command line with its program replaced: the arguments the user wrote stay.
std::string WithProgram(const std::string& command, const char* program) {
  std::size_t rest = 0;
  if (!command.empty() && command[0] == '"') {
    const std::size_t close = command.find('"', 1);
    rest = close == std::string::npos ? command.size() : close + 1;
  } else {
    rest = command.find(' ');
    if (rest == std::string::npos) rest = command.size();
  }
  const std::string path = program;
  const std::string quoted = path.find(' ') == std::string::npos ? path : '"' + path + '"';
  return quoted + command.substr(rest);
}

}  // namespace

bool NotifyPage::Create(HWND parent, HFONT font, Host* host) {
  parent_ = parent;
  host_ = host;
  HWND buddy = nullptr;
  for (const PageEntry& entry : kPage) {
    ui::ControlArgs args{{parent, entry.id, entry.x, entry.y, entry.width, entry.height}};
    args.class_name = ClassOf(entry.kind);
    args.text = entry.text;
    args.style = StyleOf(entry.kind);
    args.ex_style = entry.kind == Kind::kEdit || entry.kind == Kind::kNumber ? WS_EX_CLIENTEDGE : 0;
    args.font = font;
    HWND control = ui::CreateControl(args);
    if (control == nullptr) return false;
    controls_.push_back(control);
    if (entry.kind == Kind::kNumber) buddy = control;
    if (entry.kind == Kind::kSpin) {
      ::SendMessageA(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
      ::SendMessageA(control, UDM_SETRANGE32, kMinCommandTimeout, kMaxCommandTimeout);
    }
  }
  ::SendDlgItemMessageA(parent, kIdCommandEdit, EM_LIMITTEXT, kCommandCapacity - 1, 0);
  ::SendDlgItemMessageA(parent, kIdTimeoutEdit, EM_LIMITTEXT, 3, 0);

  const NotifySettings settings = host_->CurrentNotify();
  filling_ = true;
  ::CheckDlgButton(parent, kIdNoticeChange, settings.Change ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(parent, kIdNoticeOutage, settings.Outage ? BST_CHECKED : BST_UNCHECKED);
  ::SetDlgItemTextA(parent, kIdCommandEdit, settings.Command.c_str());
  ::SendDlgItemMessageA(parent, kIdTimeoutSpin, UDM_SETPOS32, 0, settings.CommandTimeout);
  filling_ = false;
  return true;
}

void NotifyPage::Show(bool show) {
  for (HWND control : controls_) ::ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}

NotifySettings NotifyPage::Settings() const {
  NotifySettings settings = host_->CurrentNotify();
  settings.Change = Checked(parent_, kIdNoticeChange);
  settings.Outage = Checked(parent_, kIdNoticeOutage);
  settings.Command = TextOf(::GetDlgItem(parent_, kIdCommandEdit));
  BOOL valid = FALSE;
  const UINT timeout = ::GetDlgItemInt(parent_, kIdTimeoutEdit, &valid, FALSE);
  // A field being typed into may hold no number or one out of bounds for a moment.
  if (valid && timeout >= kMinCommandTimeout && timeout <= kMaxCommandTimeout) {
    settings.CommandTimeout = static_cast<int32_t>(timeout);
  }
  return settings;
}

bool NotifyPage::OnCommand(int id, UINT code) {
  switch (id) {
    case kIdNoticeChange:
    case kIdNoticeOutage:
      if (code == BN_CLICKED) host_->ChangeNotify(Settings());
      return true;
    case kIdCommandEdit:
      if (code == EN_CHANGE && !filling_) host_->ChangeNotify(Settings());
      return true;
    case kIdTimeoutEdit:
      if (code == EN_CHANGE && !filling_) host_->ChangeNotify(Settings());
      // Left with a value out of bounds: the field shows the limit in use again.
      if (code == EN_KILLFOCUS) {
        filling_ = true;
        ::SendDlgItemMessageA(parent_, kIdTimeoutSpin, UDM_SETPOS32, 0,
                              host_->CurrentNotify().CommandTimeout);
        filling_ = false;
      }
      return true;
    case kIdCommandBrowse:
      if (code == BN_CLICKED) Browse();
      return true;
    case kIdCommandTest:
      if (code == BN_CLICKED) host_->TestCommand(TextOf(::GetDlgItem(parent_, kIdCommandEdit)));
      return true;
    default:
      return false;
  }
}

void NotifyPage::Browse() {
  // Not a KnownDLL on every system: taken from System32, once, when first needed.
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const GetOpenFileNameFn get_open_file_name =
      SystemFunction<GetOpenFileNameFn>(LoadSystemLibrary("comdlg32.dll"), "GetOpenFileNameA");
  if (get_open_file_name == nullptr) return;
  char path[kPathCapacity] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = parent_;
  dialog.lpstrFilter = texts::kOptionBrowseFilter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!get_open_file_name(&dialog)) return;
  const std::string command = WithProgram(TextOf(::GetDlgItem(parent_, kIdCommandEdit)), path);
  // Through the field, whose change notice passes it on.
  ::SetDlgItemTextA(parent_, kIdCommandEdit, command.c_str());
  ::SetFocus(::GetDlgItem(parent_, kIdCommandEdit));
}

}  // namespace lvn
