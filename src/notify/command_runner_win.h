// Runs the change command: one run at a time on a thread of its own, in a job object so
// that its whole process tree can be ended, each run logged to command.log in the data
// folder. Changes that come while a run goes on are coalesced: the latest runs next.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "notify/change_command.h"
#include "notify/command_log.h"

namespace lvn {

// Lives on the window's thread; every member function is called there and returns at once.
class CommandRunner {
 public:
  CommandRunner();
  ~CommandRunner();  // Stop()
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // data_folder: the runs' working folder and command.log's folder. Each ended run posts
  // message to target; TakeOutcome then gives its outcome.
  void Attach(const char* data_folder, HWND target, UINT message);
  // Runs command now, or after the run that goes on (replacing any that waited).
  void Request(const ChangeCommand& command, int32_t timeout_s);
  // The same, for the options window's test: its outcome has Test set.
  void RunTest(const ChangeCommand& command, int32_t timeout_s);
  std::optional<CommandOutcome> TakeOutcome();
  // At exit: a waiting run is dropped, a running one is ended with its tree and logged.
  // Waits at most 2 s.
  void Stop();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace lvn
