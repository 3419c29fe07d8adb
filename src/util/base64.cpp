#include "util/base64.h"

#include <cstddef>
#include <cstdint>

namespace lvn {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Of(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= n ? kAlphabet[group >> (18 - 6 * k) & 0x3F] : '=';
    }
  }
  return out;
}

std::optional<std::string> BytesOfBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    // Padding only closes the last group, and never stands for more than two bytes' worth.
    std::size_t pad = 0;
    if (i + 4 == text.size() && text[i + 3] == '=') pad = text[i + 2] == '=' ? 2 : 1;
    uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const int sextet = k < 4 - pad ? SextetOf(text[i + k]) : 0;
      if (sextet < 0) return std::nullopt;
      group = group << 6 | static_cast<uint32_t>(sextet);
    }
    // The bits the padding drops are zero in any text an encoder wrote.
    if ((group & ((1u << (8 * pad)) - 1)) != 0) return std::nullopt;
    for (std::size_t k = 0; k < 3 - pad; ++k) {
      out += static_cast<char>(group >> (16 - 8 * k) & 0xFF);
    }
  }
  return out;
}

}  // namespace lvn
