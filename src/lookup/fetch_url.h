// Where the fetch sends a URL's request: to which host and port, over TLS or not, asking for
// what. Decided here, away from WinINet, so that the native tests reach every decision.
#pragma once

#include <cstdint>

#include "settings/settings.h"

namespace lvn {

struct FetchTarget {
  // An https URL (the scheme without case): TLS, with the certificate checked by the system.
  bool Secure = false;
  // The authority without its port; an IPv6 literal keeps its brackets, as WinINet takes it.
  char Host[kUrlCapacity] = "";
  // The URL's port, else 443 for https and 80 for anything else.
  std::uint16_t Port = 0;
  // UrlSite and UrlRest of the URL: the referrer of a first request, and what is asked for.
  char Site[kUrlCapacity] = "";
  char ObjectName[kUrlCapacity] = "";
};

// *target := url's target. False, with *target untouched, when url names no host, an IPv6
// literal without its closing bracket, or a port that is not a number from 1 to 65535.
bool ParseFetchUrl(const char* url, FetchTarget* target);

// A redirect may go from plain HTTP to TLS, never from TLS to plain HTTP.
bool IsRedirectAllowed(const FetchTarget& from, const FetchTarget& to);

}  // namespace lvn
