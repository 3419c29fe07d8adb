// Stands in for the programs the shell opens folders, pages and web addresses with, in the
// end-to-end tests' Wine prefix: appends what it was asked to open, a line each in UTF-8, to
// opened.txt beside itself.
//   open_recorder.exe "WHAT"
#include <windows.h>

#include <string>

#include "tool_arguments_win.h"

// A windowed program, so that starting it opens no console that would take the focus.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::wstring log = lvn::tools::SelfPath();
  log = log.substr(0, log.find_last_of(L'\\') + 1) + L"opened.txt";
  HANDLE file = ::CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  // The command line as written, not as argv parses it: a quoted folder ends in "\",
  // which argv would take for an escaped quote.
  std::wstring what = ::GetCommandLineW();
  const std::size_t program_end =
      what[0] == L'"' ? what.find(L'"', 1) + 1 : what.find(L' ');
  what = program_end == std::wstring::npos ? std::wstring() : what.substr(program_end);
  while (!what.empty() && what.front() == L' ') what.erase(0, 1);
  if (what.size() >= 2 && what.front() == L'"' && what.back() == L'"') {
    what = what.substr(1, what.size() - 2);
  }
  const std::string line = lvn::Utf8Of(what) + "\n";
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
