#include "windows/main/main_window_win.h"

#include "windows/main/main_window_messages_win.h"
#include "windows/main/main_window_ids.h"
#include "desktop/menu_commands_win.h"
#include "desktop/status_layout.h"
#include "desktop/tray_win.h"
#include "history/clock_win.h"
#include "lookup/lookup_worker_win.h"
#include "settings/settings_file_win.h"
#include "ui/application_win.h"
#include "util/data_folder_win.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {

bool FirstShowDone = false;

namespace {

constexpr UINT_PTR kTimer1 = 1;
// A lookup ends by itself within 5 s, reads included, but a server can hold the send step
// for as long as it likes with a head that trickles in: past this, the window stops waiting
// for the worker and counts the lookup as failed.
constexpr UINT_PTR kTimerLookupLimit = 2;
constexpr UINT kLookupLimitMs = 8000;
// A timer may fire a little before its time by the tick count.
constexpr DWORD kTimerSlackMs = 250;
constexpr int kGridColumns[] = {100, 75};

const UINT kTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

}  // namespace

TfrmMain::~TfrmMain() {
  DestroyHandle();  // FormDestroy runs here, while this object is whole
  Settings.reset();
  StatusStrip.reset();
  FirstShowDone = false;
}

bool TfrmMain::Create(std::string* error) {
  if (!BuildLayout()) {
    *error = "";
    return false;
  }
  ExitRequested = false;
  DataFolderPath(DataFolder, sizeof DataFolder);
  JoinTexts(IniPath, DataFolder, "lvn.ini", "", "", "", sizeof IniPath);

  Settings = std::make_unique<IniFile>();
  if (!LoadSettingsFile(IniPath, Settings.get())) {
    *error = std::string(texts::kSettingsUnreadable) + IniPath;
    return false;
  }
  const SettingsValues values = ReadSettings(*Settings);
  CheckInterval = values.CheckInterval;
  CopyText(LookupUrl, values.LookupUrl, sizeof LookupUrl);
  UrlHost(LookupHost, LookupUrl, sizeof LookupHost);

  StartLookup();

  CopyText(Check.LastIp, values.LastIp, sizeof Check.LastIp);
  CopyText(Check.LastChange, values.LastChange, sizeof Check.LastChange);
  history_.SetFolder(DataFolder);
  history_.SetLastRecordKey(values.LastRecordKey);
  char update_time[kUpdateTimeCapacity];
  UpdateTimeText(update_time, sizeof update_time, false, Check.LastChange);
  ShowUpdateTime(update_time);
  SetTimerPeriod(CheckInterval);
  ViewCheckStart = values.ViewCheckStart;
  ViewConnectError = values.ViewConnectError;
  ViewOff = values.ViewOff;

  char layout[kLayoutTextCapacity];
  JoinTexts(layout, texts::kIntervalSample, ";", LookupHost, ";", texts::kRowSample, sizeof layout);
  StatusStrip = std::make_unique<TStatus>(&Status);
  StatusStrip->Layout(layout);
  ShowIntervalStatus();

  if (::GetFileAttributesA(DataFolder) == INVALID_FILE_ATTRIBUTES) {
    ::CreateDirectoryA(DataFolder, nullptr);  // a failure shows in the writes that follow
  }
  ShowNowIp("");
  ui::UseDialogKeys(Handle(), true);
  created_ = true;
  return true;
}

void TfrmMain::Show() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::UpdateWindow(Handle());
}

void TfrmMain::SetTimerPeriod(int32_t period_ms) {
  // The same period again keeps the timer's rhythm.
  if (period_ms == timer_period_) return;
  ::SetTimer(Handle(), kTimer1, static_cast<UINT>(period_ms), nullptr);
  timer_period_ = period_ms;
}

void TfrmMain::StartLookup() {
  // A tick or click while a lookup runs is dropped, not queued.
  if (lookup_.Running()) return;
  ::EnableWindow(Update, FALSE);
  // Without a thread there is no result to enable the button again; the next tick retries.
  if (!lookup_.Start(LookupUrl, Handle(), kMsgLookupResult)) {
    ::EnableWindow(Update, TRUE);
    return;
  }
  lookup_started_ms_ = ::GetTickCount();
  ::SetTimer(Handle(), kTimerLookupLimit, kLookupLimitMs, nullptr);
}

void TfrmMain::EndLookup(const char* result) {
  ::KillTimer(Handle(), kTimerLookupLimit);
  if (created_ && !destroying_) HandleLookupResult(result, CurrentLocalTime(), &Check, this);
}

void TfrmMain::ShowIntervalStatus() {
  StatusStrip->DrawField(0, IntervalStatusText(CheckInterval).c_str(), false);
  StatusStrip->DrawField(1, LookupHost, false);
}

void TfrmMain::ShowRowStatus(const char* text) {
  if (StatusStrip) StatusStrip->DrawField(2, text, false);
}

void TfrmMain::SaveSettings() {
  // A refused write leaves the old file; the next save tries again.
  SaveSettingsFile(*Settings, IniPath);
}

