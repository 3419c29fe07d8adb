// A lookup page chooses the Location of its redirects: whatever it sends, the next URL stays
// inside its buffer, is a host followed by a path, takes its host from an absolute or "//"
// target and otherwise from the current URL, resolves to itself when followed again, and a
// chain of such URLs splits into a host, site and path without overrunning anything. The
// fetch's reading of each URL (host, port, TLS) is held to a plain one, and a hop from https
// to anything else is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "lookup/fetch_url.h"
#include "lookup/redirect.h"
#include "settings/settings.h"
#include "util/text.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
    if (c != prefix[i]) return false;
  }
  return true;
}

// text from pos up to the end of its authority.
std::string_view AuthorityAfter(std::string_view text, std::size_t pos) {
  if (pos > text.size()) return {};
  text.remove_prefix(pos);
  return text.substr(0, text.find_first_of("/?#"));
}

// ParseFetchUrl against the authority split by hand: the name up to its first ":", or an
// IPv6 literal up to its "]"; then nothing, or ":" and decimal digits from 1 to 65535.
void CheckFetchTarget(const char* url) {
  char host[lvn::kUrlCapacity], site[lvn::kUrlCapacity], rest[lvn::kUrlCapacity];
  lvn::UrlHost(host, url, sizeof host);
  lvn::UrlSite(site, url, sizeof site);
  lvn::UrlRest(rest, url, site, sizeof rest);
  const std::string authority(host);
  const bool https = StartsWithNoCase(url, "https:");
  std::size_t name_end = authority.find(':');
  bool usable = true;
  if (authority.substr(0, 1) == "[") {
    name_end = authority.find(']');
    usable = name_end != std::string::npos;
    if (usable) ++name_end;
  }
  const std::string name = usable ? authority.substr(0, name_end) : "";
  const std::string port = authority.substr(name.size());
  unsigned long number = https ? 443 : 80;
  if (!port.empty()) {
    usable = usable && port.size() > 1 && port[0] == ':' &&
             port.find_first_not_of("0123456789", 1) == std::string::npos;
    number = usable ? std::strtoul(port.c_str() + 1, nullptr, 10) : 0;
    usable = usable && number >= 1 && number <= 65535;
  }
  usable = usable && !name.empty();

  lvn::FetchTarget target;
  target.Port = 7;
  if (lvn::ParseFetchUrl(url, &target) != usable) __builtin_trap();
  if (!usable) {
    if (target.Port != 7) __builtin_trap();  // untouched
    return;
  }
  if (target.Secure != https || name != target.Host || target.Port != number ||
      std::strcmp(target.Site, site) != 0 || std::strcmp(target.ObjectName, rest) != 0) {
    __builtin_trap();
  }
}

}  // namespace

// Input: the first URL, a line break, then one Location value per line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t end = input.find('\n');
  char url[lvn::kUrlCapacity];
  lvn::CopyText(url, input.substr(0, end).c_str(), sizeof url);
  CheckFetchTarget(url);

  for (int hop = 0; hop < lvn::kMaxRedirects && end != std::string::npos; ++hop) {
    const std::size_t start = end + 1;
    end = input.find('\n', start);
    // A header's value is text: it ends at a zero byte.
    const std::string line = input.substr(start, end == std::string::npos ? end : end - start);
    const std::string_view location(line.c_str());
    char next[lvn::kUrlCapacity];
    std::memset(next, '#', sizeof next);
    if (!lvn::RedirectUrl(next, url, location, sizeof next)) {
      if (next[0] != '#') __builtin_trap();  // untouched when there is nothing to follow
      continue;
    }
    const std::string got(next);
    if (got.size() >= sizeof next || got.empty()) __builtin_trap();
    const std::string_view target = lvn::TrimBlanks(location.substr(0, location.find('#')));
    // The host comes from an absolute or "//" target, else from the current URL.
    std::string_view named;
    if (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://")) {
      named = AuthorityAfter(target, target.find("://") + 3);
    } else if (target.substr(0, 2) == "//") {
      named = AuthorityAfter(target, 2);
    } else {
      const std::string_view current(url);
      named = AuthorityAfter(current, current.find("://") + 3);
    }
    const std::size_t authority = got.find("://") + 3;
    if (authority < 3 || named.empty() || AuthorityAfter(got, authority) != named ||
        got.size() == authority + named.size() || got[authority + named.size()] != '/') {
      __builtin_trap();  // scheme "://" host "/" path
    }
    if (StartsWithNoCase(got, "http://") || StartsWithNoCase(got, "https://")) {
      char again[lvn::kUrlCapacity];
      if (!lvn::RedirectUrl(again, url, got, sizeof again) || got != again) __builtin_trap();
    }
    lvn::FetchTarget from, to;
    if (lvn::ParseFetchUrl(url, &from) && lvn::ParseFetchUrl(next, &to) &&
        lvn::IsRedirectAllowed(from, to) ==
            (StartsWithNoCase(url, "https:") && !StartsWithNoCase(got, "https:"))) {
      __builtin_trap();  // a hop that leaves TLS, refused; every other allowed
    }
    std::memcpy(url, next, got.size() + 1);
    CheckFetchTarget(url);

    char host[lvn::kUrlCapacity], site[lvn::kUrlCapacity], rest[lvn::kUrlCapacity];
    lvn::UrlHost(host, url, sizeof host);
    lvn::UrlSite(site, url, sizeof site);
    lvn::UrlRest(rest, url, site, sizeof rest);
    if (std::strlen(host) >= sizeof host || std::strlen(rest) >= sizeof rest) __builtin_trap();
    if (host[0] == '\0') __builtin_trap();  // the fetch would have no host to ask
  }
  return 0;
}
