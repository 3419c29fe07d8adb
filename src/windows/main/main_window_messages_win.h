// The program's own window messages, all in one reserved WM_APP range.
#pragma once

#include <windows.h>

namespace lvn {

// Any program on the desktop can send these: none carries data, and each acts only on
// what the main window itself asked for.

// Posted by the lookup worker to the main window: its result is in the window's
// LookupWorker (TakeResult). Without a result there, the message does nothing.
inline constexpr UINT kMsgLookupResult = WM_APP + 1;
// Posted by the main window to itself: give the grid the focus once the window shows.
inline constexpr UINT kMsgFocusGrid = WM_APP + 2;
// Posted by the main window to itself when the history is too large to read: tell the
// user, from the message loop rather than from inside a reload.
inline constexpr UINT kMsgHistoryTooLarge = WM_APP + 3;

}  // namespace lvn
