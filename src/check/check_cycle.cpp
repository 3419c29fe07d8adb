#include "check/check_cycle.h"

#include <cstring>
#include <string>

#include "history/log_format.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {

void UpdateTimeText(char* dest, std::size_t n, ChangeSeen seen, const char* last_change) {
  JoinTexts(dest, seen == ChangeSeen::kInThisRun ? texts::kChangeInThisRunPrefix
                                                 : texts::kChangeBeforePrefix,
            last_change, n);
}

void HandleLookupResult(const LookupResult& lookup, const LocalTime& now, CheckState* state,
                        CheckCycleHost* host) {
  const bool failed = lookup.Status == LookupStatus::kFailed;
  const char* result = lookup.Address;

  // One record at the start of an outage and one at its end, however long it lasts.
  if (failed && host->LastEventCode() != kEventCommError) {
    host->RecordEvent(kEventCommError, "", now);
  } else if (!failed && host->LastEventCode() == kEventCommError) {
    host->RecordEvent(kEventCommRecovered, "", now);
  }

  if (!failed && std::strcmp(result, state->LastIp) != 0) {
    host->RecordEvent(kEventAddressChange, result, now);
    CopyText(state->LastIp, result, sizeof state->LastIp);
    CopyText(state->LastChange, FormatDateTime(now).c_str(), sizeof state->LastChange);
    char update_time[kUpdateTimeCapacity];
    UpdateTimeText(update_time, sizeof update_time, ChangeSeen::kInThisRun, state->LastChange);
    host->ShowUpdateTime(update_time);
    host->SaveAddressChange(state->LastIp, state->LastChange);
  }

  char now_ip[kNowIpCapacity];
  JoinTexts(now_ip, texts::kNowPrefix, failed ? texts::kCommError : result,
            texts::kCheckedLabel, FormatClock(now).c_str(), sizeof now_ip);
  host->ShowNowIp(now_ip);
  host->EnableUpdate();
}

}  // namespace lvn
