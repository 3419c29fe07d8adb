// The change command's runner with record_run.exe standing in for the command: what the
// command gets, what the window and command.log get, and how a run ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "notify/change_command.h"
#include "notify/command_log.h"
#include "notify/command_runner_win.h"
#include "test_paths.h"
#include "util/scoped_win.h"

namespace lvn {
namespace {

constexpr UINT kMsgOutcome = WM_APP + 1;
const std::string kIp = "203.0.113.9";

// A hidden window on the test's thread, standing in for the main window: each message
// makes it take an outcome, as the window does.
class OutcomeWindow {
 public:
  explicit OutcomeWindow(const test::TempFolder& data) {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &OutcomeWindow::Proc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = "LvnOutcomeWindow";
      return ::RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    hwnd_ = ::CreateWindowExA(0, "LvnOutcomeWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    runner.Attach(data.Path().c_str(), hwnd_, kMsgOutcome);
  }
  ~OutcomeWindow() { ::DestroyWindow(hwnd_); }
  OutcomeWindow(const OutcomeWindow&) = delete;
  OutcomeWindow& operator=(const OutcomeWindow&) = delete;

  CommandRunner runner;
  std::vector<CommandOutcome> outcomes;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<OutcomeWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == kMsgOutcome && self != nullptr) {
      if (auto outcome = self->runner.TakeOutcome()) self->outcomes.push_back(std::move(*outcome));
      return 0;
    }
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
};

using test::PumpUntil;

// path in double quotes. (Built by appending: GCC 12 warns wrongly of an overlap in
// "literal" + string.)
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  quoted += path;
  quoted += '"';
  return quoted;
}

const std::string& Tool() {
  static const std::string tool = Quoted(test::ExecutableFolder() + "record_run.exe");
  return tool;
}

ChangeCommand Command(const std::string& command, const std::string& ip,
                      const std::string& old_ip = "") {
  ChangeCommand prepared;
  EXPECT_EQ(PrepareChangeCommand(command, ip, old_ip, &prepared), CommandRefusal::kNone);
  return prepared;
}

// The lines of runs.txt in the data folder that start with prefix, without it.
std::vector<std::string> Recorded(const test::TempFolder& data, std::string_view prefix) {
  std::vector<std::string> found;
  std::istringstream lines(test::ReadFileBytes(data.File("runs.txt")));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
  }
  return found;
}

// Whether the process is gone, given ten seconds to go.
bool ProcessEnds(DWORD id) {
  const ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
  return !process || ::WaitForSingleObject(process.Get(), 10000) == WAIT_OBJECT_0;
}

std::vector<std::string> LogEntries(const test::TempFolder& data) {
  const std::string log = test::ReadFileBytes(data.File(kCommandLogFileName));
  std::vector<std::string> entries;
  for (const std::string_view entry : SplitCommandLog(log)) entries.emplace_back(entry);
  return entries;
}

TEST(CommandRunner, RunsTheCommandAndLogsHowItEnded) {
  const test::TempFolder data;
  OutcomeWindow window(data);
  const std::string folder = data.Path().substr(0, data.Path().size() - 1);
  std::string digits;
  for (std::size_t i = 0; i < kKeptOutputBytes; ++i) digits += static_cast<char>('0' + i % 10);
  const struct {
    std::string command, old_ip;
    int32_t timeout_s;
    RunEnd end;
    uint32_t exit_code;
    std::string output;
    bool cut;
    std::string recorded;  // its line in runs.txt after "run\t"; empty for none
  } cases[] = {
      {Tool() + R"( "%IP%" x%oldip%y "a b" print:hello error:oops exit:3)", "2001:db8::1", 30,
       RunEnd::kExited, 3, "hello\r\noops\r\n", false,
       folder + "\t" + kIp + "\t2001:db8::1\t" + kIp + "\tx2001:db8::1y\ta b\tprint:hello\t" +
           "error:oops\texit:3"},
      {Tool() + " bytes:5000", "", 30, RunEnd::kExited, 0, digits, true,
       folder + "\t" + kIp + "\t\tbytes:5000"},
      {Tool() + " print:started child hang", "", 1, RunEnd::kTimedOut, 0, "started\r\n", false,
       folder + "\t" + kIp + "\t\tprint:started\tchild\thang"},
      {Quoted(data.File("missing.exe")) + " %IP%", "", 30, RunEnd::kNotStarted, 0, "", false, ""},
  };
  std::vector<std::string> recorded;
  for (const auto& c : cases) {
    window.runner.Request(Command(c.command, kIp, c.old_ip), c.timeout_s);
    const std::size_t before = window.outcomes.size();
    ASSERT_TRUE(PumpUntil([&] { return window.outcomes.size() > before; })) << c.command;
    const CommandOutcome& got = window.outcomes.back();
    EXPECT_EQ(got.End, c.end) << c.command;
    EXPECT_EQ(got.ExitCode, c.exit_code) << c.command;
    EXPECT_EQ(got.Output, c.output) << c.command;
    EXPECT_EQ(got.OutputCut, c.cut) << c.command;
    EXPECT_EQ(got.Reason.empty(), c.end != RunEnd::kNotStarted) << got.Reason;
    EXPECT_FALSE(got.Test);
    EXPECT_TRUE(got.Logged);
    if (c.end == RunEnd::kTimedOut) {
      EXPECT_GE(got.Milliseconds, 1000u);
      EXPECT_LT(got.Milliseconds, 5000u);
    }
    if (!c.recorded.empty()) recorded.push_back(c.recorded);
  }
  EXPECT_EQ(Recorded(data, "run\t"), recorded);
  // The hanging child of the run that timed out went with it.
  const std::vector<std::string> children = Recorded(data, "child\t");
  ASSERT_EQ(children.size(), 1u);
  EXPECT_TRUE(ProcessEnds(static_cast<DWORD>(std::stoul(children[0]))));

  std::vector<std::string> logged;
  for (const CommandOutcome& outcome : window.outcomes) logged.push_back(CommandLogEntry(outcome));
  EXPECT_EQ(LogEntries(data), logged);
}

