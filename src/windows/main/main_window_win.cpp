#include "windows/main/main_window_win.h"

#include "desktop/status_layout.h"
#include "desktop/tray_win.h"
#include "history/clock_win.h"
#include "ui/application_win.h"
#include "util/data_folder_win.h"
#include "util/path.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/main/main_menu_win.h"
#include "windows/main/main_window_ids.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn {
namespace {

const UINT kTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

void ShowBox(const std::string& text, UINT type) {
  ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(texts::Ui().AppTitle).c_str(), type);
}

}  // namespace

TfrmMain::~TfrmMain() {
  DestroyHandle();  // FormDestroy runs here, while this object is whole
}

bool TfrmMain::Create(std::string* error) {
  if (!Settings) {
    *error = texts::Ui().SettingsUnreadable + IniPath;
    return false;
  }
  if (!BuildLayout()) {
    *error = "";
    return false;
  }
  ExitRequested = false;
  notifier_.Attach(DataFolder.c_str(), Handle(), kMsgCommandEnded,
                   [this](const Notice& notice) { return tray_.ShowNotice(notice); });
  LoadSettings();
  // The first check runs while the rest is built.
  StartLookup();
  history_.SetFolder(DataFolder.c_str(), ProgramFolder());
  ShowUpdateTime(UpdateTimeText(ChangeSeen::kBefore, Check.LastChange).c_str());
  scheduler_.SetPeriod(CheckInterval);
  scheduler_.WatchNetwork(Lookup.CheckOnNetworkChange);

  StatusStrip = std::make_unique<TStatus>(&Status, dpi_);
  StatusStrip->LayoutFor(LookupHost);
  ShowIntervalStatus();

  const std::wstring folder = Wide(DataFolder);
  if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ::CreateDirectoryW(folder.c_str(), nullptr);  // a failure shows in the writes that follow
  }
  // A portable copy's data stays with it, even on a stick that is write-protected: said,
  // never moved elsewhere behind the user's back.
  if (portable_ && !FolderTakesFiles(DataFolder)) {
    ShowBox(texts::Ui().PortableFolderReadOnly + DataFolder, MB_OK | MB_ICONWARNING);
  }
  ShowNowIp("");
  ui::UseDialogKeys(Handle(), true);
  created_ = true;
  return true;
}

void TfrmMain::Show(bool to_tray) {
  if (to_tray) {
    // What the first show does, without the window: the check start, the grid, the icon.
    FormShow();
    if (tray_.Show()) return;
    ::ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
    return;
  }
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::UpdateWindow(Handle());
}

void TfrmMain::StartLookup() {
  // A tick or click while a lookup runs is dropped, not queued.
  if (scheduler_.Running()) return;
  ::EnableWindow(Update, FALSE);
  // Without a thread there is no result to enable the button again; the next tick retries.
  if (!scheduler_.Start(LookupUrl, Lookup.FallbackUrl)) ::EnableWindow(Update, TRUE);
}

void TfrmMain::ChangeLookup(const LookupSettings& settings) {
  Lookup = settings;
  scheduler_.WatchNetwork(Lookup.CheckOnNetworkChange);
}

bool TfrmMain::OnSchedule(UINT message, WPARAM wparam, LPARAM lparam) {
  LookupResult result;
  bool handled = false;
  switch (scheduler_.OnMessage(message, wparam, lparam, &result, &handled)) {
    case CheckScheduler::Action::kCheck:
      if (created_ && !destroying_) StartLookup();
      break;
    case CheckScheduler::Action::kResult:
      // The lookup has ended before Update is enabled again, so a click the moment it is
      // enabled starts the next one.
      if (created_ && !destroying_) {
        const LocalTime now = CurrentLocalTime();
        notifier_.OnCheck(HandleLookupResult(result, now, &Check, this), now);
      }
      break;
    case CheckScheduler::Action::kHeldFailure:
      EnableUpdate();
      break;
    case CheckScheduler::Action::kNone:
      break;
  }
  return handled;
}

