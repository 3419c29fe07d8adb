// The lookup page's answer is untrusted: whatever bytes arrive, the answer text and the
// result text stay inside their buffers and mean what they should.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "lookup/lookup_answer.h"
#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::size_t delivered = size < lvn::kReadBlockSize ? size : lvn::kReadBlockSize;
  char answer[lvn::kAnswerCapacity];
  lvn::AnswerText(answer, reinterpret_cast<const char*>(data), delivered, sizeof answer);
  const std::string text(answer);
  if (text.size() >= lvn::kAnswerCapacity) __builtin_trap();
  if (std::memcmp(text.data(), data, text.size()) != 0) __builtin_trap();

  const lvn::FetchResult fetch = lvn::FetchResultForAnswer(answer);
  const lvn::LookupResult result = lvn::LookupResultOf(fetch, answer);
  const std::string got(result.Address);
  // The same rule, written the obvious way.
  const auto trimmed = [](std::string t) {
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= 0x20) t.pop_back();
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= 0x20) t.erase(0, 1);
    return t;
  };
  std::string want;
  const std::size_t open = text.find('['), close = text.find(']');
  const bool marked = open != std::string::npos && close != std::string::npos;
  if (marked && open + 1 < close) want = trimmed(text.substr(open + 1, close - open - 1));
  // Without both markers only a bare address counts, as inet_pton reads one.
  bool bare = false;
  if (!marked) {
    want = trimmed(text);
    unsigned char bytes[16];
    bare = inet_pton(AF_INET, want.c_str(), bytes) == 1 || inet_pton(AF_INET6, want.c_str(), bytes) == 1;
  }
  if ((text.size() >= lvn::kShortestAnswer || bare) != (fetch == lvn::FetchResult::kOk)) __builtin_trap();
  // A failed fetch, a page that reports its own failure or one with neither markers nor an
  // address: no address at all.
  if (fetch != lvn::FetchResult::kOk || (marked && !want.empty() && want[0] == 'e') ||
      (!marked && !bare)) {
    if (result.Status != lvn::LookupStatus::kFailed || !got.empty()) __builtin_trap();
    return 0;
  }
  if (result.Status != lvn::LookupStatus::kAnswered) __builtin_trap();
  // Cut only where a character ends, and only when it must be.
  if (got.size() >= lvn::kResultTextCapacity || want.compare(0, got.size(), got) != 0) __builtin_trap();
  if (got.size() < want.size()) {
    std::size_t end = 0;
    while (end < got.size()) end += lvn::IsLeadByte(static_cast<unsigned char>(want[end])) ? 2 : 1;
    if (end != got.size()) __builtin_trap();
    const std::size_t next = lvn::IsLeadByte(static_cast<unsigned char>(want[end])) && end + 1 < want.size() ? 2 : 1;
    if (end + next < lvn::kResultTextCapacity) __builtin_trap();
  }
  return 0;
}
