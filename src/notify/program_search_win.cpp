#include "notify/program_search_win.h"

#include <windows.h>

#include "notify/program_search.h"

namespace lvn {
namespace {

std::wstring VariableOf(const wchar_t* name) {
  std::wstring value(::GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  if (value.empty()) return value;
  const DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(length < value.size() ? length : 0);
  return value;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  return length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool ResolveProgram(std::wstring* line) {
  const ProgramSplit split = SplitProgram(*line);
  if (!IsBareProgramName(split.Program)) return true;
  for (const std::wstring& candidate :
       ProgramCandidates(split.Program, SystemFolder(), VariableOf(L"PATH"))) {
    if (IsFile(candidate)) {
      *line = WithProgramPath(candidate, split.Rest);
      return true;
    }
  }
  return false;
}

}  // namespace lvn
