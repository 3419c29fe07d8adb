#include "settings/lookup_settings.h"

#include "settings/settings.h"
#include "util/ascii.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

constexpr std::size_t kMaxUrlBytes = kUrlCapacity - 1;
constexpr std::size_t kMaxLabelBytes = 63;  // DNS's limit for one part of a name

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f'); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != prefix[i]) return false;
  }
  return true;
}

// Labels of letters, digits and inner hyphens between dots; a closing dot is allowed, as
// DNS writes a full name.
bool IsHostName(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  for (;;) {
    const std::size_t dot = host.find('.');
    const std::string_view label = host.substr(0, dot);
    if (label.empty() || label.size() > kMaxLabelBytes || label.front() == '-' ||
        label.back() == '-') {
      return false;
    }
    for (const char c : label) {
      if (!IsAsciiLetter(c) && !IsDigit(c) && c != '-') return false;
    }
    if (dot == std::string_view::npos) return true;
    host.remove_prefix(dot + 1);
  }
}

// "[...]" around hexadecimal groups, colons and an IPv4 tail; the address itself is the
// resolver's to judge.
bool IsIpv6Literal(std::string_view host) {
  if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
  bool colon = false;
  for (const char c : host.substr(1, host.size() - 2)) {
    if (!IsHexDigit(c) && c != ':' && c != '.') return false;
    colon = colon || c == ':';
  }
  return colon;
}

bool IsPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  int value = 0;
  for (const char c : port) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535;
}

}  // namespace

LookupSettings ReadLookupSettings(const IniFile& ini) {
  LookupSettings s;
  const bool first_start = !ini.HasKey(kSettingsSection, kKeyLookupUrl);
  s.FallbackUrl =
      ini.ReadString(kLookupSection, kKeyFallbackUrl, first_start ? kDefaultFallbackUrl : "");
  // Cut where a character ends: half a double-byte character would change the page asked.
  s.FallbackUrl.resize(
      WholeCharacterPrefix(s.FallbackUrl.data(), s.FallbackUrl.size(), kMaxUrlBytes));
  s.CheckOnNetworkChange = ini.ReadBool(kLookupSection, kKeyCheckOnNetworkChange, false);
  s.ConfirmChange = ini.ReadBool(kLookupSection, kKeyConfirmChange, false);
  return s;
}

void WriteLookupSettings(IniFile& ini, const LookupSettings& settings) {
  if (!ini.HasSection(kLookupSection) && settings == LookupSettings{}) return;
  ini.WriteString(kLookupSection, kKeyFallbackUrl, settings.FallbackUrl);
  ini.WriteBool(kLookupSection, kKeyCheckOnNetworkChange, settings.CheckOnNetworkChange);
  if (settings.ConfirmChange || ini.HasKey(kLookupSection, kKeyConfirmChange)) {
    ini.WriteBool(kLookupSection, kKeyConfirmChange, settings.ConfirmChange);
  }
}

UrlProblem LookupUrlProblem(std::string_view url) {
  if (url.empty()) return UrlProblem::kEmpty;
  if (url.size() > kMaxUrlBytes) return UrlProblem::kTooLong;
  for (const char c : url) {
    if (Byte(c) <= 0x20 || Byte(c) == 0x7F) return UrlProblem::kBlank;
    if (Byte(c) > 0x7F) return UrlProblem::kNotAscii;
  }
  std::size_t start = 0;
  if (StartsWithNoCase(url, "http://")) {
    start = 7;
  } else if (StartsWithNoCase(url, "https://")) {
    start = 8;
  } else {
    return UrlProblem::kNotHttp;
  }
  const std::string_view rest = url.substr(start);
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  // An IPv6 address has colons of its own; the port follows its closing bracket.
  const std::size_t colon =
      authority.find(':', authority.empty() || authority[0] != '[' ? 0 : authority.find(']'));
  const std::string_view host = authority.substr(0, colon);
  if (host.empty()) return UrlProblem::kNoHost;
  // A user name and password before the host would be taken for part of it.
  if (authority.find('@') != std::string_view::npos) return UrlProblem::kBadHost;
  if (host[0] == '[' ? !IsIpv6Literal(host) : !IsHostName(host)) return UrlProblem::kBadHost;
  if (colon != std::string_view::npos && !IsPort(authority.substr(colon + 1))) {
    return UrlProblem::kBadPort;
  }
  return UrlProblem::kNone;
}

UrlProblem FallbackUrlProblem(std::string_view url) {
  return url.empty() ? UrlProblem::kNone : LookupUrlProblem(url);
}

const char* UrlProblemText(UrlProblem problem) {
  switch (problem) {
    case UrlProblem::kNone: return "";
    case UrlProblem::kEmpty: return texts::Ui().UrlEmpty;
    case UrlProblem::kTooLong: return texts::Ui().UrlTooLong;
    case UrlProblem::kBlank: return texts::Ui().UrlBlank;
    case UrlProblem::kNotAscii: return texts::Ui().UrlNotAscii;
    case UrlProblem::kNotHttp: return texts::Ui().UrlNotHttp;
    case UrlProblem::kNoHost: return texts::Ui().UrlNoHost;
    case UrlProblem::kBadHost: return texts::Ui().UrlBadHost;
    case UrlProblem::kBadPort: return texts::Ui().UrlBadPort;
  }
  return "";
}

}  // namespace lvn
