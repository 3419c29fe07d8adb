#include "check/main_model_win.h"

#include "history/log_format.h"
#include "settings/settings_file_win.h"
#include "util/data_folder_win.h"
#include "util/path.h"
#include "util/secret_win.h"
#include "util/text.h"

namespace lvn {

bool MainModel::ReadSettingsFile() { return ReadSettingsIn(DataFolderPath(&portable_)); }

bool MainModel::ReadSettingsIn(const std::string& data_folder) {
  DataFolder_ = data_folder;
  IniPath_ = DataFolder_ + "lvn.ini";
  auto settings = std::make_unique<IniFile>();
  if (!LoadSettingsFile(IniPath_.c_str(), settings.get())) return false;
  Settings = std::move(settings);
  settings_ = ReadAppSettings(*Settings);
  saved_ = settings_;
  ProtectSecrets();
  UrlHost(LookupHost_, settings_.Value.LookupUrl, sizeof LookupHost_);
  return true;
}

void MainModel::ProtectSecrets() {
  held_targets_ = ProtectTargetSecrets(&settings_.Targets);
  // The save copies over saved_'s own copy of each plain secret protected, which would
  // leave its bytes behind.
  for (std::size_t i = 0; i < kMaxTargets; ++i) {
    if (saved_.Targets[i] && settings_.Targets[i]->Secret.empty()) {
      WipeSecret(&saved_.Targets[i]->Secret);
    }
  }
  SaveSettings(SaveScope::kChanges);
}

ViewSwitches MainModel::Views() const {
  return {settings_.Value.ViewCheckStart, settings_.Value.ViewConnectError,
          settings_.Value.ViewOff};
}

bool MainModel::OpenDataFolder() {
  history_.SetLastRecordKey(settings_.Value.LastRecordKey);
  history_.SetFolder(DataFolder_.c_str(), ProgramFolder());
  MakeFolder(DataFolder_);
  return !portable_ || FolderTakesFiles(DataFolder_);
}

void MainModel::ChangeViews(ViewSwitches views) {
  settings_.Value.ViewCheckStart = views.CheckStart;
  settings_.Value.ViewConnectError = views.ConnectError;
  settings_.Value.ViewOff = views.Off;
}

void MainModel::ChangeLookupUrl(const std::string& url) {
  CopyText(settings_.Value.LookupUrl, url.c_str(), sizeof settings_.Value.LookupUrl);
  UrlHost(LookupHost_, settings_.Value.LookupUrl, sizeof LookupHost_);
}

void MainModel::ChangeLanguage(const std::string& setting) {
  settings_.Language = setting;
  SaveSettings(SaveScope::kChanges);
}

bool MainModel::ChangeTarget(std::size_t slot, const std::optional<UpdateTarget>& target,
                             const std::optional<std::string>& secret) {
  if (slot >= kMaxTargets) return false;
  std::optional<UpdateTarget> next = target;
  if (next) {
    next->Secret.clear();
    if (secret) {
      std::optional<std::string> sealed;
      if (!secret->empty() && !(sealed = ProtectSecret(*secret))) return false;
      next->SecretProtected = sealed.value_or(std::string());
    } else if (settings_.Targets[slot]) {
      next->SecretProtected = settings_.Targets[slot]->SecretProtected;
    }
  }
  settings_.Targets[slot] = std::move(next);
  // Typed again, a secret this user could not read is usable now.
  if (secret || !target) {
    std::erase_if(held_targets_,
                  [slot](const HeldTarget& held) { return held.Number == slot + 1; });
  }
  SaveSettings(SaveScope::kChanges);
  return true;
}

void MainModel::TargetSent(std::size_t slot, const std::string& address) {
  if (slot >= kMaxTargets || !settings_.Targets[slot]) return;
  settings_.Targets[slot]->Sent = address;
  SaveSettings(SaveScope::kChanges);
}

void MainModel::TargetStopped(std::size_t slot, bool stopped) {
  if (slot >= kMaxTargets || !settings_.Targets[slot]) return;
  UpdateTarget& target = *settings_.Targets[slot];
  target.Stopped = stopped ? SettingsFingerprint(target) : std::string();
  SaveSettings(SaveScope::kChanges);
}

void MainModel::RecordEvent(int32_t code, const char* text, const LocalTime& time) {
  history_.Write(code, text, time);
}

ReloadResult MainModel::ReloadHistory() {
  const ReloadResult result = history_.Reload(Views());
  if (result == ReloadResult::kRead) {
    settings_.Value.LastRecordKey = history_.LastRecordKey();
    // A file without PrimaryKey gets it at the first read, even when it reads as the default.
    if (Settings && !Settings->HasKey(kSettingsSection, kKeyPrimaryKey)) {
      saved_.Value.LastRecordKey = settings_.Value.LastRecordKey == 0 ? 1 : 0;
    }
  }
  SaveSettings(SaveScope::kChanges);
  return result;
}

MainModel::CheckApplied MainModel::TakeLookupResult(const LookupResult& result,
                                                    const LocalTime& now,
                                                    const std::string& fallback_url) {
  CheckApplied applied;
  applied.Outcome = HandleLookupResult(
      result, now, CheckFacts{history_.LastEventCode(), settings_.Value.LastIp, fallback_url});
  const CheckOutcome& outcome = applied.Outcome;
  for (const CheckRecord& record : outcome.Records) RecordEvent(record.Code, record.Text.c_str(), now);
  if (outcome.Change) {
    CopyText(settings_.Value.LastIp, outcome.Change->LastIp.c_str(),
             sizeof settings_.Value.LastIp);
    CopyText(settings_.Value.LastChange, outcome.Change->LastChange.c_str(),
             sizeof settings_.Value.LastChange);
  }
  // Every change comes with its record, so the reload saves it.
  if (!outcome.Records.empty()) applied.Reload = ReloadHistory();
  return applied;
}

bool MainModel::Close(const LocalTime& now) {
  RecordEvent(kEventCheckEnd, kRecordCheckEnd, now);
  RecordEvent(kEventOff, kRecordOffMark, now);
  const bool saved = history_.SaveUnwritten();
  // The numbering goes on from the last record appended, read again or not.
  settings_.Value.LastRecordKey = history_.LastRecordKey();
  SaveSettings(SaveScope::kWhole);
  return saved;
}

void MainModel::SaveSettings(SaveScope scope) {
  if (!Settings) return;
  const bool changed = WriteAppSettings(*Settings, saved_, settings_, scope);
  saved_ = settings_;
  // Unchanged, the file is not written again, unless an earlier write failed; the save at
  // exit always writes, so that a file removed while the program ran comes back.
  if (!changed && !file_behind_ && scope == SaveScope::kChanges) return;
  file_behind_ = !SaveSettingsFile(*Settings, IniPath_.c_str());
}

}  // namespace lvn
