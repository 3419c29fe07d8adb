// The program's own window messages, all in one reserved WM_APP range.
#pragma once

#include <windows.h>

namespace lvn {

// Sent by the lookup worker to its target window, which handles it on the user-interface
// thread while the worker waits. lParam: the result text (const char*), valid only during
// the call. A window that is being destroyed must ignore it.
inline constexpr UINT kMsgLookupResult = WM_APP + 1;

}  // namespace lvn
