// A lookup page chooses the Location of its redirects: whatever it sends, the next URL stays
// inside its buffer, is a host followed by a path, takes its host from an absolute or "//"
// target and otherwise from the current URL, resolves to itself when followed again, and a
// chain of such URLs splits into a host, site and path without overrunning anything.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

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

}  // namespace

// Input: the first URL, a line break, then one Location value per line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t end = input.find('\n');
  char url[lvn::kUrlCapacity];
  lvn::CopyText(url, input.substr(0, end).c_str(), sizeof url);

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
    std::memcpy(url, next, got.size() + 1);

    char host[lvn::kUrlCapacity], site[lvn::kUrlCapacity], rest[lvn::kUrlCapacity];
    lvn::UrlHost(host, url, sizeof host);
    lvn::UrlSite(site, url, sizeof site);
    lvn::UrlRest(rest, url, site, sizeof rest);
    if (std::strlen(host) >= sizeof host || std::strlen(rest) >= sizeof rest) __builtin_trap();
    if (host[0] == '\0') __builtin_trap();  // the fetch would have no host to ask
  }
  return 0;
}
