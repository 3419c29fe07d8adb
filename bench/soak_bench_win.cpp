// Do a thousand lookups leave the program as they found it? Clicks Update on a running
// lorvane.exe COUNT times, each time waiting for the lookup to reach the server and its
// result to be handled, and prints memory, handles and GDI and USER objects before and
// after: soak_bench.exe COUNT ACCESS_LOG (the lookup server's access log, a Windows path).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "windows/main/main_window_ids.h"

namespace {

struct Figures {
  SIZE_T private_bytes = 0;
  SIZE_T working_set = 0;
  DWORD handles = 0;
  DWORD gdi_objects = 0;
  DWORD user_objects = 0;
};

Figures Measure(HANDLE process) {
  Figures f;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
    f.private_bytes = memory.PrivateUsage;
    f.working_set = memory.WorkingSetSize;
  }
  ::GetProcessHandleCount(process, &f.handles);
  f.gdi_objects = ::GetGuiResources(process, GR_GDIOBJECTS);
  f.user_objects = ::GetGuiResources(process, GR_USEROBJECTS);
  return f;
}

long CountLines(const char* path) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  long lines = 0;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) lines += buffer[i] == '\n';
  }
  ::CloseHandle(file);
  return lines;
}

bool WaitFor(bool (*condition)(HWND, const char*, long), HWND hwnd, const char* log, long n) {
  for (int i = 0; i < 10000; ++i) {
    if (condition(hwnd, log, n)) return true;
    ::Sleep(1);
  }
  return false;
}

void Print(const char* label, const Figures& f) {
  std::printf("%-7s private %8.2f MiB  working set %8.2f MiB  handles %5lu  GDI %5lu  USER %5lu\n",
              label, static_cast<double>(f.private_bytes) / 1048576.0,
              static_cast<double>(f.working_set) / 1048576.0, f.handles, f.gdi_objects,
              f.user_objects);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int count = std::atoi(argv[1]);
  const char* access_log = argv[2];
  HWND main = ::FindWindowA("TfrmMain", nullptr);
  if (main == nullptr) return 3;
  HWND update = ::GetDlgItem(main, lvn::kIdUpdate);
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(main, &process_id);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
  if (process == nullptr) return 4;

  const auto enabled = [](HWND button, const char*, long) { return ::IsWindowEnabled(button) != FALSE; };
  const auto served = [](HWND, const char* log, long before) { return CountLines(log) > before; };
  WaitFor(enabled, update, access_log, 0);
  const Figures before = Measure(process);
  const DWORD start = ::GetTickCount();
  int done = 0;
  while (done < count) {
    const long requests = CountLines(access_log);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(update, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    // A click while the last worker is still ending is dropped, as it should be: try again.
    if (!WaitFor(served, update, access_log, requests)) continue;
    if (!WaitFor(enabled, update, access_log, 0)) break;
    ++done;
  }
  const double seconds = static_cast<double>(::GetTickCount() - start) / 1000.0;
  // Let the last worker free itself before measuring.
  ::Sleep(500);
  const Figures after = Measure(process);
  std::printf("%d lookups in %.1f s (%.1f ms each)\n", done, seconds, seconds * 1000.0 / done);
  Print("before", before);
  Print("after", after);
  std::printf("change  private %+8.2f MiB  handles %+5ld  GDI %+5ld  USER %+5ld\n",
              (static_cast<double>(after.private_bytes) - static_cast<double>(before.private_bytes)) / 1048576.0,
              static_cast<long>(after.handles) - static_cast<long>(before.handles),
              static_cast<long>(after.gdi_objects) - static_cast<long>(before.gdi_objects),
              static_cast<long>(after.user_objects) - static_cast<long>(before.user_objects));
  ::CloseHandle(process);
  return done == count ? 0 : 1;
}
