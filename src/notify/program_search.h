// Where the change command's program is looked for. A bare name is found by us, in the
// system folder and then the PATH folders, never beside lorvane.exe or in the working
// folder (the data folder): a file dropped there must not run in the program's place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lvn {

// A command line split as the system reads it: a quoted first word up to its closing
// quote, otherwise up to the first blank. Rest starts right after Program (and its quote).
struct ProgramSplit {
  std::wstring_view Program;
  std::wstring_view Rest;
};
ProgramSplit SplitProgram(std::wstring_view line);

// A name with no folder and no drive: the system would search for it.
bool IsBareProgramName(std::wstring_view program);

// The full paths a bare name may stand for, in the order they are tried: the system
// folder, then each absolute folder of path_variable (';'-separated, quotes allowed).
// Relative and empty entries are skipped, as they would name the working folder. ".exe"
// is added to a name without an extension, as the system does.
std::vector<std::wstring> ProgramCandidates(std::wstring_view name, std::wstring_view system_folder,
                                            std::wstring_view path_variable);

// The command line with its program replaced by full_path, quoted, and its arguments kept.
std::wstring WithProgramPath(std::wstring_view full_path, std::wstring_view rest);

}  // namespace lvn
