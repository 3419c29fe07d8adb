// What one lookup result does to the display, the history and the settings. The main
// window is a thin adapter over this: it supplies the host and owns the state.
#pragma once

#include <cstdint>
#include <string>

#include "history/local_time.h"
#include "lookup/lookup_answer.h"
#include "notify/notices.h"
#include "settings/settings.h"

namespace lvn {

class CheckCycleHost {
 public:
  virtual ~CheckCycleHost() = default;
  // Appends one history record; codes other than 0, 1 and 2 also reload the grid.
  virtual void RecordEvent(int32_t code, const char* text, const LocalTime& time) = 0;
  // Code of the last record written in this run (0 before any).
  virtual int32_t LastEventCode() const = 0;
  virtual void ShowNowIp(const char* text) = 0;
  virtual void ShowUpdateTime(const char* text) = 0;
  virtual void EnableUpdate() = 0;
  // Puts IpHoz and LastCnange into the settings and writes the file at once.
  virtual void SaveAddressChange(const char* last_ip, const char* last_change) = 0;
};

struct CheckState {
  char LastIp[kLastIpCapacity] = "";
  char LastChange[kLastChangeCapacity] = "";
};

// Records, shows and saves what the result means, and tells what it recorded.
CheckEvents HandleLookupResult(const LookupResult& result, const LocalTime& now,
                               CheckState* state, CheckCycleHost* host);

// Which change UpdateTime shows: the one stored by an earlier run, or one seen in this run.
enum class ChangeSeen { kBefore, kInThisRun };

// "変更:" (before) or "更新:" (in this run) followed by the time of the last change.
std::string UpdateTimeText(ChangeSeen seen, const char* last_change);

}  // namespace lvn
