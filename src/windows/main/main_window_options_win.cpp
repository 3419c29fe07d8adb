// What the options window changes, carried into the model and onto the main window.
#include "windows/main/main_window_win.h"

#include "windows/main/main_window_messages_win.h"

namespace lvn {

void TfrmMain::OptionWindowClosed() {
  // Called from the options window's own WM_DESTROY: its object goes once that returned.
  ::PostMessageW(Handle(), kMsgOptionWindowClosed, 0, 0);
}

void TfrmMain::ChangeCheckInterval(int32_t interval_ms) {
  model_.ChangeCheckInterval(interval_ms);
  scheduler_.SetPeriod(interval_ms);
  ShowIntervalStatus();
}

void TfrmMain::ChangeViews(ViewSwitches views) {
  model_.ChangeViews(views);
  ReloadHistoryGrid();
}

void TfrmMain::ChangeNotify(const NotifySettings& settings) {
  model_.ChangeNotify(settings);
}

void TfrmMain::TestCommand(const std::string& command) {
  if (const auto report = notifier_.RunTest(command, model_.Current().Value.LastIp)) {
    ShowCommandTestReport(Handle(), *report);
  }
}

void TfrmMain::ChangeLookupUrl(const std::string& url) {
  model_.ChangeLookupUrl(url);
  StatusStrip->LayoutFor(model_.LookupHost());
  ShowIntervalStatus();
}

void TfrmMain::ChangeLookup(const LookupSettings& settings) {
  model_.ChangeLookup(settings);
  scheduler_.WatchNetwork(settings.CheckOnNetworkChange);
}

void TfrmMain::ChangeLanguageChoice(int choice) {
  const char* setting = texts::LanguageSettingOf(choice);
  const int chosen = texts::LanguageChoiceOf(setting);
  if (chosen == LanguageChoice()) return;
  // The automatic choice is no key at all, as in a file that never had one.
  model_.ChangeLanguage(chosen == 0 ? "" : setting);
}

bool TfrmMain::ChangeTarget(std::size_t slot, const std::optional<UpdateTarget>& target,
                            const std::optional<std::string>& secret) {
  if (!model_.ChangeTarget(slot, target, secret)) return false;
  TargetEdited(slot);
  return true;
}

}  // namespace lvn
