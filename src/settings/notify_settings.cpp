#include "settings/notify_settings.h"

#include "util/code_page.h"
#include "util/text.h"

namespace lvn {

NotifySettings ReadNotifySettings(const IniFile& ini) {
  NotifySettings s;
  s.Change = ini.ReadBool(kNotifySection, kKeyNotifyChange, false);
  s.Outage = ini.ReadBool(kNotifySection, kKeyNotifyOutage, false);
  s.Command = ini.ReadString(kNotifySection, kKeyCommand, "");
  // The limit is the file's bytes, cut where a character ends: half a character would
  // change the program run.
  std::string bytes;
  if (s.Command.size() >= kCommandCapacity && Cp932OfUtf8(s.Command, &bytes) &&
      bytes.size() >= kCommandCapacity) {
    bytes.resize(WholeCharacterPrefix(bytes.data(), bytes.size(), kCommandCapacity - 1));
    s.Command = Utf8OfCp932(bytes);
  }
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
