// update.log in the data folder, beside command.log and bounded the same way: one line for
// each send to an update target, and for each that was not made and why. Shift-JIS text,
// CR LF line ends, the newest line last; fields are separated by tabs. No secret reaches it:
// the URL is the one the request made for the log.
#pragma once

#include <string>
#include <string_view>

#include "history/local_time.h"

namespace lvn {

inline constexpr char kUpdateLogFileName[] = "update.log";

struct UpdateLogLine {
  LocalTime At;
  std::string Target;   // "kind host", or "-"
  std::string Event;    // change, outage, recovery, test, or unconfirmed
  std::string Address;
  std::string Result;   // UpdateResultText, a refusal's reason, or the other page's answer
  std::string Url;      // as the log may show it; may be empty
};

// The line in the file's code page (932): tabs and line ends inside a field become spaces,
// and what code page 932 lacks '?'.
std::string UpdateLogEntry(const UpdateLogLine& line);

}  // namespace lvn
