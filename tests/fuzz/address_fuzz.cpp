// An address from the lookup page goes into a command line only when well formed: the
// check must accept exactly what glibc's inet_pton accepts for AF_INET or AF_INET6.
// inet_pton reads a C string, so the reference stops nothing at a zero byte: any text with
// one is refused. (glibc refuses leading zeros in IPv4 parts too, and no address it takes
// is longer than 45 bytes, so those rules need no extra term.)
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "notify/change_command.h"

namespace {

bool InetPtonAccepts(const std::string& text) {
  if (text.find('\0') != std::string::npos) return false;
  unsigned char address[16];
  return inet_pton(AF_INET, text.c_str(), address) == 1 ||
         inet_pton(AF_INET6, text.c_str(), address) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (lvn::IsWellFormedAddress(text) != InetPtonAccepts(text)) __builtin_trap();
  return 0;
}
