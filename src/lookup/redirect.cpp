#include "lookup/redirect.h"

#include <cstring>
#include <string>

#include "settings/settings.h"
#include "util/text.h"

namespace lvn {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsRedirectStatus(std::uint32_t status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool RedirectUrl(char* dest, const char* url, std::string_view location, std::size_t n) {
  location = TrimBlanks(location);
  location = location.substr(0, location.find('#'));
  if (location.empty()) return false;

  const std::string_view current(url);
  std::string target;
  if (StartsWithNoCase(location, "http://") || StartsWithNoCase(location, "https://")) {
    target = location;
  } else if (location.substr(0, 2) == "//") {
    const std::size_t colon = current.find(':');
    target = colon == std::string_view::npos ? "http:" : std::string(current.substr(0, colon + 1));
    target += location;
  } else {
    char site_text[kUrlCapacity];
    UrlSite(site_text, url, sizeof site_text);
    const std::string_view site(site_text);
    if (site.empty()) return false;
    if (location.front() == '/') {
      target = site.substr(0, site.size() - 1);
    } else {
      const std::string_view path = current.substr(0, current.find_first_of("?#"));
      std::size_t slash = path.rfind('/');
      if (slash == std::string_view::npos || slash < site.size() - 1) slash = site.size() - 1;
      target = path.substr(0, slash + 1);
    }
    target += location;
  }
  if (target.size() >= n) return false;
  std::memcpy(dest, target.c_str(), target.size() + 1);
  return true;
}

}  // namespace lvn
