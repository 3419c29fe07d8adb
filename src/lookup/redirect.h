// Redirects are followed by the fetch itself, not by WinINet, so that a page redirecting
// to itself ends the lookup instead of flooding the server for ever.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lvn {

// A longer chain fails the lookup.
inline constexpr int kMaxRedirects = 5;

// 301, 302, 303, 307 and 308: the answers that send the client elsewhere.
bool IsRedirectStatus(std::uint32_t status);

// The URL that a Location header's value leads to from url, resolved as RFC 3986 section 5
// does: an absolute http or https URL (schemes without case), "//host/path" with url's
// scheme, "/path" on url's host, "?query" on url's path, a relative path beside the last
// "/" of url's path; "." and ".." segments removed, the fragment dropped, and "/" for a
// host that no path follows. False, with dest untouched, when nothing is left, the target
// has another scheme or no host, or it does not fit in n - 1 bytes.
bool RedirectUrl(char* dest, const char* url, std::string_view location, std::size_t n);

}  // namespace lvn
