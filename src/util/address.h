// Whether a text is an IP address as the lookup pages and the change command expect it.
#pragma once

#include <string_view>

namespace lvn {

// A textual IPv4 address (four decimal parts 0 to 255, no leading zeros) or IPv6 address
// (RFC 4291's forms, "::" and a trailing IPv4 part included; no zone, no brackets).
bool IsWellFormedAddress(std::string_view text);

}  // namespace lvn
