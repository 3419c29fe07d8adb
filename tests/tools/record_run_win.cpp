// Stands in for the change command in the runner's tests. Unless its first argument is
// "unrecorded", it appends a line to runs.txt in its working folder, in UTF-8: "run", the
// folder, LORVANE_IP, LORVANE_OLDIP and its arguments, tab-separated. Then it does what its
// arguments say, in order (others are only recorded):
//   print:TEXT  TEXT and a line end to its output    error:TEXT  the same to its error stream
//   bytes:N     N digits "0123456789012..." to its output
//   child       starts a copy of itself that hangs, and records "child", its process id
//   wait:NAME   waits for the event NAME, at most a minute
//   hang        waits for ever                       exit:N      exits with code N
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tool_arguments_win.h"

namespace {

void Write(DWORD which, const std::string& text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(which), text.data(), static_cast<DWORD>(text.size()), &written,
              nullptr);
}

void Record(const std::string& line) {
  HANDLE file = ::CreateFileW(L"runs.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string Variable(const wchar_t* name) {
  std::wstring value(::GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  if (value.empty() && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "<unset>";
  value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return lvn::Utf8Of(value);
}

std::string CurrentFolder() {
  std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return lvn::Utf8Of(folder);
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = lvn::tools::Arguments();
  if (arguments.empty() || arguments[0] != "unrecorded") {
    std::string line = "run\t" + CurrentFolder() + "\t" + Variable(L"LORVANE_IP") + "\t" +
                       Variable(L"LORVANE_OLDIP");
    for (const std::string& arg : arguments) line += "\t" + arg;
    Record(line);
  }
  for (const std::string& arg : arguments) {
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
      const std::wstring self = lvn::tools::SelfPath();
      std::wstring command = L"\"" + self + L"\" unrecorded hang";
      // It holds the output pipe too, as a child of a real command would.
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
      startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
      PROCESS_INFORMATION info{};
      if (!::CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &info)) {
        return 91;
      }
      Record("child\t" + std::to_string(info.dwProcessId));
      ::CloseHandle(info.hThread);
      ::CloseHandle(info.hProcess);
    } else if (arg.rfind("wait:", 0) == 0) {
      HANDLE gate = ::OpenEventW(SYNCHRONIZE, FALSE, lvn::Wide(value).c_str());
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
