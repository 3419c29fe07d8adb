// Every setting of the program as one value: the [Value] keys, [Lookup], [Notify], the
// update targets and the interface language. Read once at start; written through
// WriteAppSettings only.
#pragma once

#include <string>

#include "settings/ini_file.h"
#include "settings/lookup_settings.h"
#include "settings/notify_settings.h"
#include "settings/settings.h"
#include "settings/update_targets.h"

namespace lvn {

struct AppSettings {
  SettingsValues Value{};
  LookupSettings Lookup;
  NotifySettings Notify;
  UpdateTargets Targets;
  std::string Language;  // [View] Language; empty for the automatic choice (no key)
};

AppSettings ReadAppSettings(const IniFile& ini);

// What a save writes. While the program runs only the keys it keeps up to date at once
// change: the address (IpHoz, LastCnange), PrimaryKey, the language, and each target's
// Sent and protected secret (the plain one must leave the file at once); the rest of the
// state waits for the whole save at exit, which writes every [Value] key and the other
// sections by their own rules, as a file of an earlier version expects.
enum class SaveScope { kChanges, kWhole };

// Writes into ini what scope takes of now: with kChanges, the running keys whose values
// differ from saved's. True when ini changed.
bool WriteAppSettings(IniFile& ini, const AppSettings& saved, const AppSettings& now,
                      SaveScope scope);

}  // namespace lvn
