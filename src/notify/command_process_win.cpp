#include "notify/command_process_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>
#include <vector>

#include "history/clock_win.h"
#include "notify/program_search_win.h"
#include "notify/run_environment_win.h"
#include "settings/notify_settings.h"
#include "util/scoped_win.h"
#include "util/text.h"
#include "util/texts.h"
#include "util/wide_text_win.h"

namespace lvn {

std::string SystemMessage(DWORD error) {
  wchar_t text[1024] = L"";
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, std::size(text), nullptr);
  const std::string utf8 = Utf8Of(std::wstring_view(text, length));
  const std::string_view message = TrimBlanks(utf8);
  return message.empty() ? std::to_string(error) : std::string(message);
}

namespace {

// After a run has ended, or was ended, what it wrote is read on for at most this long;
// every process of its tree is ended by then, so the pipe closes at once.
constexpr DWORD kDrainMs = 1000;
constexpr DWORD kPipeBufferBytes = 4096;

// A kernel32 attribute list, deleted on every path once initialised.
class AttributeList {
 public:
  AttributeList() = default;
  AttributeList(const AttributeList&) = delete;
  AttributeList& operator=(const AttributeList&) = delete;
  ~AttributeList() {
    if (initialized_) ::DeleteProcThreadAttributeList(Get());
  }
  bool Initialize(DWORD count) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, count, 0, &size);
    storage_.resize(size);
    initialized_ = size != 0 && ::InitializeProcThreadAttributeList(Get(), count, 0, &size);
    return initialized_;
  }
  LPPROC_THREAD_ATTRIBUTE_LIST Get() {
    return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
  }

 private:
  std::vector<unsigned char> storage_;
  bool initialized_ = false;
};

// A pipe for the run's output and error streams: *reader is ours, overlapped, so that the
// worker can wait for output, the process and the time limit at once (an anonymous pipe
// cannot); *writer is the child's, inheritable.
bool MakeOutputPipe(ScopedHandle* reader, ScopedHandle* writer) {
  static LONG counter = 0;
  // std::to_wstring would bring the C library's whole wide printf into the program.
  const std::wstring name = Wide("\\\\.\\pipe\\lorvane-command-" +
                                 std::to_string(::GetCurrentProcessId()) + "-" +
                                 std::to_string(::InterlockedIncrement(&counter)));
  // One instance, and the first: nobody else can be at either end.
  ScopedHandle server(::CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
      kPipeBufferBytes, 0, nullptr));
  if (!server) return false;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  ScopedHandle client(::CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inherit,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!client) return false;
  *reader = std::move(server);
  *writer = std::move(client);
  return true;
}

struct StartedRun {
  ScopedHandle Job;
  ScopedHandle Process;
  ScopedHandle Output;
};

// Starts the command suspended, puts it into a job that ends its whole tree, and lets it
// run. ERROR_SUCCESS, or the system's error with nothing left running.
DWORD StartRun(const ChangeCommand& command, std::wstring line, const std::string& folder,
               StartedRun* run) {
  std::wstring wide_folder, environment;
  if (!WideOfUtf8Strict(folder, &wide_folder) || !RunEnvironment(command, &environment)) {
    return ::GetLastError();
  }
  ScopedHandle job(::CreateJobObjectW(nullptr, nullptr));
  if (!job) return ::GetLastError();
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  // A crash ends the process at once instead of waiting on an error dialog until the limit.
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
    return ::GetLastError();
  }
  ScopedHandle output, writer;
  if (!MakeOutputPipe(&output, &writer)) return ::GetLastError();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  ScopedHandle nul(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!nul) return ::GetLastError();
  // The child inherits these two and nothing else this process may hold inheritable.
  HANDLE inherited[] = {writer.Get(), nul.Get()};
  AttributeList attributes;
  if (!attributes.Initialize(1) ||
      !::UpdateProcThreadAttribute(attributes.Get(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                   inherited, sizeof inherited, nullptr, nullptr)) {
    return ::GetLastError();
  }
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nul.Get();
  startup.StartupInfo.hStdOutput = writer.Get();
  startup.StartupInfo.hStdError = writer.Get();
  startup.lpAttributeList = attributes.Get();
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT |
                            EXTENDED_STARTUPINFO_PRESENT,
                        environment.data(), wide_folder.empty() ? nullptr : wide_folder.c_str(),
                        &startup.StartupInfo, &info)) {
    return ::GetLastError();
  }
  ScopedHandle process(info.hProcess), thread(info.hThread);
  if (!::AssignProcessToJobObject(job.Get(), process.Get()) ||
      ::ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
    const DWORD error = ::GetLastError();
    ::TerminateProcess(process.Get(), 1);
    return error;
  }
  run->Job = std::move(job);
  run->Process = std::move(process);
  run->Output = std::move(output);
  return ERROR_SUCCESS;
}

