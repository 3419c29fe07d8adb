#include "settings/app_settings.h"

#include <cstring>

namespace lvn {
namespace {

bool SameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

void WriteLanguage(IniFile& ini, const std::string& language) {
  // The automatic choice is no key at all, as in a file that never had one.
  if (language.empty()) {
    ini.RemoveKey(kViewSection, kKeyLanguage);
  } else {
    ini.WriteString(kViewSection, kKeyLanguage, language);
  }
}

}  // namespace

AppSettings ReadAppSettings(const IniFile& ini) {
  AppSettings settings;
  settings.Value = ReadSettings(ini);
  settings.Lookup = ReadLookupSettings(ini);
  settings.Notify = ReadNotifySettings(ini);
  settings.Targets = ReadUpdateTargets(ini);
  settings.Language = ini.ReadString(kViewSection, kKeyLanguage, "");
  return settings;
}

bool WriteAppSettings(IniFile& ini, const AppSettings& saved, const AppSettings& now,
                      SaveScope scope) {
  const std::string before = ini.Serialize();
  if (scope == SaveScope::kWhole) {
    WriteSettings(ini, now.Value);
    WriteNotifySettings(ini, now.Notify);
    WriteLookupSettings(ini, now.Lookup);
    WriteUpdateTargets(ini, now.Targets);
  } else {
    // PrimaryKey first: a check's reload came before its address in every earlier version,
    // and new keys are appended in the order they are first written.
    if (now.Value.LastRecordKey != saved.Value.LastRecordKey) {
      ini.WriteInteger(kSettingsSection, kKeyPrimaryKey, now.Value.LastRecordKey);
    }
    if (!SameText(now.Value.LastIp, saved.Value.LastIp) ||
        !SameText(now.Value.LastChange, saved.Value.LastChange)) {
      ini.WriteString(kSettingsSection, kKeyLastIp, now.Value.LastIp);
      ini.WriteString(kSettingsSection, kKeyLastChange, now.Value.LastChange);
    }
    // Sent=, a protected secret, or a target the options changed: saved at once.
    if (now.Targets != saved.Targets) WriteUpdateTargets(ini, now.Targets);
  }
  if (now.Language != saved.Language) WriteLanguage(ini, now.Language);
  return ini.Serialize() != before;
}

}  // namespace lvn
