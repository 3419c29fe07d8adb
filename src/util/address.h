// Whether a text is an IP address as the lookup pages and the change command expect it,
// and whether it is one a name on the internet may point at.
#pragma once

#include <string_view>

namespace lvn {

// A textual IPv4 address (four decimal parts 0 to 255, no leading zeros) or IPv6 address
// (RFC 4291's forms, "::" and a trailing IPv4 part included; no zone, no brackets).
bool IsWellFormedAddress(std::string_view text);

// A well-formed address outside every private, shared, loopback, link-local,
// documentation, benchmark, multicast and reserved IPv4 block; for IPv6, inside 2000::/3
// and outside the documentation block 2001:db8::/32.
bool IsGlobalUnicast(std::string_view text);

}  // namespace lvn