void TfrmMain::ReloadHistoryGrid() {
  const ReloadResult result = history_.Reload(Views());
  if (result == ReloadResult::kRead) {
    Settings->WriteInteger(kSettingsSection, kKeyPrimaryKey, history_.LastRecordKey());
    SaveSettings();
  }
  if (result == ReloadResult::kUnreadable) {
    // Held by another program for now: the grid keeps what it shows.
    ShowRowStatus(texts::kHistoryUnreadableStatus);
    return;
  }
  // One reshape and one repaint for the whole history; the grid asks for the rows in view.
  MainGrid.SetSource(this, kGridHeaderRows);
  if (result == ReloadResult::kTooLarge) {
    ShowRowStatus(texts::kHistoryTooLargeStatus);
    if (!too_large_told_) {
      too_large_told_ = true;
      too_large_to_tell_ = true;
      ::PostMessageA(Handle(), kMsgHistoryTooLarge, 0, 0);
    }
    return;
  }
  MainGrid.SetTopRow(MainGrid.RowCount() - MainGrid.VisibleDataRows());
  if (MainGrid.RowCount() > 1 && !FirstShowDone) MainGrid.SetRow(MainGrid.RowCount() - 1);
  ShowRowStatus(RowIndicatorText(MainGrid.Row(), MainGrid.RowCount()).c_str());
}

void TfrmMain::ShowHistoryTooLarge() {
  std::string message = texts::kHistoryTooLargeMessage;
  message += history_.Folder();
  message += kLogFileName;
  ::MessageBoxA(Handle(), message.c_str(), texts::kAppTitle, MB_OK | MB_ICONWARNING);
}

int TfrmMain::GridRowCount() const { return history_.View().RowCount(); }

int TfrmMain::GridColCount() const { return kHistoryColumns; }

void TfrmMain::GridCellText(int col, int row, std::string* text) const {
  history_.View().CellText(row, col, text);
}

void TfrmMain::FormShow() {
  if (FirstShowDone) return;
  RecordEvent(kEventCheckStart, texts::kCheckStart, CurrentLocalTime());
  ReloadHistoryGrid();
  FirstShowDone = true;
  grid_focus_due_ = true;
  ::PostMessageA(Handle(), kMsgFocusGrid, 0, 0);
  SetTrayIconState(true);
}

void TfrmMain::FormResize() {
  if (MainGrid.Handle() == nullptr) return;
  const int bar = MainGrid.VisibleDataRows() + 1 < MainGrid.RowCount()
                      ? ::GetSystemMetrics(SM_CXVSCROLL)
                      : 0;
  MainGrid.SetColWidth(0, kGridColumns[0]);
  MainGrid.SetColWidth(1, kGridColumns[1]);
  RECT grid{};
  ::GetWindowRect(MainGrid.Handle(), &grid);
  MainGrid.SetColWidth(2, (grid.right - grid.left) - kGridColumns[0] - kGridColumns[1] - bar - 8);
}

bool TfrmMain::FormCloseQuery() {
  if (ExitRequested) return true;
  // Hidden without an icon, the window could not be reached again: the shell may refuse
  // the icon while it is busy at logon. Minimized it stays on the taskbar, and the add is
  // tried again when it is restored or the shell starts anew.
  if (!SetTrayIconState(true)) {
    ::ShowWindow(Handle(), SW_MINIMIZE);
    return false;
  }
  ::ShowWindow(Handle(), SW_HIDE);
  if (OptionWindowOpen && option_window_) ::ShowWindow(option_window_->Handle(), SW_HIDE);
  return false;
}

void TfrmMain::FormDestroy() {
  destroying_ = true;
  // A window whose construction failed never ran: nothing to record, no settings to write.
  if (!created_ || end_recorded_) return;
  end_recorded_ = true;
  RecordEvent(kEventCheckEnd, texts::kCheckEnd, CurrentLocalTime());
  RecordEvent(kEventOff, texts::kOffMark, CurrentLocalTime());
  // Records that another program's hold on the log kept out go beside it, not away.
  history_.SaveUnwritten();
  SettingsValues values{};
  values.CheckInterval = CheckInterval;
  CopyText(values.LookupUrl, LookupUrl, sizeof values.LookupUrl);
  CopyText(values.LastIp, Check.LastIp, sizeof values.LastIp);
  CopyText(values.LastChange, Check.LastChange, sizeof values.LastChange);
  values.LastRecordKey = history_.LastRecordKey();
  values.ViewCheckStart = ViewCheckStart;
  values.ViewConnectError = ViewConnectError;
  values.ViewOff = ViewOff;
  WriteSettings(*Settings, values);
  SaveSettings();
}

bool TfrmMain::SetTrayIconState(bool add) {
  if (add == tray_icon_shown_) return tray_icon_shown_;
  const bool done = SetTrayIcon(TaskTrayIbent, add ? TrayAction::kAdd : TrayAction::kRemove,
                                icon_, ui::ApplicationTitle());
  tray_icon_shown_ = add && done;
  return tray_icon_shown_;
}

