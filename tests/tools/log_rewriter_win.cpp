// Rewrites log.csv in FOLDER over and over, each time without its first record, until it
// is killed (or a minute has passed, so that a crashed test leaves nothing behind).
//   log_rewriter.exe FOLDER\   (with the trailing backslash)
#include <windows.h>

#include "history/history_state.h"
#include "history/log_win.h"
#include "tool_arguments_win.h"

int main() {
  const std::vector<std::string> arguments = lvn::tools::Arguments();
  if (arguments.empty()) return 2;
  lvn::HistoryState state;
  const ULONGLONG deadline = ::GetTickCount64() + 60000;
  while (::GetTickCount64() < deadline) {
    lvn::Log(arguments[0].c_str(), &state).RemoveRange(0, 0, lvn::ViewSwitches{});
  }
  return 0;
}
