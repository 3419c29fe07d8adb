// The [Lookup] section of the settings file: a second lookup page and checks on network
// changes, both unused by default; and the check of a lookup URL typed by the user.
#pragma once

#include <string>
#include <string_view>

#include "settings/ini_file.h"

namespace lvn {

inline constexpr char kLookupSection[] = "Lookup";
inline constexpr char kKeyFallbackUrl[] = "FallbackUrl";
inline constexpr char kKeyCheckOnNetworkChange[] = "CheckOnNetworkChange";
inline constexpr char kKeyConfirmChange[] = "ConfirmChange";

struct LookupSettings {
  std::string FallbackUrl;            // asked when the lookup page fails; empty: none
  bool CheckOnNetworkChange = false;  // a check as soon as the network changes
  // A new address counts only when the fallback page, asked at once, gives it too: a
  // lookup page that answers wrongly moves no name. Needs FallbackUrl.
  bool ConfirmChange = false;

  bool operator==(const LookupSettings&) const = default;
};

// Defaults for missing or unreadable keys (FallbackUrl's is kDefaultFallbackUrl when the
// file names no IpUrl, else none); a URL is cut to 299 bytes where a character ends, as
// IpUrl's buffer holds.
LookupSettings ReadLookupSettings(const IniFile& ini);
// Writes the first two keys when the section exists or a value differs from its default,
// and nothing otherwise; ConfirmChange only when it is on or the file has it.
void WriteLookupSettings(IniFile& ini, const LookupSettings& settings);

// What keeps a text from being a lookup URL.
enum class UrlProblem {
  kNone,
  kEmpty,
  kTooLong,   // more than 299 bytes
  kBlank,     // a space or control byte
  kNotAscii,  // a byte above 0x7F, which the page's server would not read as meant
  kNotHttp,   // no "http://" or "https://" in front
  kNoHost,
  kBadHost,   // not a host name, an IPv4 address or a bracketed IPv6 address
  kBadPort,   // not 1 to 65535
};

// The first problem of url as IpUrl, whose lookup page is the one asked.
UrlProblem LookupUrlProblem(std::string_view url);
// The same for FallbackUrl, which may be empty.
UrlProblem FallbackUrlProblem(std::string_view url);
// The problem in the user's words.
const char* UrlProblemText(UrlProblem problem);

}  // namespace lvn
