#include "notify/program_search.h"

namespace lvn {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// "C:\..." or "\\server\...": a folder that does not depend on the working folder.
bool IsAbsoluteFolder(std::wstring_view folder) {
  if (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) {
    const wchar_t drive = folder[0];
    return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
  }
  return folder.size() >= 3 && folder.substr(0, 2) == L"\\\\";
}

std::wstring_view TrimBlanksAndQuotes(std::wstring_view text) {
  while (!text.empty() && (IsBlank(text.front()) || text.front() == L'"')) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == L'"')) text.remove_suffix(1);
  return text;
}

}  // namespace

ProgramSplit SplitProgram(std::wstring_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  line.remove_prefix(start);
  if (!line.empty() && line.front() == L'"') {
    const std::size_t close = line.find(L'"', 1);
    if (close == std::wstring_view::npos) return {line.substr(1), {}};
    return {line.substr(1, close - 1), line.substr(close + 1)};
  }
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  return {line.substr(0, end), line.substr(end)};
}

bool IsBareProgramName(std::wstring_view program) {
  return !program.empty() && program.find_first_of(L"\\/:") == std::wstring_view::npos;
}

std::vector<std::wstring> ProgramCandidates(std::wstring_view name, std::wstring_view system_folder,
                                            std::wstring_view path_variable) {
  std::wstring file(name);
  if (file.find(L'.') == std::wstring::npos) file += L".exe";
  std::vector<std::wstring> candidates;
  const auto add = [&](std::wstring_view folder) {
    folder = TrimBlanksAndQuotes(folder);
    if (!IsAbsoluteFolder(folder)) return;
    std::wstring path(folder);
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += file;
    candidates.push_back(std::move(path));
  };
  add(system_folder);
  while (!path_variable.empty()) {
    const std::size_t end = path_variable.find(L';');
    add(path_variable.substr(0, end));
    path_variable.remove_prefix(end == std::wstring_view::npos ? path_variable.size() : end + 1);
  }
  return candidates;
}

std::wstring WithProgramPath(std::wstring_view full_path, std::wstring_view rest) {
  std::wstring line;
  line.reserve(full_path.size() + rest.size() + 2);
  line += L'"';
  line += full_path;
  line += L'"';
  // "x"y would glue y to the program's name.
  if (!rest.empty() && !IsBlank(rest.front())) line += L' ';
  line += rest;
  return line;
}

}  // namespace lvn