void TfrmMain::ShowIntervalStatus() {
  StatusStrip->DrawField(0, IntervalStatusText(CheckInterval).c_str(), false);
  StatusStrip->DrawField(1, LookupHost, false);
}

void TfrmMain::ShowRowStatus(const char* text) {
  if (StatusStrip) StatusStrip->DrawField(2, text, false);
}

void TfrmMain::ReloadHistoryGrid() {
  if (history_grid_.Reload(Views(), !FirstShowDone) == ReloadResult::kRead) {
    Settings->WriteInteger(kSettingsSection, kKeyPrimaryKey, history_.LastRecordKey());
    SaveSettings();
  }
}

void TfrmMain::FormShow() {
  if (FirstShowDone) return;
  RecordEvent(kEventCheckStart, kRecordCheckStart, CurrentLocalTime());
  ReloadHistoryGrid();
  FirstShowDone = true;
  grid_focus_due_ = true;
  ::PostMessageW(Handle(), kMsgFocusGrid, 0, 0);
  tray_.Show();
}

bool TfrmMain::FormCloseQuery() {
  if (ExitRequested) return true;
  // Hidden without an icon, the window could not be reached again: the shell may refuse
  // the icon while it is busy at logon. Minimized it stays on the taskbar, and the add is
  // tried again when it is restored or the shell starts anew.
  if (!tray_.Show()) {
    ::ShowWindow(Handle(), SW_MINIMIZE);
    return false;
  }
  ::ShowWindow(Handle(), SW_HIDE);
  if (OptionWindowOpen()) ::ShowWindow(option_window_->Handle(), SW_HIDE);
  return false;
}

