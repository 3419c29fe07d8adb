#include "settings/notify_settings.h"

#include "util/text.h"

namespace lvn {

NotifySettings ReadNotifySettings(const IniFile& ini) {
  NotifySettings s;
  s.Change = ini.ReadBool(kNotifySection, kKeyNotifyChange, false);
  s.Outage = ini.ReadBool(kNotifySection, kKeyNotifyOutage, false);
  s.Command = ini.ReadString(kNotifySection, kKeyCommand, "");
  // Cut where a character ends: half a double-byte character would change the program run.
  s.Command.resize(WholeCharacterPrefix(s.Command.data(), s.Command.size(), kCommandCapacity - 1));
  s.CommandTimeout = ini.ReadInteger(kNotifySection, kKeyCommandTimeout, kDefaultCommandTimeout);
  if (s.CommandTimeout < kMinCommandTimeout || s.CommandTimeout > kMaxCommandTimeout) {
    s.CommandTimeout = kDefaultCommandTimeout;
  }
  return s;
}

void WriteNotifySettings(IniFile& ini, const NotifySettings& settings) {
  if (!ini.HasSection(kNotifySection) && settings == NotifySettings{}) return;
  ini.WriteBool(kNotifySection, kKeyNotifyChange, settings.Change);
  ini.WriteBool(kNotifySection, kKeyNotifyOutage, settings.Outage);
  ini.WriteString(kNotifySection, kKeyCommand, settings.Command);
  ini.WriteInteger(kNotifySection, kKeyCommandTimeout, settings.CommandTimeout);
}

}  // namespace lvn
