// Rewrites log.csv in FOLDER over and over, each time without its first record, until it
// is killed (or a minute has passed, so that a crashed test leaves nothing behind).
//   log_rewriter.exe FOLDER\   (with the trailing backslash)
#include <windows.h>

#include "history/history_state.h"
#include "history/log_win.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  lvn::HistoryState state;
  const ULONGLONG deadline = ::GetTickCount64() + 60000;
  while (::GetTickCount64() < deadline) {
    lvn::Log(argv[1], &state).RemoveRange(0, 0, lvn::ViewSwitches{});
  }
  return 0;
}
