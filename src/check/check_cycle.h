// What one lookup result means for the display, the history, the settings and the
// notices, decided as a value; the main window carries it out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/local_time.h"
#include "lookup/lookup_answer.h"
#include "notify/notices.h"
#include "settings/settings.h"

namespace lvn {

// What the result is judged against.
struct CheckFacts {
  int32_t LastEventCode = 0;  // of the last record written in this run (0 before any)
  const char* LastIp = "";    // IpHoz
  std::string FallbackUrl;    // named when it gave the answer
};

struct CheckRecord {
  int32_t Code;
  std::string Text;  // the file's bytes
};

// A new address: what IpHoz and LastCnange become.
struct AddressChange {
  std::string LastIp;
  std::string LastChange;
};

struct CheckOutcome {
  std::vector<CheckRecord> Records;     // to append, in order, all at the check's time
  std::optional<AddressChange> Change;  // to save at once
  std::string NowIp;
  std::string AnswerNote;               // which page answered, when it was the fallback
  std::optional<std::string> UpdateTime;  // UpdateTime's new text, after a change
  CheckEvents Events;                   // for the notices and the change command
  // A new address the fallback page did not confirm: nothing recorded or sent; the lookup
  // page's and the fallback page's answers, for update.log (empty for a page that failed).
  std::optional<std::pair<std::string, std::string>> Unconfirmed;
};

CheckOutcome HandleLookupResult(const LookupResult& result, const LocalTime& now,
                                const CheckFacts& facts);

// Which change UpdateTime shows: the one stored by an earlier run, or one seen in this run.
enum class ChangeSeen { kBefore, kInThisRun };

// "変更:" (before) or "更新:" (in this run) followed by the time of the last change.
std::string UpdateTimeText(ChangeSeen seen, const char* last_change);

}  // namespace lvn
