#include "notify/command_runner_win.h"

#include <windows.h>

#include <deque>
#include <mutex>  // std::lock_guard
#include <utility>

#include "history/clock_win.h"
#include "notify/command_process_win.h"
#include "notify/log_file_win.h"
#include "notify/run_queue.h"
#include "util/data_folder.h"
#include "util/scoped_win.h"
#include "util/srw_mutex_win.h"
#include "util/worker_thread_win.h"

namespace lvn {

static_assert(sizeof kCommandLogFileName - 1 + sizeof ".tmp" - 1 <= kLongestDataFileName,
              "the data folder must leave room for every file kept in it");

namespace {

constexpr DWORD kStopWaitMs = 2000;

// Appends the run's entry to command.log.
bool AppendToCommandLog(const std::string& folder, const CommandOutcome& outcome) {
  if (folder.empty()) return false;
  return AppendToBoundedLog(folder + kCommandLogFileName, CommandLogEntry(outcome));
}

}  // namespace

struct CommandRunner::Shared {
  // Guards everything up to the handles.
  SrwMutex Mutex;
  RunQueue Queue;
  std::deque<CommandOutcome> Outcomes;
  std::string Folder;
  HWND Target = nullptr;
  UINT Message = 0;
  bool Attached = false;

  // Held while command.log is read and replaced, which the runs and the refusals both do.
  SrwMutex LogMutex;
  // Set once, by Stop.
  ScopedHandle StopEvent{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  // The newest worker thread; touched only on the window's thread.
  ScopedHandle Worker;
};

// A worker thread's work: Request, then whatever the queue gives it next.
struct CommandRunner::WorkerStart {
  std::shared_ptr<Shared> State;
  RunRequest Request;
  void operator()() noexcept;
};

// Shares only Shared, which outlives whichever of the runner and the thread ends last.
void CommandRunner::WorkerStart::operator()() noexcept {
  Shared& shared = *State;
  std::optional<RunRequest> request = std::move(Request);
  while (request) {
    try {
      std::string folder;
      {
        const std::lock_guard lock(shared.Mutex);
        folder = shared.Folder;
      }
      CommandOutcome outcome = RunCommandProcess(*request, folder, shared.StopEvent.Get());
      {
        const std::lock_guard log_lock(shared.LogMutex);
        outcome.Logged = AppendToCommandLog(folder, outcome);
      }
      HWND target = nullptr;
      UINT message = 0;
      {
        const std::lock_guard lock(shared.Mutex);
        shared.Outcomes.push_back(std::move(outcome));
        target = shared.Target;
        message = shared.Message;
      }
      // Only "look": a window that is gone makes this fail, and nothing else happens.
      if (target != nullptr) ::PostMessageW(target, message, 0, 0);
    } catch (...) {
      // Only memory can run out here; the run's outcome is lost, the queue goes on.
    }
    const std::lock_guard lock(shared.Mutex);
    request = shared.Queue.Next();
  }
}

// A refusal's entry on its way to command.log.
struct CommandRunner::RefusalStart {
  std::shared_ptr<Shared> State;
  CommandOutcome Outcome;
  void operator()() noexcept;
};

void CommandRunner::RefusalStart::operator()() noexcept {
  Shared& shared = *State;
  try {
    std::string folder;
    {
      const std::lock_guard lock(shared.Mutex);
      folder = shared.Folder;
    }
    const std::lock_guard log_lock(shared.LogMutex);
    AppendToCommandLog(folder, Outcome);
  } catch (...) {
    // Only memory can run out here; the entry is lost.
  }
}

CommandRunner::CommandRunner() : shared_(std::make_shared<Shared>()) {}

CommandRunner::~CommandRunner() { Stop(); }

void CommandRunner::Attach(const char* data_folder, HWND target, UINT message) {
  const std::lock_guard lock(shared_->Mutex);
  shared_->Folder = data_folder;
  shared_->Target = target;
  shared_->Message = message;
  shared_->Attached = true;
}

void CommandRunner::Request(const ChangeCommand& command, int32_t timeout_s) {
  Start(command, timeout_s, false);
}

void CommandRunner::RunTest(const ChangeCommand& command, int32_t timeout_s) {
  Start(command, timeout_s, true);
}

void CommandRunner::Start(const ChangeCommand& command, int32_t timeout_s, bool test) {
  std::optional<RunRequest> now;
  {
    const std::lock_guard lock(shared_->Mutex);
    if (!shared_->Attached) return;
    now = shared_->Queue.Add({command, timeout_s, test});
  }
  if (!now) return;
  WorkerStart start{shared_, std::move(*now)};
  if (std::optional<ScopedHandle> thread = StartWorkerThread(&start)) {
    shared_->Worker = std::move(*thread);
    return;
  }
  const DWORD error = ::GetLastError();
  // No thread to run it: it ends here, unlogged, since the log is written off this thread.
  CommandOutcome outcome;
  outcome.Test = test;
  outcome.Line = std::move(start.Request.Command.Line);
  outcome.Started = CurrentLocalTime();
  outcome.Reason = SystemMessage(error);
  HWND target = nullptr;
  UINT message = 0;
  {
    const std::lock_guard lock(shared_->Mutex);
    shared_->Outcomes.push_back(std::move(outcome));
    // Nothing waits: it came in as the only request.
    shared_->Queue.Next();
    target = shared_->Target;
    message = shared_->Message;
  }
  if (target != nullptr) ::PostMessageW(target, message, 0, 0);
}

void CommandRunner::LogRefusal(const std::string& command, CommandRefusal refusal) {
  // Logged as a run that could not start, with the reason in the program's words.
  CommandOutcome outcome;
  outcome.Line = command;
  outcome.Started = CurrentLocalTime();
  outcome.Reason = RefusalText(refusal);
  RefusalStart start{shared_, std::move(outcome)};
  // The thread runs on without its handle; with no thread, the entry is lost.
  StartWorkerThread(&start);
}

std::optional<CommandOutcome> CommandRunner::TakeOutcome() {
  const std::lock_guard lock(shared_->Mutex);
  if (shared_->Outcomes.empty()) return std::nullopt;
  CommandOutcome outcome = std::move(shared_->Outcomes.front());
  shared_->Outcomes.pop_front();
  return outcome;
}

void CommandRunner::Stop() {
  {
    const std::lock_guard lock(shared_->Mutex);
    shared_->Queue.Close();
  }
  ::SetEvent(shared_->StopEvent.Get());
  if (shared_->Worker) ::WaitForSingleObject(shared_->Worker.Get(), kStopWaitMs);
}

}  // namespace lvn
