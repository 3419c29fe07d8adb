// What the main window shows and keeps, without the window: the settings as one value, the
// history, and what a check result does to both. The window holds one model and its
// controls, and only carries out what the model answers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/check_cycle.h"
#include "history/history_state.h"
#include "history/history_win.h"
#include "history/local_time.h"
#include "settings/app_settings.h"
#include "settings/ini_file.h"
#include "settings/target_secrets_win.h"

namespace lvn {

class MainModel {
 public:
  // Finds the data folder and reads lvn.ini, before any window: the interface language is
  // chosen from it. The targets' plain secrets are protected and leave the file at once.
  // False, with no settings, when the file exists but cannot be read.
  bool ReadSettingsFile();
  // The same in the data folder given (with its "\").
  bool ReadSettingsIn(const std::string& data_folder);
  // The targets whose secret cannot be used, for the user to be told: none of them is to
  // send this run, and none is disabled in the file.
  const std::vector<HeldTarget>& HeldTargets() const { return held_targets_; }
  bool SettingsRead() const { return Settings != nullptr; }
  const AppSettings& Current() const { return settings_; }
  const std::string& DataFolder() const { return DataFolder_; }
  const std::string& IniPath() const { return IniPath_; }
  // lvn.ini stands beside the program, and the data folder is the program's.
  bool Portable() const { return portable_; }
  // The host part of IpUrl, as the status strip shows it.
  const char* LookupHost() const { return LookupHost_; }
  ViewSwitches Views() const;

  // The data folder made when missing, and the history in it, numbered on from PrimaryKey.
  // False when the folder is a portable copy's and takes no files: its data is not moved
  // elsewhere behind the user's back, and the user is to be told.
  bool OpenDataFolder();
  History& Records() { return history_; }
  const History& Records() const { return history_; }

  // The options' changes take effect at once and are saved at exit; the language, which
  // takes effect at the next start, is saved at once.
  void ChangeCheckInterval(int32_t interval_ms) { settings_.Value.CheckInterval = interval_ms; }
  void ChangeViews(ViewSwitches views);
  void ChangeNotify(const NotifySettings& notify) { settings_.Notify = notify; }
  void ChangeLookupUrl(const std::string& url);
  void ChangeLookup(const LookupSettings& lookup) { settings_.Lookup = lookup; }
  void ChangeLanguage(const std::string& setting);
  // The options' update target in slot: replaced, or removed when target is empty, and
  // saved at once. A secret typed (secret given) is protected first; without one, a
  // protected secret the target had stays. False, with nothing changed, when the system
  // would not protect the secret.
  bool ChangeTarget(std::size_t slot, const std::optional<UpdateTarget>& target,
                    const std::optional<std::string>& secret);
  // A DNS target sent address with success: Sent= is saved at once.
  void TargetSent(std::size_t slot, const std::string& address);
  // A hard failure stopped the target until its settings change, or a success freed it:
  // saved at once, so that the next start does not repeat what was refused.
  void TargetStopped(std::size_t slot, bool stopped);

  // Appends one record, and nothing else: the check's start and end.
  void RecordEvent(int32_t code, const char* text, const LocalTime& time);
  // Reads the log again for the view; PrimaryKey and an address change are saved.
  ReloadResult ReloadHistory();
  // A lookup's result decided, its records appended, the history read again when it
  // grew, and a new address saved. The window shows the rest.
  struct CheckApplied {
    CheckOutcome Outcome;
    std::optional<ReloadResult> Reload;  // when the outcome appended records
  };
  CheckApplied TakeLookupResult(const LookupResult& result, const LocalTime& now,
                                const std::string& fallback_url);

  // At exit: the end of checking recorded, records another program's hold kept out saved
  // beside the log (or the program), and every setting written. False when some records
  // could not be saved: UnwrittenText() tells them.
  bool Close(const LocalTime& now);
  std::string UnwrittenText() const { return history_.UnwrittenText(); }

 private:
  // Writes what scope takes into the file; a refused write leaves the old file, and the
  // next save tries again.
  void SaveSettings(SaveScope scope);
  void ProtectSecrets();

  std::string DataFolder_;  // with its "\"
  std::string IniPath_;
  bool portable_ = false;
  char LookupHost_[kHostCapacity] = "";
  // The one settings object: read once, written only by SaveSettings.
  std::unique_ptr<IniFile> Settings;
  AppSettings settings_;
  // The running keys as last written, and whether writing the file failed since.
  AppSettings saved_;
  bool file_behind_ = false;
  std::vector<HeldTarget> held_targets_;
  History history_;
};

}  // namespace lvn
