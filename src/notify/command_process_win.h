// One run of the change command: started with its environment and working folder in a job
// object that ends its whole tree, watched until it ends, reaches its time limit or is
// stopped, with the first bytes it wrote kept. Blocks: it runs on the runner's thread.
#pragma once

#include <windows.h>

#include <string>

#include "notify/command_log.h"
#include "notify/run_queue.h"

namespace lvn {

// folder: the working folder ("" for ours). stop: an event that, once set, ends the run
// with its tree; a run whose turn comes after it is not started.
CommandOutcome RunCommandProcess(const RunRequest& request, const std::string& folder, HANDLE stop);

// The system's words for error, without the line end it comes with; the number when it
// has none.
std::string SystemMessage(DWORD error);

}  // namespace lvn
