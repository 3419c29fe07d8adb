// Benchmark, not a test: the real lorvane.exe with a long history, driven from outside as
// the end-to-end tests drive it. Prints, as medians of three starts and of nine lookups:
//   - start-up until the grid is filled and the window answers, empty log and long log;
//   - an address change handled (record in the grid, Update enabled again) against an
//     unchanged lookup, and the longest time the window left a message unanswered during
//     the change: once as the view switches come, once with ViewCheckStart=0, where every
//     reload compacts the log (which, already compact, is not written again);
//   - start-up with a much longer log.
// The lookup page is the fault server's /lvn.php (LVN_FAULT_LOG must name its log).
//   window_bench.exe [records, default 100000] [more records, default 1000000]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"

namespace lvn::e2e {
namespace {

constexpr DWORD kLongWaitMs = 120000;

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// WaitUntil at a millisecond's resolution.
bool PollUntil(const std::function<bool()>& condition) {
  const double deadline = NowMs() + kLongWaitMs;
  while (!condition()) {
    if (NowMs() > deadline) return false;
    ::Sleep(1);
  }
  return true;
}

std::string Answer(int i) { return "[192.0.2." + std::to_string(i % 250 + 1) + "]\r\nok\r\n"; }

// A first address the settings already know, so that the first lookup records nothing.
void PrepareData(const std::string& log, int records, bool view_check_start) {
  ClearDataFolder();
  if (records > 0) WriteDataFile("log.csv", log);
  std::string ini = "[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\nInterval=3600000\r\n";
  ini.append("IpHoz=192.0.2.1\r\nPrimaryKey=").append(std::to_string(records - 1));
  ini.append("\r\nViewCheckStart=").append(view_check_start ? "1" : "0").append("\r\n");
  WriteDataFile("lvn.ini", ini);
  SetLookupAnswer(Answer(0));
}

bool Answers(HWND window, DWORD timeout_ms) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored) != 0;
}

struct Running {
  Program program;
  HWND main = nullptr;
  HWND grid = nullptr;
  HWND update = nullptr;
};

// Starts the program; the milliseconds until the grid shows records + 2 rows (the header
// and the check start) and the window answers, or a negative number when it never did.
double Start(Running* run, int shown_rows) {
  const double start = NowMs();
  if (!Program::Launch(&run->program)) return -1;
  const DWORD id = run->program.Id();
  const bool ready = PollUntil([&] {
        if (run->main == nullptr) {
          for (HWND hwnd : TopLevelWindows(id, "TfrmMain")) {
            if (::IsWindowVisible(hwnd)) run->main = hwnd;
          }
          if (run->main == nullptr) return false;
          run->grid = ::GetDlgItem(run->main, kIdMainGrid);
          run->update = ::GetDlgItem(run->main, kIdUpdate);
        }
        return GridRows(run->grid) == shown_rows && Answers(run->main, kLongWaitMs);
      });
  return ready ? NowMs() - start : -1;
}

void Exit(Running* run) {
  if (run->main != nullptr) ::PostMessageA(run->main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 0;
  if (!run->program.WaitForExit(&exit_code, kLongWaitMs)) run->program.Terminate();
}

double StartUp(const std::string& log, int records) {
  std::vector<double> runs;
  for (int i = 0; i < 3; ++i) {
    PrepareData(log, records, true);
    Running run;
    runs.push_back(Start(&run, records + 2));
    Exit(&run);
  }
  return Median(runs);
}

// While it lives, the longest time the window took to answer a message.
class Pinger {
 public:
  explicit Pinger(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            const double sent = NowMs();
            Answers(window, kLongWaitMs);
            const double took = NowMs() - sent;
            if (took > longest_) longest_ = took;
          }
        }) {}
  ~Pinger() {
    stop_ = true;
    thread_.join();
  }
  double Longest() const { return longest_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::thread thread_;
};

struct Lookups {
  double unchanged = -1, changed = -1, longest_unanswered = -1;
};

// Lookups are quick and their times uneven: more of them make a steadier median.
constexpr int kLookupRuns = 9;

