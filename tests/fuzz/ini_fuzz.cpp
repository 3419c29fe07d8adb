// Any bytes must load, and what the program writes back must be stable across a
// reload: same bytes, same settings.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/ini_file.h"
#include "settings/settings.h"

namespace {

bool SameSettings(const lvn::SettingsValues& a, const lvn::SettingsValues& b) {
  return a.CheckInterval == b.CheckInterval && std::strcmp(a.LookupUrl, b.LookupUrl) == 0 &&
         std::strcmp(a.LastIp, b.LastIp) == 0 && std::strcmp(a.LastChange, b.LastChange) == 0 &&
         a.LastRecordKey == b.LastRecordKey && a.ViewCheckStart == b.ViewCheckStart &&
         a.ViewConnectError == b.ViewConnectError && a.ViewOff == b.ViewOff;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  lvn::IniFile ini;
  ini.Load(input);
  lvn::WriteSettings(ini, lvn::ReadSettings(ini));
  // The address comes from a network peer as raw bytes; let the input play that part too.
  ini.WriteString(lvn::kSettingsSection, lvn::kKeyLastIp, input.substr(0, 64));
  const lvn::SettingsValues written = lvn::ReadSettings(ini);
  const std::string text = ini.Serialize();

  lvn::IniFile reloaded;
  reloaded.Load(text);
  if (reloaded.Serialize() != text) __builtin_trap();
  if (!SameSettings(lvn::ReadSettings(reloaded), written)) __builtin_trap();
  return 0;
}
