// Which run of the change command starts when. One runs at a time; while it runs, the
// newest change waits, and so does the newest test. A test never displaces a waiting
// change, which would lose an update, nor a change a waiting test, whose window waits for
// its outcome; the change runs first.
#pragma once

#include <cstdint>
#include <optional>

#include "notify/change_command.h"

namespace lvn {

struct RunRequest {
  ChangeCommand Command;
  int32_t TimeoutSeconds = 0;
  bool Test = false;
};

// Not thread-safe: its owner guards it.
class RunQueue {
 public:
  // request, to start now; or nothing, when it waits for the run that goes on or the queue
  // is closed.
  std::optional<RunRequest> Add(RunRequest request);
  // The run that went on has ended: the waiting request to start now, or nothing.
  std::optional<RunRequest> Next();
  // At exit: drops the waiting requests and every later one.
  void Close();

 private:
  bool running_ = false;
  bool closed_ = false;
  std::optional<RunRequest> change_;
  std::optional<RunRequest> test_;
};

}  // namespace lvn
