// The program's settings: eight keys in the [Value] section of the settings file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/ini_file.h"

namespace lvn {

inline constexpr char kSettingsSection[] = "Value";
// The program's own site, its home page.
inline constexpr char kHomePage[] = "https://www.ombrix.example/";
// The lookup pages of a file that names none (a first start): public services that answer
// with the bare address over https, run for years by large operators. A file that names
// IpUrl keeps it, and its FallbackUrl, even when empty.
inline constexpr char kDefaultLookupUrl[] = "https://api.ipify.org";
inline constexpr char kDefaultFallbackUrl[] = "https://checkip.amazonaws.com";

// Key names as they appear in existing files; "LastCnange" is misspelt there and must stay so.
inline constexpr char kKeyInterval[] = "Interval";
inline constexpr char kKeyLookupUrl[] = "IpUrl";
inline constexpr char kKeyLastIp[] = "IpHoz";
inline constexpr char kKeyLastChange[] = "LastCnange";
inline constexpr char kKeyPrimaryKey[] = "PrimaryKey";
inline constexpr char kKeyViewCheckStart[] = "ViewCheckStart";
inline constexpr char kKeyViewConnectError[] = "ViewConnectError";
inline constexpr char kKeyViewOff[] = "ViewOff";

// The interface language ("ja", "en"); written only when the user chose one.
inline constexpr char kViewSection[] = "View";
inline constexpr char kKeyLanguage[] = "Language";

inline constexpr int32_t kDefaultCheckInterval = 60000;
// Checking more often than this would hammer the lookup server.
inline constexpr int32_t kMinCheckInterval = 15000;

// Capacities of the texts the settings hold, terminating zero included. Longer values
// are cut when they are loaded.
inline constexpr std::size_t kUrlCapacity = 300;         // IpUrl, and the lookup's URL parts
inline constexpr std::size_t kHostCapacity = 50;         // the host part of IpUrl, as shown
inline constexpr std::size_t kLastIpCapacity = 50;       // IpHoz
inline constexpr std::size_t kLastChangeCapacity = 100;  // LastCnange

// The check intervals the options window offers, in the order of its list.
struct IntervalChoice {
  int32_t Milliseconds;
};
inline constexpr int kIntervalChoiceCount = 7;
extern const IntervalChoice kIntervalChoices[kIntervalChoiceCount];
// The list item of this interval, or of the nearest one the list holds (the shorter of two
// as near), which shows until the user picks another.
int IntervalChoiceOf(int32_t interval_ms);
// A list item's text in the interface language ("15秒", "1 min"); empty outside the list.
std::string IntervalChoiceText(int index);
// The interval of a list item; 15000 for an index outside the list (no selection).
int32_t IntervalOfChoice(int index);

struct SettingsValues {
  int32_t CheckInterval;  // milliseconds
  char LookupUrl[kUrlCapacity];
  char LastIp[kLastIpCapacity];
  char LastChange[kLastChangeCapacity];
  int32_t LastRecordKey;
  bool ViewCheckStart;
  bool ViewConnectError;
  bool ViewOff;
};

// All eight keys, defaults for missing or unreadable ones, texts cut to their buffers.
SettingsValues ReadSettings(const IniFile& ini);
// Writes all eight keys; new keys are appended in the order of the struct.
void WriteSettings(IniFile& ini, const SettingsValues& v);

}  // namespace lvn
