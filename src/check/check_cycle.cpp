#include "check/check_cycle.h"

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

CheckOutcome HandleLookupResult(const LookupResult& lookup, const LocalTime& now,
                                const CheckFacts& facts) {
  const bool failed = lookup.Status == LookupStatus::kFailed;
  const std::string address = lookup.Address;
  CheckOutcome outcome;
  const texts::Texts& ui = texts::Ui();
  // Until both pages agree, the address kept is the one shown, and the next check asks again.
  if (!failed && lookup.Unconfirmed) {
    outcome.Unconfirmed.emplace(lookup.FromFallback ? "" : address,
                                lookup.FromFallback ? address : lookup.FallbackAddress);
    outcome.NowIp = ui.NowPrefix + std::string(facts.LastIp) + ui.CheckedLabel + FormatClock(now);
    return outcome;
  }
  if (!failed) outcome.Events.Ip = address;

  // One record at the start of an outage and one at its end, however long it lasts.
  if (failed && facts.LastEventCode != kEventCommError) {
    outcome.Records.push_back({kEventCommError, ""});
    outcome.Events.OutageBegan = true;
  } else if (!failed && facts.LastEventCode == kEventCommError) {
    outcome.Records.push_back({kEventCommRecovered, ""});
    outcome.Events.Recovered = true;
  }

  if (!failed && address != facts.LastIp) {
    outcome.Records.push_back({kEventAddressChange, address});
    outcome.Events.Changed = true;
    outcome.Events.OldIp = facts.LastIp;
    // Cut as the settings hold them, so that the next result compares with what is kept.
    char last_ip[kLastIpCapacity];
    char last_change[kLastChangeCapacity];
    CopyText(last_ip, address.c_str(), sizeof last_ip);
    CopyText(last_change, FormatDateTime(now).c_str(), sizeof last_change);
    outcome.Change = AddressChange{last_ip, last_change};
    outcome.UpdateTime = UpdateTimeText(ChangeSeen::kInThisRun, last_change);
  }

  outcome.NowIp = ui.NowPrefix + (failed ? std::string(ui.CommError) : address) +
                  ui.CheckedLabel + FormatClock(now);
  if (lookup.FromFallback) outcome.AnswerNote = ui.AnsweredByPrefix + facts.FallbackUrl;
  return outcome;
}

}  // namespace lvn
