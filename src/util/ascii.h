// Single bytes of ANSI (Shift-JIS) text, and the ASCII letters among them. Case folding
// touches only A-Z and a-z: a caller that must not fold a double-byte character's trail
// byte steps over it with IsLeadByte (util/text.h).
#pragma once

#include <cstddef>
#include <string_view>

namespace lvn {

// The byte c holds; char may be signed, and a comparison with 0x20 or 0x80 needs the byte.
constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal but for the case of ASCII letters: for names of ASCII words (a URL's scheme, a
// setting's keyword), never for double-byte text.
constexpr bool SameAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace lvn