// Reads the run's output with one overlapped read at a time, keeping the first
// kKeptOutputBytes; the rest is read and dropped, so that the child never blocks on a full
// pipe. A read still pending at the end is cancelled before its buffer goes.
class OutputReader {
 public:
  OutputReader(HANDLE pipe, CommandOutcome* outcome)
      : pipe_(pipe), event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), outcome_(outcome) {}
  OutputReader(const OutputReader&) = delete;
  OutputReader& operator=(const OutputReader&) = delete;
  ~OutputReader() {
    if (!pending_) return;
    ::CancelIoEx(pipe_, &overlapped_);
    DWORD got = 0;
    ::GetOverlappedResult(pipe_, &overlapped_, &got, TRUE);
  }

  HANDLE Event() const { return event_.Get(); }

  // False when the pipe has closed: every process that could write to it has gone.
  bool Start() {
    if (!event_) return false;
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.Get();
    // Done at once or pending, the event is set when the bytes are in.
    pending_ = ::ReadFile(pipe_, buffer_, sizeof buffer_, nullptr, &overlapped_) ||
               ::GetLastError() == ERROR_IO_PENDING;
    return pending_;
  }

  // Once Event is set: keeps what came and starts the next read.
  bool Collect() {
    DWORD got = 0;
    const bool read = ::GetOverlappedResult(pipe_, &overlapped_, &got, FALSE);
    pending_ = false;
    if (!read) return false;
    std::string& output = outcome_->Output;
    const std::size_t room = kKeptOutputBytes - std::min(output.size(), kKeptOutputBytes);
    output.append(buffer_, std::min<std::size_t>(room, got));
    if (got > room) outcome_->OutputCut = true;
    return Start();
  }

 private:
  HANDLE pipe_;
  ScopedHandle event_;
  CommandOutcome* outcome_;
  OVERLAPPED overlapped_{};
  char buffer_[kPipeBufferBytes];
  bool pending_ = false;
};

// Waits for the run to end, by itself, at the time limit or at stop, reading its output
// meanwhile; whatever is left of its tree is ended with it.
void Supervise(const StartedRun& run, ULONGLONG started_ms, DWORD limit_ms, HANDLE stop,
               CommandOutcome* outcome) {
  OutputReader reader(run.Output.Get(), outcome);
  bool reading = reader.Start();
  bool ended = false;
  ULONGLONG deadline = started_ms + limit_ms;
  const auto end_tree = [&](RunEnd end) {
    ::TerminateJobObject(run.Job.Get(), 1);
    outcome->End = end;
    ended = true;
    const ULONGLONG now = ::GetTickCount64();
    outcome->Milliseconds =
        static_cast<uint32_t>(std::min<ULONGLONG>(now - started_ms, UINT32_MAX));
    deadline = now + kDrainMs;
  };
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    // Checked here, not only by the wait: a steady stream of output never lets it time out.
    if (now >= deadline) {
      if (ended) break;
      end_tree(RunEnd::kTimedOut);
      continue;
    }
    if (ended && !reading) break;
    HANDLE handles[3];
    DWORD count = 0;
    // After the end only the output is read, so that a stop still gets what was written.
    if (!ended) {
      handles[count++] = stop;
      handles[count++] = run.Process.Get();
    }
    if (reading) handles[count++] = reader.Event();
    const DWORD waited =
        ::WaitForMultipleObjects(count, handles, FALSE, static_cast<DWORD>(deadline - now));
    if (waited == WAIT_TIMEOUT) continue;
    if (waited >= WAIT_OBJECT_0 + count) {
      // Not with these handles; should it happen, the run ends as at its limit.
      if (!ended) end_tree(RunEnd::kTimedOut);
      break;
    }
    const HANDLE signalled = handles[waited - WAIT_OBJECT_0];
    if (signalled == stop) {
      end_tree(RunEnd::kEndedAtExit);
    } else if (signalled == run.Process.Get()) {
      DWORD code = 0;
      ::GetExitCodeProcess(run.Process.Get(), &code);
      // What it left running goes with it, which also closes their ends of the pipe.
      end_tree(RunEnd::kExited);
      outcome->ExitCode = code;
    } else {
      reading = reader.Collect();
    }
  }
}

}  // namespace

CommandOutcome RunCommandProcess(const RunRequest& request, const std::string& folder, HANDLE stop) {
  CommandOutcome outcome;
  outcome.Test = request.Test;
  outcome.Line = request.Command.Line;
  outcome.Started = CurrentLocalTime();
  // A run whose turn came after Stop is not started only to be ended.
  if (::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) {
    outcome.End = RunEnd::kEndedAtExit;
    return outcome;
  }
  const ULONGLONG started_ms = ::GetTickCount64();
  StartedRun run;
  std::wstring line;
  DWORD error = ERROR_SUCCESS;
  // A zero byte would end the line the process sees before the line the log shows.
  if (request.Command.Line.find('\0') != std::string::npos) {
    error = ERROR_INVALID_PARAMETER;
  } else if (!WideOfUtf8Strict(request.Command.Line, &line)) {
    error = ERROR_NO_UNICODE_TRANSLATION;
  } else if (!ResolveProgram(&line)) {
    outcome.Reason = texts::Ui().CommandProgramNotFound;
    error = ERROR_FILE_NOT_FOUND;
  } else {
    outcome.Line = Utf8Of(line);
    error = StartRun(request.Command, std::move(line), folder, &run);
  }
  if (error != ERROR_SUCCESS) {
    outcome.End = RunEnd::kNotStarted;
    if (outcome.Reason.empty()) outcome.Reason = SystemMessage(error);
    outcome.Milliseconds =
        static_cast<uint32_t>(std::min<ULONGLONG>(::GetTickCount64() - started_ms, UINT32_MAX));
    return outcome;
  }
  const int32_t limit_s =
      std::clamp(request.TimeoutSeconds, kMinCommandTimeout, kMaxCommandTimeout);
  Supervise(run, started_ms, static_cast<DWORD>(limit_s) * 1000, stop, &outcome);
  return outcome;
}


}  // namespace lvn
