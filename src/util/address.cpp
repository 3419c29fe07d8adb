// No non-ASCII literal here: the fuzz build, which cannot store them as Shift-JIS, takes
// this file to hold it to inet_pton.
#include <cstddef>
#include <string_view>

#include "util/address.h"

namespace lvn {
namespace {

// The longest text of an IPv6 address: six groups of four and a dotted IPv4 part.
constexpr std::size_t kMaxAddressText = 45;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsIpv4(std::string_view text) {
  std::size_t i = 0;
  for (int part = 1;; ++part) {
    const std::size_t start = i;
    int value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < 3) {
      value = value * 10 + (text[i] - '0');
      ++i;
    }
    const std::size_t digits = i - start;
    if (digits == 0 || (digits > 1 && text[start] == '0') || value > 255) return false;
    if (i == text.size()) return part == 4;
    if (text[i] != '.' || part == 4) return false;
    ++i;
  }
}

bool IsIpv6(std::string_view text) {
  bool compressed = text.substr(0, 2) == "::";
  std::size_t i = compressed ? 2 : 0;
  int groups = 0;
  while (i < text.size()) {
    const std::size_t end = text.find(':', i);
    const std::string_view field = text.substr(i, end == std::string_view::npos ? end : end - i);
    if (field.find('.') != std::string_view::npos) {
      // A dotted IPv4 part stands for the last two groups.
      if (end != std::string_view::npos || !IsIpv4(field)) return false;
      groups += 2;
      break;
    }
    if (field.empty() || field.size() > 4) return false;
    for (const char c : field) {
      if (!IsHexDigit(c)) return false;
    }
    ++groups;
    if (end == std::string_view::npos) break;
    i = end + 1;
    if (i == text.size()) return false;  // a lone ":" at the end
    if (text[i] == ':') {
      if (compressed) return false;
      compressed = true;
      ++i;
    }
  }
  // "::" stands for at least one group of zeros.
  return compressed ? groups <= 7 : groups == 8;
}

}  // namespace

bool IsWellFormedAddress(std::string_view text) {
  return text.size() <= kMaxAddressText && (IsIpv4(text) || IsIpv6(text));
}

}  // namespace lvn
