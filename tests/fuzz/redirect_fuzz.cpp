// A lookup page chooses the Location of its redirects: whatever it sends, the next URL stays
// inside its buffer, keeps what an absolute or site-relative target must keep, and a chain
// of such URLs splits into host, site and path without overrunning anything.
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
    const std::string_view value = lvn::TrimBlanks(location);
    const std::string_view target = value.substr(0, value.find('#'));
    if (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://")) {
      if (got != target) __builtin_trap();
    } else if (got.size() < target.size() ||
               got.compare(got.size() - target.size(), target.size(), target) != 0) {
      __builtin_trap();  // a relative target ends the URL it makes
    }
    std::memcpy(url, next, got.size() + 1);

    char host[lvn::kUrlCapacity], site[lvn::kUrlCapacity], rest[lvn::kUrlCapacity];
    lvn::UrlHost(host, url, sizeof host);
    lvn::UrlSite(site, url, sizeof site);
    lvn::UrlRest(rest, url, site, sizeof rest);
    if (std::strlen(host) >= sizeof host || std::strlen(rest) >= sizeof rest) __builtin_trap();
  }
  return 0;
}
