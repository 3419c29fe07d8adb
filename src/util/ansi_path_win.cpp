#include "util/ansi_path_win.h"

#include <windows.h>

#include <vector>

namespace lvn {
namespace {

// Exactly path in the ANSI code page, without best-fit stand-ins such as "e" for "é".
bool ExactAnsi(const wchar_t* path, char* dest, std::size_t n) {
  const int capacity = n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
  // UTF-8 holds every character, and takes neither the flag nor the question.
  const bool utf8 = ::GetACP() == CP_UTF8;
  BOOL used_default = FALSE;
  const int written =
      ::WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path, -1, dest, capacity,
                            nullptr, utf8 ? nullptr : &used_default);
  return written > 0 && !used_default;
}

// The program file's full path; empty when the system does not give it.
std::vector<wchar_t> ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) break;
    if (length < size) return path;
    if (path.size() >= 32768) break;
    path.resize(path.size() * 2);
  }
  return {};
}

}  // namespace

bool ShortAnsiPathOf(const wchar_t* path, char* dest, std::size_t n) {
  if (n == 0) return false;
  const DWORD length = ::GetShortPathNameW(path, nullptr, 0);
  if (length != 0) {
    std::vector<wchar_t> short_path(length);
    const DWORD written = ::GetShortPathNameW(path, short_path.data(), length);
    if (written != 0 && written < length && ExactAnsi(short_path.data(), dest, n)) return true;
  }
  dest[0] = '\0';
  return false;
}

bool AnsiPathOf(const wchar_t* path, char* dest, std::size_t n) {
  if (n == 0) return false;
  return ExactAnsi(path, dest, n) || ShortAnsiPathOf(path, dest, n);
}

bool ProgramAnsiPath(char* dest, std::size_t n) {
  const std::vector<wchar_t> path = ProgramPath();
  if (!path.empty()) return AnsiPathOf(path.data(), dest, n);
  if (n > 0) dest[0] = '\0';
  return false;
}

bool ProgramShortAnsiPath(char* dest, std::size_t n) {
  const std::vector<wchar_t> path = ProgramPath();
  if (!path.empty()) return ShortAnsiPathOf(path.data(), dest, n);
  if (n > 0) dest[0] = '\0';
  return false;
}

}  // namespace lvn
