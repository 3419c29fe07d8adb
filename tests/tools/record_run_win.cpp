// Stands in for the change command in the runner's tests. Unless its first argument is
// "unrecorded", it appends a line to runs.txt in its working folder: "run", the folder,
// LORVANE_IP, LORVANE_OLDIP and its arguments, tab-separated. Then it does what its
// arguments say, in order (others are only recorded):
//   print:TEXT  TEXT and a line end to its output    error:TEXT  the same to its error stream
//   bytes:N     N digits "0123456789012..." to its output
//   child       starts a copy of itself that hangs, and records "child", its process id
//   wait:NAME   waits for the event NAME, at most a minute
//   hang        waits for ever                       exit:N      exits with code N
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

void Write(DWORD which, const std::string& text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(which), text.data(), static_cast<DWORD>(text.size()), &written,
              nullptr);
}

void Record(const std::string& line) {
  HANDLE file = ::CreateFileA("runs.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string Variable(const char* name) {
  char value[256] = "";
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "<unset>";
  return std::string(value, length < sizeof value ? length : 0);
}

}  // namespace

int main(int argc, char** argv) {
  const bool recorded = argc < 2 || std::string(argv[1]) != "unrecorded";
  if (recorded) {
    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    std::string line = std::string("run\t") + folder + "\t" + Variable("LORVANE_IP") + "\t" +
                       Variable("LORVANE_OLDIP");
    for (int i = 1; i < argc; ++i) line += std::string("\t") + argv[i];
    Record(line);
  }
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::string value = arg.substr(arg.find(':') + 1);
    if (arg.rfind("print:", 0) == 0) {
      Write(STD_OUTPUT_HANDLE, value + "\r\n");
    } else if (arg.rfind("error:", 0) == 0) {
      Write(STD_ERROR_HANDLE, value + "\r\n");
    } else if (arg.rfind("bytes:", 0) == 0) {
      std::string digits;
      for (int n = 0; n < std::atoi(value.c_str()); ++n) digits += static_cast<char>('0' + n % 10);
      Write(STD_OUTPUT_HANDLE, digits);
    } else if (arg == "child") {
      char self[MAX_PATH] = "";
      ::GetModuleFileNameA(nullptr, self, MAX_PATH);
      std::string command = std::string("\"") + self + "\" unrecorded hang";
      // It holds the output pipe too, as a child of a real command would.
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
      startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
      PROCESS_INFORMATION info{};
      if (!::CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &info)) {
        return 91;
      }
      Record("child\t" + std::to_string(info.dwProcessId));
      ::CloseHandle(info.hThread);
      ::CloseHandle(info.hProcess);
    } else if (arg.rfind("wait:", 0) == 0) {
      HANDLE gate = ::OpenEventA(SYNCHRONIZE, FALSE, value.c_str());
      if (gate == nullptr || ::WaitForSingleObject(gate, 60000) != WAIT_OBJECT_0) return 90;
      ::CloseHandle(gate);
    } else if (arg == "hang") {
      ::Sleep(INFINITE);
    } else if (arg.rfind("exit:", 0) == 0) {
      return std::atoi(value.c_str());
    }
  }
  return 0;
}