void TfrmMain::OnTrayNotification(int mouse_message) {
  switch (DecodeTrayNotification(mouse_message)) {
    case TrayCommand::kRestore:
      RestoreFromTray();
      break;
    case TrayCommand::kMenu:
      OpenTrayMenu();
      break;
    case TrayCommand::kNone:
      break;
  }
}

void TfrmMain::RestoreFromTray() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  if (OptionWindowOpen && option_window_) ::ShowWindow(option_window_->Handle(), SW_SHOWNA);
  ::SetForegroundWindow(Handle());
  ::SetFocus(Handle());
}

void TfrmMain::BackgroundLButtonDown() {
  RECT before{};
  ::GetWindowRect(Handle(), &before);
  // The system's move, as if the caption had been grabbed; it returns when the button is up.
  ::SendMessageA(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  RECT after{};
  ::GetWindowRect(Handle(), &after);
  if (after.top < 0) {
    ::SetWindowPos(Handle(), nullptr, 0, 0, after.right - after.left, before.bottom - before.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TfrmMain::SetOptClick() {
  if (OptionWindowOpen && option_window_) {
    ::SetForegroundWindow(option_window_->Handle());
    ::SetFocus(option_window_->Handle());
    return;
  }
  auto window = std::make_unique<TfrmOption>(this);
  if (!window->Create(Handle())) return;
  option_window_ = std::move(window);
  option_window_->Show();
}

void TfrmMain::ChangeCheckInterval(int32_t interval_ms) {
  CheckInterval = interval_ms;
  SetTimerPeriod(CheckInterval);
  ShowIntervalStatus();
}

void TfrmMain::ChangeViews(ViewSwitches views) {
  ViewCheckStart = views.CheckStart;
  ViewConnectError = views.ConnectError;
  ViewOff = views.Off;
  ReloadHistoryGrid();
}

void TfrmMain::OpenTrayMenu() {
  POINT at{};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(Handle());
  ::TrackPopupMenu(TaskBarPop.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
  // Lets the menu close when the user clicks elsewhere.
  ::PostMessageA(Handle(), WM_NULL, 0, 0);
}

void TfrmMain::ExitAppClick() {
  ExitRequested = true;
  SetTrayIconState(false);
  ::SendMessageA(Handle(), WM_CLOSE, 0, 0);
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
    case kCmdOpenFolder:
      OpenDataFolder(DataFolder);
      break;
    case kCmdHelp:
      OpenHelpPage();
      break;
    case kCmdHomePage:
      OpenHomePage(Handle());
      break;
    case kCmdVersion:
      ShowVersionBox(Handle());
      break;
    default:
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

void TfrmMain::ShowNowIp(const char* text) { now_ip_line_.SetText(text); }

void TfrmMain::ShowUpdateTime(const char* text) { ::SetWindowTextA(UpdateTime, text); }

void TfrmMain::EnableUpdate() { ::EnableWindow(Update, TRUE); }

void TfrmMain::SaveAddressChange(const char* last_ip, const char* last_change) {
  Settings->WriteString(kSettingsSection, kKeyLastIp, last_ip);
  Settings->WriteString(kSettingsSection, kKeyLastChange, last_change);
  SaveSettings();
}

LRESULT TfrmMain::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kMsgLookupResult: {
      // Taking the result ends the lookup before Update is enabled again, so a click the
      // moment it is enabled starts the next one.
      char result[kResultTextCapacity];
      if (lookup_.TakeResult(result)) EndLookup(result);
      return 0;
    }
    case kMsgHistoryTooLarge:
      if (too_large_to_tell_) {
        too_large_to_tell_ = false;
        ShowHistoryTooLarge();
      }
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1 && created_ && !destroying_) StartLookup();
      if (wparam == kTimerLookupLimit) {
        // Any program can post a WM_TIMER: only a lookup that has run that long is given up.
        if (!lookup_.Running()) {
          ::KillTimer(Handle(), kTimerLookupLimit);
        } else if (::GetTickCount() - lookup_started_ms_ >= kLookupLimitMs - kTimerSlackMs) {
          lookup_.Abandon();
          EndLookup(kResultError);
        }
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_SHOWWINDOW:
      if (wparam != FALSE) FormShow();
      break;
    case kMsgFocusGrid:
      if (grid_focus_due_) {
        grid_focus_due_ = false;
        ::SetFocus(MainGrid.Handle());
      }
      return 0;
    case WM_SIZE:
      FormResize();
      if (wparam == SIZE_RESTORED && FirstShowDone && !ExitRequested) SetTrayIconState(true);
      break;
    case WM_LBUTTONDOWN:
      BackgroundLButtonDown();
      return 0;
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
        SetTrayIconState(false);
        FormDestroy();
        ::PostQuitMessage(0);
      }
      return 0;
    case WM_DESTROY:
      ui::UseDialogKeys(Handle(), false);
      FormDestroy();
      return 0;
    default:
      if (message == kTaskbarCreated && FirstShowDone && !ExitRequested) {
        // The shell restarted and forgot the icon; without it the hidden window is lost.
        tray_icon_shown_ = false;
        SetTrayIconState(true);
        return 0;
      }
      break;
  }
  return ui::Window::OnMessage(message, wparam, lparam);
}

}  // namespace lvn
