#include "util/text.h"

#include <algorithm>

#include "util/ascii.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

namespace lvn {

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

const std::array<bool, 256>& LeadByteTable() {
  static const std::array<bool, 256> table = [] {
    std::array<bool, 256> t{};
    for (std::size_t b = 0; b < t.size(); ++b) t[b] = IsLeadByte(static_cast<unsigned char>(b));
    return t;
  }();
  return table;
}

namespace {

// Length of s, looking at no more than max bytes: buffers handed to us are not always
// terminated within their capacity.
std::size_t BoundedLength(const char* s, std::size_t max) {
  std::size_t len = 0;
  while (len < max && s[len] != '\0') ++len;
  return len;
}

std::size_t ClampToSize(std::uint64_t v) {
  return v > SIZE_MAX ? SIZE_MAX : static_cast<std::size_t>(v);
}

int ClampToInt(std::uint64_t v) {
  return v > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(v);
}

// Writes len bytes from src plus the terminator; src may lie anywhere inside dest.
char* PutText(char* dest, const char* src, std::size_t len) {
  std::memmove(dest, src, len);
  dest[len] = '\0';
  return dest;
}

char* Clear(char* dest, std::size_t n) {
  if (n > 0) dest[0] = '\0';
  return dest;
}

// Byte offsets of the first three "/" separators, how many of them there are; a "/" whose
// preceding byte is a lead byte is the trail byte of a double-byte character.
std::size_t FindSeparators(const char* url, std::size_t (&pos)[3]) {
  std::size_t found = 0;
  for (std::size_t i = 0; url[i] != '\0' && found < 3; ++i) {
    if (url[i] == '/' && (i == 0 || !IsLeadByte(static_cast<unsigned char>(url[i - 1])))) {
      pos[found++] = i;
    }
  }
  return found;
}

// The host is url[begin, end). After the "//" that opens an authority it also ends at a
// "?", a "#" or the end of the text, where the site's closing "/" is not in url; elsewhere
// only a third separator ends it. False when there is no host to find.
bool FindHost(const char* url, std::size_t* begin, std::size_t* end) {
  std::size_t sep[3];
  const std::size_t found = FindSeparators(url, sep);
  if (found < 2) return false;
  if (sep[1] == sep[0] + 1) {
    std::size_t i = sep[1] + 1;
    while (url[i] != '\0' && url[i] != '?' && url[i] != '#' && (found < 3 || i < sep[2])) ++i;
    *begin = sep[1] + 1;
    *end = i;
    return true;
  }
  if (found < 3) return false;
  *begin = sep[1] + 1;
  *end = sep[2];
  return true;
}

}  // namespace

char* CopyText(char* dest, const char* src, std::size_t n) {
  if (n == 0) return PutText(dest, src, std::strlen(src));
  return PutText(dest, src, BoundedLength(src, n - 1));
}

char* AppendText(char* dest, const char* src, std::size_t n) {
  if (n == 0) return dest;
  const std::size_t len = BoundedLength(dest, n);
  if (len == n) {
    dest[n - 1] = '\0';
    return dest;
  }
  if (len == n - 1) return dest;
  // Measured before writing, so src may be dest itself.
  const std::size_t add = BoundedLength(src, n - 2 - len);
  PutText(dest + len, src, add);
  return dest;
}

char* JoinTextList(char* dest, std::span<const char* const> pieces, std::size_t n) {
  if (n == 0) return dest;
  // The pieces may point into dest, so they are gathered before dest is touched.
  std::string joined;
  for (const char* piece : pieces) {
    if (piece == nullptr) continue;
    joined.append(piece, BoundedLength(piece, n - 1 - joined.size()));
  }
  return PutText(dest, joined.data(), joined.size());
}

char* MidText(char* dest, const char* src, int start, int count, std::size_t n) {
  if (n == 0) return dest;
  if (count > 0 && static_cast<std::size_t>(count) > n - 1) {
    count = static_cast<int>(n - 1);
  }
  if (start < 1 || count <= 0) return Clear(dest, n);
  const std::size_t from = static_cast<std::size_t>(start) - 1;
  // Only the bytes up to the end of the range matter; src may be much longer.
  const std::size_t end = BoundedLength(
      src, ClampToSize(static_cast<std::uint64_t>(from) + static_cast<std::uint64_t>(count)));
  if (end <= from) return Clear(dest, n);
  return PutText(dest, src + from, end - from);
}

int FindText(const char* text, const char* pattern) {
  if (pattern[0] == '\0') return 1;
  const char* hit = std::strstr(text, pattern);
  if (hit == nullptr) return 0;
  return ClampToInt(static_cast<std::uint64_t>(hit - text) + 1);
}

char* UrlHost(char* dest, const char* url, std::size_t n) {
  if (n == 0) return dest;
  std::size_t begin = 0, end = 0;
  if (!FindHost(url, &begin, &end)) return Clear(dest, n);
  const std::size_t len = end - begin;
  return PutText(dest, url + begin, len < n - 1 ? len : n - 1);
}

char* UrlSite(char* dest, const char* url, std::size_t n) {
  if (n == 0) return dest;
  std::size_t begin = 0, end = 0;
  if (!FindHost(url, &begin, &end)) return Clear(dest, n);
  // The host and the "/" after it, which url may lack.
  const std::size_t len = end + 1 < n - 1 ? end + 1 : n - 1;
  std::memmove(dest, url, len < end ? len : end);
  if (len > end) dest[end] = '/';
  dest[len] = '\0';
  return dest;
}

char* UrlRest(char* dest, const char* url, const char* prefix, std::size_t n) {
  std::size_t skip = std::strlen(prefix);
  // A site's closing "/" that url lacks: what follows the host is the rest.
  if (skip > 0 && prefix[skip - 1] == '/' && std::strncmp(url, prefix, skip - 1) == 0 &&
      url[skip - 1] != '/') {
    --skip;
  }
  const int start = ClampToInt(static_cast<std::uint64_t>(skip) + 1);
  return MidText(dest, url, start, ClampToInt(n), n);
}

char* TextBetween(char* dest, const char* text, const char* start_marker,
                  const char* end_marker, std::size_t n) {
  const int s = FindText(text, start_marker);
  const int e = FindText(text, end_marker);
  if (s == 0 || e == 0) return Clear(dest, n);
  const std::int64_t after = static_cast<std::int64_t>(s) +
                             static_cast<std::int64_t>(std::strlen(start_marker));
  if (after >= e) return Clear(dest, n);
  // after < e <= INT_MAX, so both fit in int.
  return MidText(dest, text, static_cast<int>(after), static_cast<int>(e - after), n);
}

bool HasSwitch(std::string_view arguments, std::string_view name) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!arguments.empty()) {
    while (!arguments.empty() && blank(arguments.front())) arguments.remove_prefix(1);
    std::size_t end = 0;
    while (end < arguments.size() && !blank(arguments[end])) ++end;
    const std::string_view word = arguments.substr(0, end);
    if (word.size() == name.size() &&
        std::equal(word.begin(), word.end(), name.begin(),
                   [](char a, char b) { return AsciiLower(a) == AsciiLower(b); })) {
      return true;
    }
    arguments.remove_prefix(end);
  }
  return false;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::size_t WholeCharacterPrefix(const char* text, std::size_t length, std::size_t max) {
  std::size_t i = 0;
  while (i < length) {
    const std::size_t step =
        IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
    if (i + step > max) break;
    i += step;
  }
  return i;
}

}  // namespace lvn
