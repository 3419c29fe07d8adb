#include "notify/update_result.h"

#include <cstddef>
#include <span>

#include "util/address.h"
#include "util/ascii.h"
#include "util/texts.h"

namespace lvn {
namespace {

constexpr std::size_t kMaxWordBytes = 32;

struct ServerWord {
  const char* Word;
  UpdateVerdict Verdict;
};

constexpr ServerWord kDyndns2Words[] = {
    {"good", UpdateVerdict::kSuccess},        {"nochg", UpdateVerdict::kSuccess},
    {"badauth", UpdateVerdict::kHardFailure}, {"!donator", UpdateVerdict::kHardFailure},
    {"notfqdn", UpdateVerdict::kHardFailure}, {"nohost", UpdateVerdict::kHardFailure},
    {"numhost", UpdateVerdict::kHardFailure}, {"abuse", UpdateVerdict::kHardFailure},
    {"badagent", UpdateVerdict::kHardFailure}, {"911", UpdateVerdict::kSoftFailure},
    {"dnserr", UpdateVerdict::kSoftFailure},
};

constexpr ServerWord kDuckdnsWords[] = {
    {"OK", UpdateVerdict::kSuccess},
    {"KO", UpdateVerdict::kHardFailure},
};

bool IsBlank(char c) { return Byte(c) <= 0x20; }

std::string_view FirstWord(std::string_view body) {
  std::size_t start = 0;
  while (start < body.size() && IsBlank(body[start])) ++start;
  std::size_t end = start;
  while (end < body.size() && !IsBlank(body[end])) ++end;
  return body.substr(start, end - start);
}

// A server's word goes into the log and a notice only when it is short, printable ASCII.
bool IsShowable(std::string_view word) {
  if (word.empty() || word.size() > kMaxWordBytes) return false;
  for (const char c : word) {
    if (Byte(c) > 0x7E) return false;
  }
  return true;
}

}  // namespace

UpdateResult UpdateResultOf(TargetKind kind, std::optional<int> status, std::string_view body) {
  if (!status) return {UpdateVerdict::kSoftFailure, ""};
  const std::string_view word = FirstWord(body);
  std::span<const ServerWord> words;
  if (kind == TargetKind::kDyndns2) words = kDyndns2Words;
  if (kind == TargetKind::kDuckdns) words = kDuckdnsWords;
  for (const ServerWord& known : words) {
    if (SameAsciiNoCase(word, known.Word)) return {known.Verdict, std::string(word)};
  }
  const int code = *status;
  UpdateResult result;
  result.Word = !words.empty() && IsShowable(word) ? std::string(word) : std::to_string(code);
  if (code >= 500 || code == 429) {
    result.Verdict = UpdateVerdict::kSoftFailure;
  } else if (code >= 200 && code < 300 && words.empty()) {
    result.Verdict = UpdateVerdict::kSuccess;
  } else {
    // A 4xx, or an answer the protocol does not know: repeating it would not help.
    result.Verdict = UpdateVerdict::kHardFailure;
  }
  return result;
}

int RetryDelayMinutes(int soft_failures) {
  if (soft_failures <= 1) return 5;
  if (soft_failures == 2) return 10;
  if (soft_failures == 3) return 20;
  return 30;
}

std::string UpdateResultText(const UpdateResult& result, const LocalTime& retry_at) {
  std::string text;
  switch (result.Verdict) {
    case UpdateVerdict::kSuccess: text = texts::Ui().UpdateSuccess; break;
    case UpdateVerdict::kHardFailure: text = texts::Ui().UpdateHardFailure; break;
    case UpdateVerdict::kSoftFailure:
      text = texts::Ui().UpdateRetryAt + FormatClock(retry_at).substr(0, 5) + ')';
      break;
  }
  if (!result.Word.empty()) text += ' ' + result.Word;
  return text;
}

SendDecision DecideSend(const UpdateTarget& target, TargetEvent event,
                        const CheckEvents& events, bool first_check) {
  if (!target.Enabled || !ActsOn(target, event) ||
      TargetProblemOf(target) != TargetProblem::kNone) {
    return SendDecision::kNone;
  }
  if (!IsDnsKind(target.Kind)) {
    const bool happened = event == TargetEvent::kChange   ? events.Changed
                          : event == TargetEvent::kOutage ? events.OutageBegan
                                                          : events.Recovered;
    return happened ? SendDecision::kSend : SendDecision::kNone;
  }
  // The service already holds what it was last sent; repeating it gets accounts blocked.
  if ((!events.Changed && !first_check) || events.Ip.empty() || events.Ip == target.Sent) {
    return SendDecision::kNone;
  }
  return IsGlobalUnicast(events.Ip) ? SendDecision::kSend : SendDecision::kNotGlobal;
}

}  // namespace lvn
