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
      // Too long for the buffers: the join fills 299 bytes, leaving the append no room.
      {long_folder + "lorvane.exe", long_folder + "help\\"},
  };
  for (const auto& c : cases) {
    char page[300];
    EXPECT_EQ(std::string(HelpPagePath(page, c.exe.c_str(), sizeof page)), c.page) << c.exe;
  }
}

TEST(Path, TheDataFolderIsBelowAppDataOrElseTheExecutablesFolderAndNeverCut) {
  const std::string roaming = "C:\\Users\\u\\AppData\\Roaming";
  const std::string short_roaming = "C:\\Users\\U~1\\AppData\\Roaming";
  // Roaming folders whose data folder just fits and just does not: a file's path must stay
  // within 259 bytes with the longest name, 19 bytes, after "\Lorvane\".
  const std::string fits = "C:\\" + std::string(228, 'x');        // 231 bytes
  const std::string too_long = "C:\\" + std::string(229, 'x');     // 232 bytes
  const std::string cut_before = "C:\\" + std::string(282, 'x');   // 285 bytes
  const std::string exe = "C:\\Program Files\\Lorvane\\lorvane.exe";
  const std::string long_exe = "C:\\" + std::string(250, 'y') + "\\lorvane.exe";
  const struct {
    std::string app_data, app_data_short, exe, exe_short, expected;
  } cases[] = {
      {roaming, roaming, exe, exe, roaming + "\\Lorvane\\"},
      {"", "", exe, exe, "C:\\Program Files\\Lorvane\\"},
      // The trail byte of a double-byte character can be 0x5C; it does not end the folder.
      {"", "", "C:\\tools\\\x83\x5C.exe", "", "C:\\tools\\"},
      {fits, "", exe, "", fits + "\\Lorvane\\"},
      {too_long, short_roaming, exe, "", short_roaming + "\\Lorvane\\"},
      {cut_before, short_roaming, exe, "", short_roaming + "\\Lorvane\\"},
      // No short form, or one too long as well: the program's folder, by its short name
      // when the long one is too long itself; nothing at all rather than a cut path.
      {too_long, "", exe, "", "C:\\Program Files\\Lorvane\\"},
      {cut_before, cut_before, long_exe, "C:\\YYYY~1\\lorvane.exe", "C:\\YYYY~1\\"},
      {cut_before, "", long_exe, "", ""},
  };
  for (const auto& c : cases) {
    const std::string folder =
        ComposeDataFolder({c.app_data, c.app_data_short, c.exe, c.exe_short});
    EXPECT_EQ(folder, c.expected) << c.app_data.size() << " " << c.exe;
    EXPECT_TRUE(DataFolderFits(folder));
  }
  // A portable copy keeps its data beside it, never in another folder.
  EXPECT_EQ(ComposeDataFolder({roaming, roaming, exe, exe, true}), "C:\\Program Files\\Lorvane\\");
  EXPECT_EQ(ComposeDataFolder({roaming, roaming, long_exe, "", true}), "");
}

}  // namespace
}  // namespace lvn
