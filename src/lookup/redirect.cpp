#include "lookup/redirect.h"

#include <cstring>
#include <string>

#include "util/ascii.h"
#include "util/text.h"

namespace lvn {
namespace {

// The parts of a URL or of a reference to one, as RFC 3986 splits them (appendix B); a
// part can be absent, which differs from empty. The fragment is never kept.
struct UrlParts {
  bool HasScheme = false;
  std::string_view Scheme;
  bool HasAuthority = false;
  std::string_view Authority;
  std::string_view Path;
  bool HasQuery = false;
  std::string_view Query;
};

bool IsSchemeChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

UrlParts SplitReference(std::string_view text) {
  UrlParts parts;
  text = text.substr(0, text.find('#'));
  std::size_t i = 0;
  if (!text.empty() && IsAsciiLetter(text.front())) {
    while (i < text.size() && IsSchemeChar(text[i])) ++i;
  }
  if (i > 0 && i < text.size() && text[i] == ':') {
    parts.HasScheme = true;
    parts.Scheme = text.substr(0, i);
    text.remove_prefix(i + 1);
  }
  if (text.substr(0, 2) == "//") {
    text.remove_prefix(2);
    parts.HasAuthority = true;
    parts.Authority = text.substr(0, text.find_first_of("/?"));
    text.remove_prefix(parts.Authority.size());
  }
  const std::size_t question = text.find('?');
  parts.Path = text.substr(0, question);
  if (question != std::string_view::npos) {
    parts.HasQuery = true;
    parts.Query = text.substr(question + 1);
  }
  return parts;
}

// text equals lower, an ASCII word in lower case, whatever the case of its letters.
bool EqualsNoCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if (AsciiLower(text[i]) != lower[i]) return false;
  }
  return true;
}

// Drops the last segment of out and the "/" before it.
void DropLastSegment(std::string* out) {
  const std::size_t slash = out->rfind('/');
  out->erase(slash == std::string::npos ? 0 : slash);
}

// RFC 3986 section 5.2.4: "." and ".." segments resolved, as the client must before asking.
std::string RemoveDotSegments(std::string_view in) {
  std::string out;
  while (!in.empty()) {
    if (in.substr(0, 3) == "../") {
      in.remove_prefix(3);
    } else if (in.substr(0, 2) == "./") {
      in.remove_prefix(2);
    } else if (in.substr(0, 3) == "/./") {
      in.remove_prefix(2);
    } else if (in == "/.") {
      in = "/";
    } else if (in.substr(0, 4) == "/../") {
      in.remove_prefix(3);
      DropLastSegment(&out);
    } else if (in == "/..") {
      in = "/";
      DropLastSegment(&out);
    } else if (in == "." || in == "..") {
      in = {};
    } else {
      const std::size_t end = in.find('/', 1);
      out += in.substr(0, end);
      in.remove_prefix(end == std::string_view::npos ? in.size() : end);
    }
  }
  return out;
}

// RFC 3986 section 5.2.3: a relative path put beside the last "/" of the base's path.
std::string MergePaths(const UrlParts& base, std::string_view path) {
  // Appended, not concatenated: GCC 12 sees a false overlap in operator+ at -O3.
  std::string merged;
  if (base.HasAuthority && base.Path.empty()) {
    merged += '/';
  } else {
    const std::size_t slash = base.Path.rfind('/');
    if (slash != std::string_view::npos) merged.append(base.Path.substr(0, slash + 1));
  }
  merged.append(path);
  return merged;
}

}  // namespace

bool IsRedirectStatus(std::uint32_t status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool RedirectUrl(char* dest, const char* url, std::string_view location, std::size_t n) {
  location = TrimBlanks(location.substr(0, location.find('#')));
  if (location.empty()) return false;

  // RFC 3986 section 5.2.2, strict: a reference with a scheme is absolute.
  const UrlParts ref = SplitReference(location);
  UrlParts target = ref;
  std::string path;
  if (ref.HasScheme) {
    // Only http and https are followed, and without "//" an absolute URL names no host.
    if (!EqualsNoCase(ref.Scheme, "http") && !EqualsNoCase(ref.Scheme, "https")) return false;
    if (!ref.HasAuthority) return false;
    path = RemoveDotSegments(ref.Path);
  } else {
    const UrlParts base = SplitReference(url);
    if (!base.HasScheme || !base.HasAuthority) return false;
    target.Scheme = base.Scheme;
    if (ref.HasAuthority) {
      path = RemoveDotSegments(ref.Path);
    } else {
      target.Authority = base.Authority;
      if (ref.Path.empty()) {
        // Not empty, so the reference is a query: it replaces only the base's query. The
        // base's path is normalised as section 6.2.2.3 allows, as every other path is.
        path = RemoveDotSegments(base.Path);
      } else if (ref.Path.front() == '/') {
        path = RemoveDotSegments(ref.Path);
      } else {
        path = RemoveDotSegments(MergePaths(base, ref.Path));
      }
    }
  }
  if (target.Authority.empty()) return false;
  // An empty path is the root (RFC 3986 section 6.2.3), and the request names it.
  if (path.empty()) path.push_back('/');

  std::string text(target.Scheme);
  text += "://";
  text += target.Authority;
  text += path;
  if (target.HasQuery) {
    text += '?';
    text += target.Query;
  }
  if (text.size() >= n) return false;
  std::memcpy(dest, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace lvn
