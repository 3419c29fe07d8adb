#include "util/path.h"

#include <gtest/gtest.h>

#include <string>

#include "util/data_folder.h"

namespace lvn {
namespace {

TEST(Path, FolderPartEndsAtTheLastRealSeparator) {
  const struct {
    const char* path;
    std::size_t folder;
  } cases[] = {
      {"C:\\Users\\u\\AppData\\Roaming\\Lorvane\\lvn.ini", 35},
      {"C:\\Lorvane\\", 11},
      {"lvn.ini", 0},
      {"", 0},
      // 0x83 0x5C is one double-byte character, not a separator.
      {"C:\\x\\\x83\x5C.ini", 5},
      {"C:\\\x83\x5C\\lvn.ini", 6},
      // A lead byte at the very end has no trail byte to skip.
      {"C:\\x\\\x83", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderPartLength(c.path), c.folder) << c.path;
}

TEST(Path, TheHelpPageIsInTheProgramsFolder) {
  const std::string long_folder = "C:\\" + std::string(290, 'x') + "\\";  // 294 bytes
  const struct {
    std::string exe;
    std::string page;
  } cases[] = {
      {"D:\\Tools\\lorvane.exe", "D:\\Tools\\help\\index.htm"},
      {"C:\\\x83\x5C\\lorvane.exe", "C:\\\x83\x5C\\help\\index.htm"},
      {"lorvane.exe", "help\\index.htm"},
      // Too long for the buffers: the join keeps 295 bytes, the append goes to 298.
      {long_folder + "lorvane.exe", (long_folder + "help\\").substr(0, 295) + "ind"},
  };
  for (const auto& c : cases) {
    char page[300];
    EXPECT_EQ(std::string(HelpPagePath(page, c.exe.c_str(), sizeof page)), c.page) << c.exe;
  }
}

TEST(Path, TheDataFolderIsBelowAppDataOrElseTheExecutablesFolder) {
  const struct {
    const char* app_data;
    const char* exe;
    std::size_t n;
    const char* expected;
  } cases[] = {
      {"C:\\Users\\u\\AppData\\Roaming", "C:\\x\\lorvane.exe", 300,
       "C:\\Users\\u\\AppData\\Roaming\\Lorvane\\"},
      {nullptr, "C:\\Program Files\\Lorvane\\lorvane.exe", 300, "C:\\Program Files\\Lorvane\\"},
      // The trail byte of a double-byte character can be 0x5C; it does not end the folder.
      {nullptr, "C:\\tools\\\x83\x5C.exe", 300, "C:\\tools\\"},
      {nullptr, "C:\\x\\lorvane.exe", 4, "C:\\"},
  };
  for (const auto& c : cases) {
    char folder[300];
    EXPECT_STREQ(ComposeDataFolder(folder, c.app_data, c.exe, c.n), c.expected) << c.exe;
  }
}

}  // namespace
}  // namespace lvn