void TfrmMain::FormDestroy(bool session_ends) {
  destroying_ = true;
  // A window whose construction failed never ran: nothing to record, no settings to write.
  if (!created_ || end_recorded_) return;
  end_recorded_ = true;
  RecordEvent(kEventCheckEnd, kRecordCheckEnd, CurrentLocalTime());
  RecordEvent(kEventOff, kRecordOffMark, CurrentLocalTime());
  // Records that another program's hold on the log kept out go beside it, not away.
  const bool saved = history_.SaveUnwritten();
  notifier_.Stop();
  scheduler_.Stop();
  SaveAllSettings();
  // When nothing took them, the user is told what is lost, unless the logon ends and
  // nobody could answer.
  if (!saved && !session_ends) {
    ShowBox(texts::Ui().UnwrittenRecordsLost + history_.UnwrittenText(),
            MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
}

bool TfrmMain::FolderTakesFiles(const std::string& folder) {
  const ScopedHandle file(
      ::CreateFileW(Wide(folder + "lvn.probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(file);
}

std::string TfrmMain::ProgramFolder() {
  std::string folder;
  if (!ProgramPath(&folder)) return {};
  const std::size_t slash = folder.find_last_of('\\');
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder;
}

void TfrmMain::RestoreFromTray() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  if (OptionWindowOpen()) ::ShowWindow(option_window_->Handle(), SW_SHOWNA);
  ::SetForegroundWindow(Handle());
  ::SetFocus(Handle());
}

bool TfrmMain::OptionWindowOpen() const {
  return option_window_ && option_window_->Handle() != nullptr;
}

void TfrmMain::SetOptClick() {
  if (OptionWindowOpen()) {
    ::SetForegroundWindow(option_window_->Handle());
    ::SetFocus(option_window_->Handle());
    return;
  }
  auto window = std::make_unique<TfrmOption>(static_cast<OptionHost*>(this));
  if (!window->Create(Handle())) return;
  option_window_ = std::move(window);
  option_window_->Show();
}

void TfrmMain::OptionWindowClosed() {
  // Called from the options window's own WM_DESTROY: its object goes once that returned.
  ::PostMessageW(Handle(), kMsgOptionWindowClosed, 0, 0);
}

void TfrmMain::ChangeCheckInterval(int32_t interval_ms) {
  CheckInterval = interval_ms;
  scheduler_.SetPeriod(CheckInterval);
  ShowIntervalStatus();
}

void TfrmMain::ChangeViews(ViewSwitches views) {
  ViewCheckStart = views.CheckStart;
  ViewConnectError = views.ConnectError;
  ViewOff = views.Off;
  ReloadHistoryGrid();
}

void TfrmMain::ExitAppClick() {
  ExitRequested = true;
  tray_.Hide();
  ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TfrmMain::OnCommand(int id) {
  switch (id) {
    case kIdUpdate:
      StartLookup();
      break;
    case kCmdExitApp:
    case kCmdTrayExit:
      ExitAppClick();
      break;
    case kCmdOptions:
      SetOptClick();
      break;
    default:
      RunMenuCommand(id, Handle(), DataFolder.c_str());
      break;
  }
}

void TfrmMain::RecordEvent(int32_t code, const char* text, const LocalTime& time) {
  history_.Write(code, text, time);
  if (code != kEventOff && code != kEventCheckStart && code != kEventCheckEnd) {
    ReloadHistoryGrid();
  }
}

int32_t TfrmMain::LastEventCode() const { return history_.LastEventCode(); }

void TfrmMain::ShowNowIp(const char* text) {
  now_ip_line_.SetText(text, scheduler_.AnswerNote().c_str());
}

void TfrmMain::ShowUpdateTime(const char* text) {
  ::SetWindowTextW(UpdateTime, Wide(text).c_str());
}

void TfrmMain::EnableUpdate() { ::EnableWindow(Update, TRUE); }

LRESULT TfrmMain::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kMsgHistoryTooLarge:
      history_grid_.TellTooLarge();
      return 0;
    case kMsgFocusGrid:
      if (grid_focus_due_) {
        grid_focus_due_ = false;
        ::SetFocus(MainGrid.Handle());
      }
      return 0;
    case kMsgTrayNotification:
      switch (DecodeTrayNotification(static_cast<short>(LOWORD(lparam)))) {
        case TrayCommand::kRestore: RestoreFromTray(); break;
        case TrayCommand::kMenu: tray_.OpenMenu(Handle()); break;
        case TrayCommand::kNone: break;
      }
      return 0;
    case kMsgCommandEnded:
      while (const auto report = notifier_.OnRunEnded()) ShowCommandTestReport(Handle(), *report);
      return 0;
    case kMsgOptionWindowClosed:
      if (option_window_ && option_window_->Handle() == nullptr) option_window_.reset();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_SHOWWINDOW:
      if (wparam != FALSE) FormShow();
      break;
    case WM_SIZE:
      history_grid_.FitColumns();
      if (wparam == SIZE_RESTORED && FirstShowDone && !ExitRequested) tray_.Show();
      break;
    case WM_LBUTTONDOWN:
      ui::MoveWithMouse(Handle());
      return 0;
    case WM_DPICHANGED: {
      UINT dpi = 0;
      POINT top_left{};
      if (ui::SystemDpiChange(Handle(), wparam, lparam, dpi_, &dpi, &top_left)) {
        ApplyDpi(dpi, &top_left);
      }
      return 0;
    }
    case WM_CLOSE:
      // The close passes only for the exit commands; it ends the message loop, and the
      // window is destroyed as the application shuts down.
      if (FormCloseQuery()) ::PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      // The logon ends, or the system closes the program, without a close request: record
      // the end of checking now and end as the exit command would.
      if (wparam != FALSE) {
        ExitRequested = true;
        tray_.Hide();
        FormDestroy(true);
        ::PostQuitMessage(0);
      }
      return 0;
    case WM_DESTROY:
      ui::UseDialogKeys(Handle(), false);
      FormDestroy(false);
      return 0;
    default:
      if (message == kTaskbarCreated && FirstShowDone && !ExitRequested) {
        // The shell restarted and forgot the icon; without it the hidden window is lost.
        tray_.Forget();
        tray_.Show();
        return 0;
      }
      break;
  }
  // A resume from sleep is answered TRUE, as the system asks.
  if (OnSchedule(message, wparam, lparam)) return message == WM_POWERBROADCAST ? TRUE : 0;
  return ui::Window::OnMessage(message, wparam, lparam);
}

}  // namespace lvn
