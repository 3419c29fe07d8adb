// The main window's own messages, all in one reserved WM_APP range, and its timers: a
// message or timer the window handles is declared here, so that no two parts take one id.
#pragma once

#include <windows.h>

namespace lvn {

// Any program on the desktop can send these: none carries a pointer or data the window
// keeps, and each acts only on what the main window itself asked for.

// Posted by the lookup worker: its result is in the window's LookupWorker (TakeResult).
// Without a result there, the message does nothing.
inline constexpr UINT kMsgLookupResult = WM_APP + 1;
// Posted by the main window to itself: give the grid the focus once the window shows.
inline constexpr UINT kMsgFocusGrid = WM_APP + 2;
// Posted by the main window to itself when the history is too large to read: tell the
// user, from the message loop rather than from inside a reload.
inline constexpr UINT kMsgHistoryTooLarge = WM_APP + 3;
// Sent by the hidden edit TaskTrayIbent for each notification of the tray icon, with the
// mouse message in lParam, as the system passed it.
inline constexpr UINT kMsgTrayNotification = WM_APP + 4;
// Posted when the options window was destroyed: its object can go now that none of its
// code runs.
inline constexpr UINT kMsgOptionWindowClosed = WM_APP + 5;
// Posted by the change command's runner: a run ended, its outcome waits in the runner.
inline constexpr UINT kMsgCommandEnded = WM_APP + 6;
// Posted by the network watcher: an address or interface of this PC changed.
inline constexpr UINT kMsgNetworkChanged = WM_APP + 7;
// Posted by an update target's send: it ended, its result waits in the runner.
inline constexpr UINT kMsgUpdateEnded = WM_APP + 8;

// The main window's timers (WM_TIMER ids).
enum MainWindowTimer : UINT_PTR {
  kTimerPeriod = 1,       // the periodic check
  kTimerLookupLimit = 2,  // set by the lookup worker while the window waits for it
  kTimerSettle = 3,       // the check after a burst of network events
  kTimerRetry = 4,        // the retry of a failure held in the grace
  kTimerUpdateRetry = 5,  // the next retry of an update target's failed send
};

}  // namespace lvn
