// The program's own window messages, all in one reserved WM_APP range.
#pragma once

#include <windows.h>

namespace lvn {

// Sent by the lookup worker to the main window, which handles it on the user-interface
// thread while the worker waits. lParam: the result text (const char*), valid only during
// the call. The window takes the result (see InternetThread::Start) and returns TRUE; a
// window that is being destroyed ignores the text.
inline constexpr UINT kMsgLookupResult = WM_APP + 1;
// Posted by the main window to itself: give the grid the focus once the window shows.
inline constexpr UINT kMsgFocusGrid = WM_APP + 2;
// Posted by the main window to itself when the history is too large to read: tell the
// user, from the message loop rather than from inside a reload.
inline constexpr UINT kMsgHistoryTooLarge = WM_APP + 3;

}  // namespace lvn
