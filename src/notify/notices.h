// The balloon notices a check gives, when the user asked for them.
#pragma once

#include <string>
#include <vector>

#include "history/local_time.h"
#include "settings/notify_settings.h"

namespace lvn {

// What one check recorded, as the notices and the change command see it.
struct CheckEvents {
  bool OutageBegan = false;
  bool Recovered = false;
  bool Changed = false;
  std::string OldIp;  // the address before a change; empty when there was none
  std::string Ip;     // the address the check found; empty when it failed
};

struct Notice {
  std::string Title;
  std::string Text;
  bool Warning = false;
};

// The check's notices in the order of its records: an outage's end before the change
// that may come with it.
std::vector<Notice> NoticesFor(const CheckEvents& events, const NotifySettings& settings,
                               const LocalTime& now);

}  // namespace lvn
