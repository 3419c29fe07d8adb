#include "lookup/lookup_answer.h"

#include <cstring>
#include <string_view>

#include "util/address.h"
#include "util/text.h"

namespace lvn {

bool SendTookTooLong(std::uint32_t before_ms, std::uint32_t after_ms) {
  return static_cast<std::uint32_t>(after_ms - before_ms) > kSlowSendLimitMs;
}

std::uint32_t TimeLeftMs(std::uint32_t before_ms, std::uint32_t now_ms) {
  const std::uint32_t spent = now_ms - before_ms;
  return spent < kSlowSendLimitMs ? kSlowSendLimitMs - spent : 0;
}

bool IsSuccessStatus(std::uint32_t status) { return status >= 200 && status <= 299; }

char* AnswerText(char* dest, const char* block, std::size_t delivered, std::size_t n) {
  if (n == 0) return dest;
  if (block == nullptr || delivered == 0) {
    dest[0] = '\0';
    return dest;
  }
  const void* zero = std::memchr(block, '\0', delivered);
  const std::size_t length =
      zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - block) : delivered;
  const std::size_t kept = length < n - 1 ? length : n - 1;
  std::memmove(dest, block, kept);
  dest[kept] = '\0';
  return dest;
}

namespace {

bool HasMarkers(const char* answer) {
  return std::strchr(answer, '[') != nullptr && std::strchr(answer, ']') != nullptr;
}

// A body that is only an address, as public lookup services answer.
std::string_view PlainAddress(const char* answer) {
  const std::string_view trimmed = TrimBlanks(answer);
  return IsWellFormedAddress(trimmed) ? trimmed : std::string_view();
}

}  // namespace

FetchResult FetchResultForAnswer(const char* answer) {
  return std::strlen(answer) >= kShortestAnswer || !PlainAddress(answer).empty()
             ? FetchResult::kOk
             : FetchResult::kFailed;
}

LookupResult LookupResultOf(FetchResult fetch, const char* answer) {
  LookupResult result;
  if (fetch != FetchResult::kOk) return result;
  if (!HasMarkers(answer)) {
    // Neither markers nor a bare address: a captive portal's page or some other, never a
    // change of address.
    const std::string_view plain = PlainAddress(answer);
    if (plain.empty() || plain.size() >= sizeof result.Address) return result;
    std::memcpy(result.Address, plain.data(), plain.size());
    result.Address[plain.size()] = '\0';
    result.Status = LookupStatus::kAnswered;
    return result;
  }
  char between[kAnswerCapacity];
  TextBetween(between, answer, "[", "]", sizeof between);
  // Stored values are read back trimmed: an untrimmed address would differ at every start.
  const std::string_view address = TrimBlanks(between);
  // Lookup pages report their own failures in the markers ("[error]"), and no address
  // begins with "e" (IPv6's e000::/4 is reserved), so such a page is a failed lookup.
  if (!address.empty() && address.front() == 'e') return result;
  const std::size_t kept =
      WholeCharacterPrefix(address.data(), address.size(), sizeof result.Address - 1);
  std::memcpy(result.Address, address.data(), kept);
  result.Address[kept] = '\0';
  result.Status = LookupStatus::kAnswered;
  return result;
}

}  // namespace lvn
