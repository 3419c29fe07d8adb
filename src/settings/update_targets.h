// The [Target1] ... [Target8] sections of the settings file: where a recorded change, an
// outage or its end is sent (a dynamic-DNS service, a phone notice, a URL of the user's).
// None by default; a file that never used them keeps no such section.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_file.h"

namespace lvn {

inline constexpr std::size_t kMaxTargets = 8;

inline constexpr char kKeyTargetKind[] = "Kind";
inline constexpr char kKeyTargetUrl[] = "Url";
inline constexpr char kKeyTargetHost[] = "Host";
inline constexpr char kKeyTargetUser[] = "User";
inline constexpr char kKeyTargetSecret[] = "Secret";
inline constexpr char kKeyTargetSecretProtected[] = "SecretProtected";
inline constexpr char kKeyTargetOn[] = "On";
inline constexpr char kKeyTargetMethod[] = "Method";
inline constexpr char kKeyTargetBody[] = "Body";
inline constexpr char kKeyTargetEnabled[] = "Enabled";
inline constexpr char kKeyTargetSent[] = "Sent";
inline constexpr char kKeyTargetStopped[] = "Stopped";

inline constexpr char kDefaultDuckdnsUrl[] = "https://www.duckdns.org/update";
inline constexpr char kDefaultDynv6Url[] = "https://dynv6.com/api/update";

// kUnknown for a Kind= the program does not know, or none.
enum class TargetKind { kUnknown, kDyndns2, kDuckdns, kDynv6, kNtfy, kDiscord, kSlack, kUrl };
enum class TargetEvent { kChange, kOutage, kRecovery };
enum class HttpMethod { kGet, kPost };

// On=: comma-separated event names; a value naming none of them is the default.
struct TargetEvents {
  bool Change = true;
  bool Outage = false;
  bool Recovery = false;

  bool operator==(const TargetEvents&) const = default;
};

struct UpdateTarget {
  TargetKind Kind = TargetKind::kUnknown;
  std::string Url{};              // the kind's default when the file names none
  std::string Host{};
  std::string User{};
  std::string Secret{};           // in plain text, as someone deploying the file wrote it
  std::string SecretProtected{};  // Base64 of the protected secret, as stored
  TargetEvents On{};              // the DNS kinds act on a change whatever it says
  HttpMethod Method = HttpMethod::kGet;  // the url kind's
  std::string Body{};                    // the url kind's template
  bool Enabled = true;
  std::string Sent{};  // the last address a DNS target sent with success
  // The fingerprint of the settings a hard failure stopped (SettingsFingerprint); a target
  // whose settings read otherwise now is free again, whoever changed them.
  std::string Stopped{};

  bool operator==(const UpdateTarget&) const = default;
};

// Slot i is the section [Target<i + 1>]; an empty slot, no section.
using UpdateTargets = std::array<std::optional<UpdateTarget>, kMaxTargets>;

// The kinds whose server keeps a name's address, which only a global address may reach.
bool IsDnsKind(TargetKind kind);
// Kind='s word ("dyndns2"); empty for kUnknown.
const char* KindName(TargetKind kind);
// "change", "outage", "recovery": On='s words and the url kind's %EVENT%.
const char* EventName(TargetEvent event);
bool ActsOn(const UpdateTarget& target, TargetEvent event);
// 16 hexadecimal digits that change with any setting a send depends on.
std::string SettingsFingerprint(const UpdateTarget& target);
// A hard failure stopped the target, and its settings are still those it failed with.
bool IsStopped(const UpdateTarget& target);

std::string TargetSection(std::size_t slot);

// A target for every section there is, usable or not.
UpdateTargets ReadUpdateTargets(const IniFile& ini);
// Every slot: an empty one removes its section, and a target writes only the keys whose
// value the file reads differently, so that a section keeps its order, its spelling and
// the keys the program does not know, and one it cannot use (an unknown kind) stays as it
// was. Secret= is never written: it goes once SecretProtected= holds it or the target no
// longer has it.
void WriteUpdateTargets(IniFile& ini, const UpdateTargets& targets);
// What keeps a target from being used.
enum class TargetProblem {
  kNone,
  kUnknownKind,
  kNoUrl,
  kBadUrl,          // not a URL the lookup page could have (UrlProblem)
  kNoHost,          // dyndns2, duckdns, dynv6
  kNoUser,          // dyndns2
  kNoSecret,        // all but ntfy and url
  kSecretOverHttp,  // a secret and an http:// URL
};

// The first problem of target, whose secret in plain text is secret when known, else its
// Secret; a protected secret counts as present, its text unchecked.
TargetProblem TargetProblemOf(const UpdateTarget& target, std::string_view secret = {});
// The problem in the user's words.
const char* TargetProblemText(TargetProblem problem);

}  // namespace lvn
