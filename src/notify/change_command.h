// What the change command runs: the command line with the addresses put in, or why it
// does not run. The addresses come from a web page, so only well-formed ones go in.
#pragma once

#include <string>
#include <string_view>

#include "util/address.h"

namespace lvn {

enum class CommandRefusal {
  kNone,                 // it runs
  kNoCommand,            // the command line is empty or blank
  kAddressMalformed,     // the new address is not a well-formed address
};

struct ChangeCommand {
  std::string Line;   // the command line as run: %IP% and %OLDIP% replaced
  std::string Ip;     // LORVANE_IP
  std::string OldIp;  // LORVANE_OLDIP, empty when there was no well-formed one
};

// Replaces every %IP% by ip and every %OLDIP% by old_ip (ASCII case ignored, as Windows
// does for its own variables); anything else between percent signs is left as it is. The
// names are found from the left wherever they stand, so that a URL's escapes do not hide
// one: "%20%IP%" is "%20" and the address. Refused for a blank command, then for a new
// address that is not well formed. A previous "address" that is not well formed came from
// a page that answered garbage: it counts as none, so that the update to a good address
// still runs and nothing malformed reaches the command. *out is set only when it runs.
CommandRefusal PrepareChangeCommand(std::string_view command, std::string_view ip,
                                    std::string_view old_ip, ChangeCommand* out);

// The log's words for a refusal.
const char* RefusalText(CommandRefusal refusal);

}  // namespace lvn
