// Runs the change command: one run at a time on a thread of its own, in a job object so
// that its whole process tree can be ended, each run logged to command.log in the data
// folder. Changes that come while a run goes on are coalesced: the latest runs next (see
// RunQueue). No message carries an outcome: the window is told to look, and takes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "notify/change_command.h"
#include "notify/command_log.h"

namespace lvn {

// Lives on the window's thread; every member function is called there and returns at once,
// but for Stop.
class CommandRunner {
 public:
  CommandRunner();
  ~CommandRunner();  // Stop()
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // data_folder, ending in "\": the runs' working folder and command.log's folder. Each
  // ended run posts message to target; TakeOutcome then gives its outcome. Nothing runs
  // before Attach.
  void Attach(const char* data_folder, HWND target, UINT message);
  // Runs command now, or after the run that goes on (replacing the change that waited).
  // timeout_s is brought within 1 to 600 s.
  void Request(const ChangeCommand& command, int32_t timeout_s);
  // The same, for the options window's test: its outcome has Test set. It waits beside a
  // waiting change, not in its place, and runs after it.
  void RunTest(const ChangeCommand& command, int32_t timeout_s);
  // The oldest outcome not yet taken; nothing when none waits.
  std::optional<CommandOutcome> TakeOutcome();
  // Logs a change whose command does not run, and why, from a thread of its own.
  void LogRefusal(const std::string& command, CommandRefusal refusal);
  // At exit: waiting runs are dropped, a running one is ended with its tree and logged,
  // and nothing runs after. Waits at most 2 s.
  void Stop();

 private:
  struct Shared;
  struct WorkerStart;
  struct RefusalStart;
  void Start(const ChangeCommand& command, int32_t timeout_s, bool test);

  std::shared_ptr<Shared> shared_;
};

}  // namespace lvn
