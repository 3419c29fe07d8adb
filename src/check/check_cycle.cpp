#include "check/check_cycle.h"

#include <cstring>
#include <string>

#include "history/log_format.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {

std::string UpdateTimeText(ChangeSeen seen, const char* last_change) {
  return (seen == ChangeSeen::kInThisRun ? texts::Ui().ChangeInThisRunPrefix
                                         : texts::Ui().ChangeBeforePrefix) +
         std::string(last_change);
}

CheckEvents HandleLookupResult(const LookupResult& lookup, const LocalTime& now,
                               CheckState* state, CheckCycleHost* host) {
  const bool failed = lookup.Status == LookupStatus::kFailed;
  const char* result = lookup.Address;
  CheckEvents events;
  if (!failed) events.Ip = result;

  // One record at the start of an outage and one at its end, however long it lasts.
  if (failed && host->LastEventCode() != kEventCommError) {
    host->RecordEvent(kEventCommError, "", now);
    events.OutageBegan = true;
  } else if (!failed && host->LastEventCode() == kEventCommError) {
    host->RecordEvent(kEventCommRecovered, "", now);
    events.Recovered = true;
  }

  if (!failed && std::strcmp(result, state->LastIp) != 0) {
    host->RecordEvent(kEventAddressChange, result, now);
    events.Changed = true;
    events.OldIp = state->LastIp;
    CopyText(state->LastIp, result, sizeof state->LastIp);
    CopyText(state->LastChange, FormatDateTime(now).c_str(), sizeof state->LastChange);
    host->ShowUpdateTime(UpdateTimeText(ChangeSeen::kInThisRun, state->LastChange).c_str());
    host->SaveAddressChange(state->LastIp, state->LastChange);
  }

  const texts::Texts& ui = texts::Ui();
  host->ShowNowIp((ui.NowPrefix + std::string(failed ? ui.CommError : result) + ui.CheckedLabel +
                   FormatClock(now))
                      .c_str());
  host->EnableUpdate();
  return events;
}

}  // namespace lvn
