// Single bytes of ANSI (Shift-JIS) text, and the ASCII letters among them. Case folding
// touches only A-Z and a-z: a caller that must not fold a double-byte character's trail
// byte steps over it with IsLeadByte (util/text.h).
#pragma once

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

}  // namespace lvn
