#include "lookup/fetch_url.h"

#include <cstddef>
#include <string_view>

#include "util/ascii.h"
#include "util/text.h"

namespace lvn {
namespace {

constexpr std::uint16_t kHttpPort = 80;
constexpr std::uint16_t kHttpsPort = 443;

bool IsHttpsUrl(const char* url) {
  constexpr std::string_view kScheme = "https:";
  for (std::size_t i = 0; i < kScheme.size(); ++i) {
    if (AsciiLower(url[i]) != kScheme[i]) return false;  // stops at the terminator too
  }
  return true;
}

// Decimal digits only: a sign, a blank or an empty port is no port.
bool ParsePort(std::string_view digits, std::uint16_t* port) {
  if (digits.empty()) return false;
  std::uint32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 65535) return false;
  }
  if (value == 0) return false;
  *port = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

bool ParseFetchUrl(const char* url, FetchTarget* target) {
  FetchTarget parsed;
  parsed.Secure = IsHttpsUrl(url);
  // The host as the status strip shows it, port included.
  char authority[kUrlCapacity];
  UrlHost(authority, url, sizeof authority);
  const std::string_view host(authority);
  std::size_t name_end = host.find(':');
  if (host.substr(0, 1) == "[") {
    // An IPv6 literal's colons are its own.
    name_end = host.find(']');
    if (name_end == std::string_view::npos) return false;
    ++name_end;
  }
  const std::string_view name = host.substr(0, name_end);
  const std::string_view after = host.substr(name.size());
  if (name.empty()) return false;
  parsed.Port = parsed.Secure ? kHttpsPort : kHttpPort;
  if (!after.empty() && (after.front() != ':' || !ParsePort(after.substr(1), &parsed.Port))) {
    return false;
  }
  MidText(parsed.Host, authority, 1, static_cast<int>(name.size()), sizeof parsed.Host);
  UrlSite(parsed.Site, url, sizeof parsed.Site);
  UrlRest(parsed.ObjectName, url, parsed.Site, sizeof parsed.ObjectName);
  *target = parsed;
  return true;
}

bool IsRedirectAllowed(const FetchTarget& from, const FetchTarget& to) {
  return !from.Secure || to.Secure;
}

}  // namespace lvn
