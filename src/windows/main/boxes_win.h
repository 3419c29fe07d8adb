// The message boxes the main window shows for what the core folders report.
#pragma once

#include <windows.h>

#include "notify/notifier_win.h"

namespace lvn {

// The title, "Ver:" and the program's file version, and the copyright notice.
void ShowVersionBox(HWND owner);
// A change command's test: owned by the active window, where the test was asked for, or
// by fallback_owner when the program has none.
void ShowCommandTestReport(HWND fallback_owner, const CommandTestReport& report);

}  // namespace lvn