// Requests that come while one runs: the newest change runs next, then the test, which
// no change displaced; nothing else runs.
TEST(CommandRunner, RequestsWhileOneRunsCoalesce) {
  const test::TempFolder data;
  OutcomeWindow window(data);
  const std::string gate_name = "lvn_command_gate_" + std::to_string(::GetCurrentProcessId());
  const ScopedHandle gate(::CreateEventA(nullptr, TRUE, FALSE, gate_name.c_str()));
  ASSERT_TRUE(gate);
  const std::string command = Tool() + " %IP% wait:" + gate_name;
  window.runner.Request(Command(command, "198.51.100.1"), 30);
  window.runner.Request(Command(command, "198.51.100.2"), 30);
  window.runner.RunTest(Command(command, "198.51.100.9"), 30);
  window.runner.Request(Command(command, "198.51.100.3"), 30);
  window.runner.Request(Command(command, "198.51.100.4"), 30);
  ::SetEvent(gate.Get());
  ASSERT_TRUE(PumpUntil([&] { return window.outcomes.size() == 3; }));
  window.runner.Stop();
  ASSERT_TRUE(PumpUntil([] { return true; }));

  std::vector<std::string> ran;
  for (const CommandOutcome& outcome : window.outcomes) {
    EXPECT_EQ(outcome.End, RunEnd::kExited);
    EXPECT_EQ(outcome.ExitCode, 0u);
    ran.push_back((outcome.Test ? "test " : "") + outcome.Line.substr(Tool().size() + 1, 12));
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"198.51.100.1", "198.51.100.4", "test 198.51.100.9"}));
  EXPECT_EQ(Recorded(data, "run\t").size(), 3u);
  EXPECT_EQ(LogEntries(data).size(), 3u);
}

TEST(CommandRunner, StopEndsTheRunningTreeAndLogsIt) {
  const test::TempFolder data;
  OutcomeWindow window(data);
  window.runner.Request(Command(Tool() + " child hang", kIp), 600);
  ASSERT_TRUE(PumpUntil([&] { return !Recorded(data, "child\t").empty(); }));

  const ULONGLONG before = ::GetTickCount64();
  window.runner.Stop();
  const ULONGLONG took = ::GetTickCount64() - before;
  EXPECT_LT(took, 2000u) << "Stop gave up waiting for the worker";
  const std::optional<CommandOutcome> outcome = window.runner.TakeOutcome();
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->End, RunEnd::kEndedAtExit);
  EXPECT_TRUE(outcome->Logged);
  EXPECT_EQ(LogEntries(data), std::vector<std::string>{CommandLogEntry(*outcome)});
  EXPECT_TRUE(ProcessEnds(static_cast<DWORD>(std::stoul(Recorded(data, "child\t")[0]))));

  // Nothing runs after Stop: a run started anyway would be ended and logged by this one.
  window.runner.Request(Command(Tool(), kIp), 30);
  window.runner.Stop();
  EXPECT_FALSE(window.runner.TakeOutcome());
  EXPECT_EQ(LogEntries(data).size(), 1u);
}

}  // namespace
}  // namespace lvn
