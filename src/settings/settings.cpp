#include "settings/settings.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

template <std::size_t N>
void ReadText(const IniFile& ini, const char* key, const char* def, char (&dest)[N]) {
  const std::string value = ini.ReadString(kSettingsSection, key, def);
  CopyText(dest, value.c_str(), N);
}

// Stops at the buffer's end even if a caller left it unterminated.
template <std::size_t N>
std::string_view TextOf(const char (&src)[N]) {
  const auto* end = static_cast<const char*>(std::memchr(src, '\0', N));
  return std::string_view(src, end ? static_cast<std::size_t>(end - src) : N);
}

}  // namespace

const IntervalChoice kIntervalChoices[kIntervalChoiceCount] = {
    {15000}, {30000}, {60000}, {300000}, {600000}, {1800000}, {3600000},
};

int IntervalChoiceOf(int32_t interval_ms) {
  int nearest = 0;
  int64_t nearest_distance = INT64_MAX;
  for (int i = 0; i < kIntervalChoiceCount; ++i) {
    const int64_t distance =
        std::llabs(static_cast<int64_t>(kIntervalChoices[i].Milliseconds) - interval_ms);
    if (distance < nearest_distance) {
      nearest = i;
      nearest_distance = distance;
    }
  }
  return nearest;
}

std::string IntervalChoiceText(int index) {
  if (index < 0 || index >= kIntervalChoiceCount) return {};
  const int32_t ms = kIntervalChoices[index].Milliseconds;
  return ms < 60000 ? std::to_string(ms / 1000) + texts::Ui().Seconds
                    : std::to_string(ms / 60000) + texts::Ui().Minutes;
}

int32_t IntervalOfChoice(int index) {
  if (index < 0 || index >= kIntervalChoiceCount) return kMinCheckInterval;
  return kIntervalChoices[index].Milliseconds;
}

SettingsValues ReadSettings(const IniFile& ini) {
  SettingsValues v{};
  v.CheckInterval = ini.ReadInteger(kSettingsSection, kKeyInterval, kDefaultCheckInterval);
  if (v.CheckInterval < kMinCheckInterval) v.CheckInterval = kMinCheckInterval;
  ReadText(ini, kKeyLookupUrl, kDefaultLookupUrl, v.LookupUrl);
  ReadText(ini, kKeyLastIp, "", v.LastIp);
  ReadText(ini, kKeyLastChange, "", v.LastChange);
  v.LastRecordKey = ini.ReadInteger(kSettingsSection, kKeyPrimaryKey, -1);
  v.ViewCheckStart = ini.ReadBool(kSettingsSection, kKeyViewCheckStart, true);
  v.ViewConnectError = ini.ReadBool(kSettingsSection, kKeyViewConnectError, true);
  v.ViewOff = ini.ReadBool(kSettingsSection, kKeyViewOff, true);
  return v;
}

void WriteSettings(IniFile& ini, const SettingsValues& v) {
  ini.WriteInteger(kSettingsSection, kKeyInterval, v.CheckInterval);
  ini.WriteString(kSettingsSection, kKeyLookupUrl, TextOf(v.LookupUrl));
  ini.WriteString(kSettingsSection, kKeyLastIp, TextOf(v.LastIp));
  ini.WriteString(kSettingsSection, kKeyLastChange, TextOf(v.LastChange));
  ini.WriteInteger(kSettingsSection, kKeyPrimaryKey, v.LastRecordKey);
  ini.WriteBool(kSettingsSection, kKeyViewCheckStart, v.ViewCheckStart);
  ini.WriteBool(kSettingsSection, kKeyViewConnectError, v.ViewConnectError);
  ini.WriteBool(kSettingsSection, kKeyViewOff, v.ViewOff);
}

}  // namespace lvn
