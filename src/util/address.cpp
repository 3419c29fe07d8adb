// No non-ASCII literal here: the fuzz build, which cannot store them as Shift-JIS, takes
// this file to hold it to inet_pton.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/address.h"

namespace lvn {
namespace {

// The longest text of an IPv6 address: six groups of four and a dotted IPv4 part.
constexpr std::size_t kMaxAddressText = 45;

using Ipv4Bytes = std::array<uint8_t, 4>;
using Ipv6Bytes = std::array<uint8_t, 16>;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseIpv4(std::string_view text, Ipv4Bytes* bytes) {
  std::size_t i = 0;
  for (std::size_t part = 0;; ++part) {
    const std::size_t start = i;
    int value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < 3) {
      value = value * 10 + (text[i] - '0');
      ++i;
    }
    const std::size_t digits = i - start;
    if (digits == 0 || (digits > 1 && text[start] == '0') || value > 255) return false;
    (*bytes)[part] = static_cast<uint8_t>(value);
    if (i == text.size()) return part == 3;
    if (text[i] != '.' || part == 3) return false;
    ++i;
  }
}

bool ParseIpv6(std::string_view text, Ipv6Bytes* bytes) {
  std::array<uint16_t, 8> groups{};
  std::size_t count = 0;
  bool compressed = text.substr(0, 2) == "::";
  std::size_t gap = 0;  // where "::" stands: the number of groups before it
  std::size_t i = compressed ? 2 : 0;
  while (i < text.size()) {
    const std::size_t end = text.find(':', i);
    const std::string_view field = text.substr(i, end == std::string_view::npos ? end : end - i);
    if (field.find('.') != std::string_view::npos) {
      // A dotted IPv4 part stands for the last two groups.
      Ipv4Bytes v4;
      if (end != std::string_view::npos || count > 6 || !ParseIpv4(field, &v4)) return false;
      groups[count++] = static_cast<uint16_t>(v4[0] << 8 | v4[1]);
      groups[count++] = static_cast<uint16_t>(v4[2] << 8 | v4[3]);
      break;
    }
    if (field.empty() || field.size() > 4 || count == groups.size()) return false;
    unsigned value = 0;
    for (const char c : field) {
      const int digit = HexValue(c);
      if (digit < 0) return false;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    groups[count++] = static_cast<uint16_t>(value);
    if (end == std::string_view::npos) break;
    i = end + 1;
    if (i == text.size()) return false;  // a lone ":" at the end
    if (text[i] == ':') {
      if (compressed) return false;
      compressed = true;
      gap = count;
      ++i;
    }
  }
  // "::" stands for at least one group of zeros.
  if (compressed ? count > 7 : count != groups.size()) return false;
  const std::size_t zeros = groups.size() - count;
  bytes->fill(0);
  for (std::size_t g = 0; g < count; ++g) {
    const std::size_t at = 2 * (!compressed || g < gap ? g : g + zeros);
    (*bytes)[at] = static_cast<uint8_t>(groups[g] >> 8);
    (*bytes)[at + 1] = static_cast<uint8_t>(groups[g] & 0xFF);
  }
  return true;
}

struct Ipv4Block {
  uint32_t Prefix;
  int Bits;
};

constexpr uint32_t Ipv4(uint32_t a, uint32_t b, uint32_t c) { return a << 24 | b << 16 | c << 8; }

// Blocks no name on the internet may point at: this network, private, shared (carrier
// NAT), loopback, link-local, protocol assignments, documentation, benchmarking,
// multicast, and the reserved block with the broadcast address.
constexpr Ipv4Block kNotGlobalIpv4[] = {
    {Ipv4(0, 0, 0), 8},      {Ipv4(10, 0, 0), 8},     {Ipv4(100, 64, 0), 10},
    {Ipv4(127, 0, 0), 8},    {Ipv4(169, 254, 0), 16}, {Ipv4(172, 16, 0), 12},
    {Ipv4(192, 0, 0), 24},   {Ipv4(192, 0, 2), 24},   {Ipv4(192, 168, 0), 16},
    {Ipv4(198, 18, 0), 15},  {Ipv4(198, 51, 100), 24}, {Ipv4(203, 0, 113), 24},
    {Ipv4(224, 0, 0), 4},    {Ipv4(240, 0, 0), 4},
};

bool IsGlobalIpv4(const Ipv4Bytes& bytes) {
  const uint32_t address = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 |
                           uint32_t{bytes[2]} << 8 | uint32_t{bytes[3]};
  for (const Ipv4Block& block : kNotGlobalIpv4) {
    const uint32_t mask = ~uint32_t{0} << (32 - block.Bits);
    if ((address & mask) == block.Prefix) return false;
  }
  return true;
}

bool IsGlobalIpv6(const Ipv6Bytes& bytes) {
  const bool documentation =
      bytes[0] == 0x20 && bytes[1] == 0x01 && bytes[2] == 0x0D && bytes[3] == 0xB8;
  return (bytes[0] & 0xE0) == 0x20 && !documentation;
}

}  // namespace

bool IsWellFormedAddress(std::string_view text) {
  Ipv4Bytes v4;
  Ipv6Bytes v6;
  return text.size() <= kMaxAddressText && (ParseIpv4(text, &v4) || ParseIpv6(text, &v6));
}

bool IsGlobalUnicast(std::string_view text) {
  if (text.size() > kMaxAddressText) return false;
  Ipv4Bytes v4;
  if (ParseIpv4(text, &v4)) return IsGlobalIpv4(v4);
  Ipv6Bytes v6;
  return ParseIpv6(text, &v6) && IsGlobalIpv6(v6);
}

}  // namespace lvn
