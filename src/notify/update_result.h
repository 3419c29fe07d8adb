// What a send to an update target came to, when the next try is due, and whether a check
// sends to a target at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "history/local_time.h"
#include "notify/notices.h"
#include "settings/update_targets.h"

namespace lvn {

// A hard failure stops the target until its settings change: the services block accounts
// that repeat a refused request. A soft one is tried again (RetryDelayMinutes).
enum class UpdateVerdict { kSuccess, kHardFailure, kSoftFailure };

struct UpdateResult {
  UpdateVerdict Verdict = UpdateVerdict::kSoftFailure;
  std::string Word;  // the server's: its answer's first word, else the HTTP status; or none
};

// status is none when no answer came (no connection, the time limit).
UpdateResult UpdateResultOf(TargetKind kind, std::optional<int> status, std::string_view body);

// Minutes until the next try after the n-th soft failure in a row: 5, 10, 20, then 30.
int RetryDelayMinutes(int soft_failures);

// "成功 good", "失敗 (再試行なし) badauth", "失敗 (再試行: 12:35) 503"; retry_at counts
// for a soft failure only.
std::string UpdateResultText(const UpdateResult& result, const LocalTime& retry_at);

enum class SendDecision {
  kNone,
  kSend,
  kNotGlobal,  // a DNS target's address is not global unicast: logged as not sent
};

// Whether target sends for event after a check that recorded events. A DNS target sends
// an address its Sent does not hold, on a change or on the first check of a start; the
// others send on the events their On= names. A disabled or unusable target sends nothing.
SendDecision DecideSend(const UpdateTarget& target, TargetEvent event,
                        const CheckEvents& events, bool first_check);

}  // namespace lvn
