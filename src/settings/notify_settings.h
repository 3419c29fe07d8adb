// The [Notify] section of the settings file: balloon notices and the change command. All
// off by default; a file that never used them keeps no such section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/ini_file.h"

namespace lvn {

inline constexpr char kNotifySection[] = "Notify";
inline constexpr char kKeyNotifyChange[] = "Change";
inline constexpr char kKeyNotifyOutage[] = "Outage";
inline constexpr char kKeyCommand[] = "Command";
inline constexpr char kKeyCommandTimeout[] = "CommandTimeout";

inline constexpr int32_t kDefaultCommandTimeout = 60;  // seconds
inline constexpr int32_t kMinCommandTimeout = 1;
inline constexpr int32_t kMaxCommandTimeout = 600;
// Bytes of the command line kept, terminating zero included; a longer one is cut on load.
inline constexpr std::size_t kCommandCapacity = 1024;

struct NotifySettings {
  bool Change = false;   // a notice on every recorded address change
  bool Outage = false;   // a notice when an outage is recorded and when it ends
  std::string Command;   // run on every recorded address change; empty: none
  int32_t CommandTimeout = kDefaultCommandTimeout;

  bool operator==(const NotifySettings&) const = default;
};

// Defaults for missing or unreadable keys; a time limit outside 1 to 600 s is the default.
NotifySettings ReadNotifySettings(const IniFile& ini);
// Writes the four keys when the section exists or a value differs from its default, and
// nothing otherwise.
void WriteNotifySettings(IniFile& ini, const NotifySettings& settings);

}  // namespace lvn
