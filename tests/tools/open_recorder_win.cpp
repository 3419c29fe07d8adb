// Stands in for the programs the shell opens folders, pages and web addresses with, in the
// end-to-end tests' Wine prefix: appends what it was asked to open, a line each, to
// opened.txt beside itself.
//   open_recorder.exe "WHAT"
#include <windows.h>

#include <string>

// A windowed program, so that starting it opens no console that would take the focus.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = "";
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string log(self, length);
  log = log.substr(0, log.find_last_of('\\') + 1) + "opened.txt";
  HANDLE file = ::CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  // The command line as written, not as argv parses it: a quoted folder ends in "\",
  // which argv would take for an escaped quote.
  std::string what = ::GetCommandLineA();
  const std::size_t program_end =
      what[0] == '"' ? what.find('"', 1) + 1 : what.find(' ');
  what = program_end == std::string::npos ? std::string() : what.substr(program_end);
  while (!what.empty() && what.front() == ' ') what.erase(0, 1);
  if (what.size() >= 2 && what.front() == '"' && what.back() == '"') {
    what = what.substr(1, what.size() - 2);
  }
  const std::string line = what + "\n";
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
