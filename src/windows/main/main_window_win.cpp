#include "windows/main/main_window_win.h"

#include "desktop/status_layout.h"
#include "desktop/tray_win.h"
#include "history/clock_win.h"
#include "ui/application_win.h"
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
  if (!model_.SettingsRead()) {
    *error = texts::Ui().SettingsUnreadable + model_.IniPath();
    return false;
  }
  if (!BuildLayout()) {
    *error = "";
    return false;
  }
  ExitRequested = false;
  const AppSettings& settings = model_.Current();
  notifier_.Attach(model_.DataFolder().c_str(), Handle(), kMsgCommandEnded, &settings.Notify,
                   [this](const Notice& notice) { return tray_.ShowNotice(notice); });
  updates_.Attach(Handle(), kMsgUpdateEnded, kTimerUpdateRetry, model_.DataFolder());
  // The first check runs while the rest is built.
  StartLookup();
  ::SetWindowTextW(controls_.UpdateTime,
                   Wide(UpdateTimeText(ChangeSeen::kBefore, settings.Value.LastChange)).c_str());
  scheduler_.SetPeriod(settings.Value.CheckInterval);
  scheduler_.WatchNetwork(settings.Lookup.CheckOnNetworkChange);
  StatusStrip->LayoutFor(model_.LookupHost());
  ShowIntervalStatus();

  // A portable copy's data stays with it, even on a stick that is write-protected: said,
  // never moved elsewhere behind the user's back.
  if (!model_.OpenDataFolder()) {
    ShowBox(texts::Ui().PortableFolderReadOnly + model_.DataFolder(), MB_OK | MB_ICONWARNING);
  }
  controls_.NowIpLine.SetText("", "");
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
  ::EnableWindow(controls_.Update, FALSE);
  // Without a thread there is no result to enable the button again; the next tick retries.
  const AppSettings& settings = model_.Current();
  const bool confirm = settings.Lookup.ConfirmChange && !settings.Lookup.FallbackUrl.empty();
  if (!scheduler_.Start(settings.Value.LookupUrl, settings.Lookup.FallbackUrl,
                        confirm ? settings.Value.LastIp : nullptr)) {
    ::EnableWindow(controls_.Update, TRUE);
  }
}

bool TfrmMain::OnSchedule(UINT message, WPARAM wparam) {
  LookupResult result;
  bool handled = false;
  switch (scheduler_.OnMessage(message, wparam, &result, &handled)) {
    case CheckScheduler::Action::kCheck:
      if (created_ && !destroying_) StartLookup();
      break;
    case CheckScheduler::Action::kResult:
      if (created_ && !destroying_) {
        const LocalTime now = CurrentLocalTime();
        ShowCheck(model_.TakeLookupResult(result, now, scheduler_.FallbackUrl()), now);
      }
      break;
    case CheckScheduler::Action::kHeldFailure:
      ::EnableWindow(controls_.Update, TRUE);
      break;
    case CheckScheduler::Action::kNone:
      break;
  }
  return handled;
}

void TfrmMain::ShowCheck(const MainModel::CheckApplied& applied, const LocalTime& now) {
  const CheckOutcome& outcome = applied.Outcome;
  if (applied.Reload) history_grid_.Show(*applied.Reload, !FirstShowDone);
  if (outcome.UpdateTime) ::SetWindowTextW(controls_.UpdateTime, Wide(*outcome.UpdateTime).c_str());
  controls_.NowIpLine.SetText(outcome.NowIp.c_str(), outcome.AnswerNote.c_str());
  // The lookup has ended before Update is enabled again, so a click the moment it is
  // enabled starts the next one.
  ::EnableWindow(controls_.Update, TRUE);
  notifier_.OnCheck(outcome.Events, now);
  SendToTargets(outcome, now);
}

void TfrmMain::ShowIntervalStatus() {
  StatusStrip->DrawField(0, IntervalStatusText(model_.Current().Value.CheckInterval).c_str(),
                         false);
  StatusStrip->DrawField(1, model_.LookupHost(), false);
}

void TfrmMain::FormShow() {
  if (FirstShowDone) return;
  model_.RecordEvent(kEventCheckStart, kRecordCheckStart, CurrentLocalTime());
  ReloadHistoryGrid();
  FirstShowDone = true;
  grid_focus_due_ = true;
  ::PostMessageW(Handle(), kMsgFocusGrid, 0, 0);
  tray_.Show();
  TellHeldTargets();
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
  const bool saved = model_.Close(CurrentLocalTime());
  notifier_.Stop();
  updates_.Close();
  scheduler_.Stop();
  // When nothing took them, the user is told what is lost, unless the logon ends and
  // nobody could answer.
  if (!saved && !session_ends) {
    ShowBox(texts::Ui().UnwrittenRecordsLost + model_.UnwrittenText(),
            MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
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
      RunMenuCommand(id, Handle(), model_.DataFolder().c_str());
      break;
  }
}

LRESULT TfrmMain::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kMsgHistoryTooLarge:
      history_grid_.TellTooLarge();
      return 0;
    case kMsgFocusGrid:
      if (grid_focus_due_) {
        grid_focus_due_ = false;
        ::SetFocus(controls_.MainGrid.Handle());
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
  if (OnUpdateMessage(message, wparam)) return 0;
  if (OnSchedule(message, wparam)) return message == WM_POWERBROADCAST ? TRUE : 0;
  return ui::Window::OnMessage(message, wparam, lparam);
}

}  // namespace lvn
