#include "windows/options/notify_page_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "util/code_page.h"
#include "util/system_library_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/page_controls_win.h"

namespace lvn {
namespace {

using Kind = PageControl;
constexpr int kNoticeX = 88, kNoticeY = 16, kCommandX = 88, kCommandY = 88;
constexpr PageEntry kPage[] = {
    {Kind::kGroup, kIdNoticeGroup, kNoticeX, kNoticeY, 273, 65, &texts::Texts::OptionNoticeGroup},
    {Kind::kCheck, kIdNoticeChange, kNoticeX + 8, kNoticeY + 16, 257, 20,
     &texts::Texts::OptionNoticeChange},
    {Kind::kCheck, kIdNoticeOutage, kNoticeX + 8, kNoticeY + 38, 257, 20,
     &texts::Texts::OptionNoticeOutage},
    {Kind::kGroup, kIdCommandGroup, kCommandX, kCommandY, 273, 113, &texts::Texts::OptionCommandGroup},
    {Kind::kLabel, kIdCommandLabel, kCommandX + 8, kCommandY + 16, 257, 14,
     &texts::Texts::OptionCommandLabel},
    {Kind::kEdit, kIdCommandEdit, kCommandX + 8, kCommandY + 32, 257, 21},
    {Kind::kButton, kIdCommandBrowse, kCommandX + 8, kCommandY + 59, 81, 23,
     &texts::Texts::OptionCommandBrowse},
    {Kind::kLabel, kIdTimeoutLabel, kCommandX + 100, kCommandY + 64, 64, 14,
     &texts::Texts::OptionTimeoutLabel},
    {Kind::kNumber, kIdTimeoutEdit, kCommandX + 166, kCommandY + 60, 52, 21},
    {Kind::kSpin, kIdTimeoutSpin, 0, 0, 0, 0},
    {Kind::kLabel, kIdTimeoutUnit, kCommandX + 222, kCommandY + 64, 30, 14,
     &texts::Texts::OptionTimeoutUnit},
    {Kind::kButton, kIdCommandTest, kCommandX + 8, kCommandY + 87, 105, 23,
     &texts::Texts::OptionCommandTest},
};

// The longest path the system's file calls take, terminating zero included.
constexpr std::size_t kLongestPath = 32768;

// The command line with its program replaced: the arguments the user wrote stay.
std::string WithProgram(const std::string& command, const std::string& program) {
  std::size_t rest = 0;
  if (!command.empty() && command[0] == '"') {
    const std::size_t close = command.find('"', 1);
    rest = close == std::string::npos ? command.size() : close + 1;
  } else {
    rest = command.find(' ');
    if (rest == std::string::npos) rest = command.size();
  }
  const std::string quoted =
      program.find(' ') == std::string::npos ? program : '"' + program + '"';
  return quoted + command.substr(rest);
}

}  // namespace

bool NotifyPage::Create(HWND parent, HFONT font, UINT dpi, Host* host) {
  parent_ = parent;
  host_ = host;
  if (!CreatePageControls(parent, font, kPage, dpi, &controls_)) return false;
  ::SendDlgItemMessageW(parent, kIdTimeoutSpin, UDM_SETRANGE32, kMinCommandTimeout,
                        kMaxCommandTimeout);
  ::SendDlgItemMessageW(parent, kIdCommandEdit, EM_LIMITTEXT, kCommandCapacity - 1, 0);
  ::SendDlgItemMessageW(parent, kIdTimeoutEdit, EM_LIMITTEXT, 3, 0);

  const NotifySettings settings = host_->CurrentNotify();
  filling_ = true;
  ::CheckDlgButton(parent, kIdNoticeChange, settings.Change ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(parent, kIdNoticeOutage, settings.Outage ? BST_CHECKED : BST_UNCHECKED);
  SetTextOf(parent, kIdCommandEdit, settings.Command);
  ::SendDlgItemMessageW(parent, kIdTimeoutSpin, UDM_SETPOS32, 0, settings.CommandTimeout);
  filling_ = false;
  return true;
}

void NotifyPage::ApplyDpi(HFONT font, UINT dpi) {
  PlacePageControls(controls_, kPage, font, dpi);
}

void NotifyPage::Show(bool show) {
  if (!show) HideBalloon();
  ShowPageControls(controls_, show);
}

void NotifyPage::OnTimer(UINT_PTR id) { balloon_.OnTimer(parent_, id); }

void NotifyPage::HideBalloon() { balloon_.Hide(); }

NotifySettings NotifyPage::Settings() const {
  NotifySettings settings = host_->CurrentNotify();
  settings.Change = Checked(parent_, kIdNoticeChange);
  settings.Outage = Checked(parent_, kIdNoticeOutage);
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
      // A window that closes hides first, which takes the focus from the field: the
      // command is taken then, or refused, without a word.
      if (code == EN_KILLFOCUS) TakeCommand(::IsWindowVisible(parent_) != FALSE);
      if (code == EN_CHANGE) HideBalloon();
      return true;
    case kIdTimeoutEdit:
      if (code == EN_CHANGE && !filling_) host_->ChangeNotify(Settings());
      // Left with a value out of bounds: the field shows the limit in use again.
      if (code == EN_KILLFOCUS) {
        filling_ = true;
        ::SendDlgItemMessageW(parent_, kIdTimeoutSpin, UDM_SETPOS32, 0,
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

bool NotifyPage::TakeCommand(bool tell) {
  if (parent_ == nullptr) return true;
  NotifySettings settings = host_->CurrentNotify();
  std::string command = TextOf(::GetDlgItem(parent_, kIdCommandEdit));
  if (command == settings.Command) return true;
  // lvn.ini keeps code page 932: a command with a character it lacks could not be saved,
  // and a "?" in its place would run another program, or none.
  std::string stored;
  if (!Cp932OfUtf8(command, &stored)) {
    if (tell) {
      balloon_.Tell(parent_, kIdCommandEdit, texts::Ui().CommandRefusedTitle,
                    texts::Ui().CommandNotStorable);
    }
    return false;
  }
  settings.Command = std::move(command);
  host_->ChangeNotify(settings);
  return true;
}

void NotifyPage::Browse() {
  // Not a KnownDLL on every system: taken from System32, once, when first needed.
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const GetOpenFileNameFn get_open_file_name =
      SystemFunction<GetOpenFileNameFn>(LoadSystemLibrary("comdlg32.dll"), "GetOpenFileNameW");
  if (get_open_file_name == nullptr) return;
  // Description and pattern pairs, each ending in a zero, and one more zero at the end.
  std::wstring filter = Wide(texts::Ui().OptionBrowseFilter);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  // Room for the longest path the system has: a file is never cut from the command.
  std::wstring path(kLongestPath, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = parent_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!get_open_file_name(&dialog)) return;
  path.resize(std::char_traits<wchar_t>::length(path.c_str()));
  const std::string command =
      WithProgram(TextOf(::GetDlgItem(parent_, kIdCommandEdit)), Utf8Of(path));
  // Taken, as typed text is, when the field is left.
  SetTextOf(parent_, kIdCommandEdit, command);
  ::SetFocus(::GetDlgItem(parent_, kIdCommandEdit));
}

}  // namespace lvn