// Update clicked with the same address and with a new one, kLookupRuns times each.
Lookups MeasureLookups(Running* run, int* rows) {
  std::vector<double> unchanged, changed, longest;
  static int next_address = 1;
  for (int i = 0; i < kLookupRuns; ++i) {
    SetLookupAnswer(Answer(next_address - 1));
    double start = NowMs();
    ::SendMessageA(run->update, BM_CLICK, 0, 0);
    PollUntil([&] { return ::IsWindowEnabled(run->update) != FALSE; });
    unchanged.push_back(NowMs() - start);

    SetLookupAnswer(Answer(next_address++));
    Pinger pinger(run->main);
    start = NowMs();
    ::SendMessageA(run->update, BM_CLICK, 0, 0);
    PollUntil(
        [&] { return ::IsWindowEnabled(run->update) != FALSE && GridRows(run->grid) > *rows; });
    changed.push_back(NowMs() - start);
    longest.push_back(pinger.Longest());
    *rows = GridRows(run->grid);
  }
  return {Median(unchanged), Median(changed), *std::max_element(longest.begin(), longest.end())};
}

Lookups ChangesWith(const std::string& log, int records, bool view_check_start) {
  PrepareData(log, records, view_check_start);
  Running run;
  // With check starts hidden, the grid shows the records alone.
  int rows = records + (view_check_start ? 2 : 1);
  Lookups result;
  if (Start(&run, rows) >= 0) result = MeasureLookups(&run, &rows);
  Exit(&run);
  return result;
}

void Row(const char* what, double ms, const char* versus, double base, const char* target) {
  std::printf("%-46s %9.1f ms", what, ms);
  if (versus != nullptr) std::printf("  %5.2f x %-10s", ms / base, versus);
  if (target != nullptr) std::printf("  (target %s)", target);
  std::printf("\n");
}

}  // namespace
}  // namespace lvn::e2e

int main(int argc, char** argv) {
  using namespace lvn::e2e;
  const int records = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const int more = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000000;
  if (std::getenv("LVN_FAULT_LOG") == nullptr) {
    std::fprintf(stderr, "LVN_FAULT_LOG must name the fault server's log\n");
    return 2;
  }
  const std::string log = AddressLog(records, 0);
  const std::string longer = AddressLog(more, 0);

  const double empty_start = StartUp({}, 0);
  const double long_start = StartUp(log, records);
  const Lookups plain = ChangesWith(log, records, true);
  const Lookups compacting = ChangesWith(log, records, false);

  const double longer_start = StartUp(longer, more);
  ClearDataFolder();

  std::printf("lorvane.exe under Wine, %d records (%.1f MB) and %d records (%.1f MB); "
              "medians of 3 starts and of %d lookups\n",
              records, static_cast<double>(log.size()) / 1e6, more,
              static_cast<double>(longer.size()) / 1e6, kLookupRuns);
  Row("start-up, empty log", empty_start, nullptr, 0, nullptr);
  Row("start-up, long log", long_start, "empty log", empty_start, "<= 2 x");
  Row("lookup, address unchanged", plain.unchanged, nullptr, 0, nullptr);
  Row("lookup, address changed", plain.changed, "unchanged", plain.unchanged, "<= 2 x");
  Row("  longest unanswered message", plain.longest_unanswered, nullptr, 0, "<= 250 ms");
  Row("lookup, unchanged, ViewCheckStart=0", compacting.unchanged, nullptr, 0, nullptr);
  Row("lookup, changed, ViewCheckStart=0", compacting.changed, "unchanged",
      compacting.unchanged, "<= 3 x");
  Row("  longest unanswered message", compacting.longest_unanswered, nullptr, 0, "<= 400 ms");
  Row("start-up, longer log", longer_start, "empty log", empty_start, "<= 3000 ms");
  const bool all_ran = empty_start >= 0 && long_start >= 0 && plain.changed >= 0 &&
                       compacting.changed >= 0 && longer_start >= 0;
  return all_ran ? 0 : 1;
}
