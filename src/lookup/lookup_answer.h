// What a lookup makes of the lookup page's answer. The answer comes from the network and
// is untrusted: any bytes, any length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lvn {

// How one fetch ended: an answer to look at, or a failed lookup (kNoSession when WinINet
// itself could not be had).
enum class FetchResult { kOk, kFailed, kNoSession };

inline constexpr std::size_t kReadBlockSize = 1000;     // the most of the answer read
inline constexpr std::size_t kShortestAnswer = 10;      // bytes of a useful answer
// A longer send step has failed, and the reading of the answer stops at it.
inline constexpr std::uint32_t kSlowSendLimitMs = 5000;
inline constexpr std::size_t kAnswerCapacity = 500;     // the worker's answer buffer
// What the main window receives: the longest textual IPv6 address (45 bytes, the form
// with an embedded IPv4 address) and its terminating zero.
inline constexpr std::size_t kResultTextCapacity = 46;

// True when the send step took longer than the limit. The clock is a wrapping 32-bit
// millisecond count, so the difference is taken unsigned.
bool SendTookTooLong(std::uint32_t before_ms, std::uint32_t after_ms);
// Milliseconds of the limit left at now_ms, 0 once it has passed, on the same clock.
std::uint32_t TimeLeftMs(std::uint32_t before_ms, std::uint32_t now_ms);

// Only a 2xx status is an answer; anything else, including a missing or garbled status
// line (0), is an error page or no answer at all.
bool IsSuccessStatus(std::uint32_t status);

// The answer text: the delivered bytes up to the first zero byte among them, cut to n.
char* AnswerText(char* dest, const char* block, std::size_t delivered, std::size_t n);

// The result for an answer text that arrived with a 2xx status: kFailed when it is too short
// to hold a marked address and is no bare address either.
FetchResult FetchResultForAnswer(const char* answer);

enum class LookupStatus { kAnswered, kFailed };

// What one lookup hands to the main window.
struct LookupResult {
  LookupStatus Status = LookupStatus::kFailed;
  // When answered: the text between the first "[" and the first "]" of the answer without
  // the bytes 0x00 to 0x20 at either end, cut at a character boundary; it may be empty.
  // An answer without both markers is answered only when, trimmed, it is an address.
  char Address[kResultTextCapacity] = "";
  // The fallback page gave it, after the lookup URL failed.
  bool FromFallback = false;
  // A new address that the fallback page, asked to confirm it, did not give: it answered
  // FallbackAddress instead, or nothing (empty). With FromFallback, the lookup page failed
  // and the fallback page's new address had no second word.
  bool Unconfirmed = false;
  char FallbackAddress[kResultTextCapacity] = "";
};

LookupResult LookupResultOf(FetchResult fetch, const char* answer);

}  // namespace lvn
