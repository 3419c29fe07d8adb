// The main window's state to and from lvn.ini: read once at start, written at an address
// change, at a reload, at a new language choice and whole at exit.
#include "windows/main/main_window_win.h"

#include "settings/lookup_settings.h"
#include "settings/notify_settings.h"
#include "settings/settings.h"
#include "settings/settings_file_win.h"
#include "util/data_folder_win.h"
#include "util/path.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
bool TfrmMain::ReadSettingsFile() {
  DataFolder = DataFolderPath(&portable_);
  IniPath = DataFolder + "lvn.ini";
  auto settings = std::make_unique<IniFile>();
  if (!LoadSettingsFile(IniPath.c_str(), settings.get())) return false;
  Settings = std::move(settings);
  return true;
}

std::string TfrmMain::LanguageSetting() const {
  return Settings ? Settings->ReadString(kViewSection, kKeyLanguage, "") : std::string();
}

int TfrmMain::LanguageChoice() const { return texts::LanguageChoiceOf(LanguageSetting()); }

void TfrmMain::ChangeLanguageChoice(int choice) {
  const char* setting = texts::LanguageSettingOf(choice);
  const int chosen = texts::LanguageChoiceOf(setting);
  if (chosen == LanguageChoice()) return;
  // The automatic choice is no key at all, as in a file that never had one.
  if (chosen == 0) {
    Settings->RemoveKey(kViewSection, kKeyLanguage);
  } else {
    Settings->WriteString(kViewSection, kKeyLanguage, setting);
  }
  SaveSettings();
}

void TfrmMain::LoadSettings() {
  const SettingsValues values = ReadSettings(*Settings);
  CheckInterval = values.CheckInterval;
  CopyText(LookupUrl, values.LookupUrl, sizeof LookupUrl);
  UrlHost(LookupHost, LookupUrl, sizeof LookupHost);
  CopyText(Check.LastIp, values.LastIp, sizeof Check.LastIp);
  CopyText(Check.LastChange, values.LastChange, sizeof Check.LastChange);
  history_.SetLastRecordKey(values.LastRecordKey);
  ViewCheckStart = values.ViewCheckStart;
  ViewConnectError = values.ViewConnectError;
  ViewOff = values.ViewOff;
  notifier_.SetSettings(ReadNotifySettings(*Settings));
  Lookup = ReadLookupSettings(*Settings);
}

void TfrmMain::SaveSettings() {
  // A refused write leaves the old file; the next save tries again.
  SaveSettingsFile(*Settings, IniPath.c_str());
}

void TfrmMain::SaveAddressChange(const char* last_ip, const char* last_change) {
  Settings->WriteString(kSettingsSection, kKeyLastIp, last_ip);
  Settings->WriteString(kSettingsSection, kKeyLastChange, last_change);
  SaveSettings();
}

void TfrmMain::SaveAllSettings() {
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
  WriteNotifySettings(*Settings, notifier_.Settings());
  WriteLookupSettings(*Settings, Lookup);
  SaveSettings();
}

}  // namespace lvn
