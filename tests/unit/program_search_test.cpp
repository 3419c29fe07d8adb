#include "notify/program_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lvn {
namespace {

// Where a command's program is looked for decides what a planted file can run.
TEST(ProgramSearch, BareNamesAreLookedForInTheSystemAndPathFoldersOnly) {
  const struct {
    const wchar_t* line;
    const wchar_t* path_variable;
    std::vector<std::wstring> candidates;  // empty: not a bare name, runs as written
  } cases[] = {
      {L"curl.exe -s x", L"C:\\Tools;D:\\bin\\", {L"C:\\W\\S32\\curl.exe", L"C:\\Tools\\curl.exe",
                                                  L"D:\\bin\\curl.exe"}},
      // ".exe" is added as the system adds it; "." and relative entries name the working
      // folder, empty ones nothing.
      {L"cmd /c x", L".;;tools;\"C:\\Program Files\\Git\\cmd\";\\\\srv\\share",
       {L"C:\\W\\S32\\cmd.exe", L"C:\\Program Files\\Git\\cmd\\cmd.exe",
        L"\\\\srv\\share\\cmd.exe"}},
      {L"  \"my tool.bat\" a", L"", {L"C:\\W\\S32\\my tool.bat"}},
      {L".\\curl.exe", L"C:\\Tools", {}},
      {L"C:\\Tools\\curl.exe", L"C:\\Tools", {}},
      {L"\"C:\\Program Files\\x.exe\" a", L"", {}},
      {L"c:curl.exe", L"", {}},
      {L"tools/curl.exe", L"", {}},
      {L"", L"C:\\Tools", {}},
  };
  for (const auto& c : cases) {
    const ProgramSplit split = SplitProgram(c.line);
    const std::vector<std::wstring> candidates =
        IsBareProgramName(split.Program)
            ? ProgramCandidates(split.Program, L"C:\\W\\S32", c.path_variable)
            : std::vector<std::wstring>{};
    EXPECT_EQ(candidates, c.candidates) << c.line;
  }
}

TEST(ProgramSearch, TheFoundPathReplacesTheNameAndTheArgumentsStay) {
  const struct {
    const wchar_t* line;
    const wchar_t* resolved;
  } cases[] = {
      {L"curl.exe -s \"https://x/?ip=1\"", L"\"C:\\T\\curl.exe\" -s \"https://x/?ip=1\""},
      {L"\"curl\"", L"\"C:\\T\\curl.exe\""},
      {L"\"curl\"-s", L"\"C:\\T\\curl.exe\" -s"},
      {L"\"unclosed a b", L"\"C:\\T\\curl.exe\""},
      {L"curl\targ", L"\"C:\\T\\curl.exe\"\targ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithProgramPath(L"C:\\T\\curl.exe", SplitProgram(c.line).Rest), c.resolved) << c.line;
  }
}

}  // namespace
}  // namespace lvn
