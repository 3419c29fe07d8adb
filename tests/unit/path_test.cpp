#include "util/path.h"

#include <gtest/gtest.h>

#include <string>

#include "util/data_folder.h"

namespace lvn {
namespace {

TEST(Path, FolderPartAndHelpPageEndAtTheLastSeparator) {
  const struct {
    std::string path;
    std::size_t folder;
    std::string help;
  } cases[] = {
      {"C:\\Users\\u\\AppData\\Roaming\\Lorvane\\lvn.ini", 35,
       "C:\\Users\\u\\AppData\\Roaming\\Lorvane\\help\\index.html"},
      {"C:\\Lorvane\\", 11, "C:\\Lorvane\\help\\index.html"},
      {"lvn.ini", 0, "help\\index.html"},
      {"", 0, "help\\index.html"},
      // Paths are UTF-8, never cut however long.
      {"C:\\ソ\\ł.exe", 7, "C:\\ソ\\help\\index.html"},
      {"C:\\" + std::string(400, 'x') + "\\a.exe", 404,
       "C:\\" + std::string(400, 'x') + "\\help\\index.html"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPartLength(c.path), c.folder) << c.path;
    EXPECT_EQ(HelpPagePath(c.path, "index.html"), c.help) << c.path;
  }
}

TEST(Path, TheDataFolderIsBelowAppDataOrElseTheExecutablesFolderAndNeverCut) {
  const std::string roaming = "C:\\Users\\u\\AppData\\Roaming";
  // Roaming folders whose data folder just fits and just does not: a file's path must stay
  // within 259 UTF-16 units with the longest name, 19, after "\Lorvane\". A character
  // outside the BMP takes two units in four bytes, one of the BMP one unit in up to three.
  const std::string fits = "C:\\" + std::string(228, 'x');                    // 231 units
  const std::string too_long = "C:\\" + std::string(229, 'x');                // 232 units
  const std::string fits_wide = "C:\\" + std::string(223, 'x') + "ソソソ😀";  // 231 units
  const std::string long_wide = "C:\\" + std::string(223, 'x') + "ソソ😀😀";  // 232 units
  const std::string exe = "C:\\Program Files\\Lorvane\\lorvane.exe";
  const std::string long_exe = "C:\\" + std::string(250, 'y') + "\\lorvane.exe";
  const struct {
    std::string app_data, exe, expected;
  } cases[] = {
      {roaming, exe, roaming + "\\Lorvane\\"},
      {"", exe, "C:\\Program Files\\Lorvane\\"},
      {fits, exe, fits + "\\Lorvane\\"},
      {fits_wide, exe, fits_wide + "\\Lorvane\\"},
      {too_long, exe, "C:\\Program Files\\Lorvane\\"},
      {long_wide, exe, "C:\\Program Files\\Lorvane\\"},
      // Nothing at all rather than a cut path.
      {too_long, long_exe, ""},
  };
  for (const auto& c : cases) {
    const std::string folder = ComposeDataFolder({c.app_data, c.exe});
    EXPECT_EQ(folder, c.expected) << c.app_data.size() << " " << c.exe;
    EXPECT_TRUE(DataFolderFits(folder));
  }
  // A portable copy keeps its data beside it, never in another folder.
  EXPECT_EQ(ComposeDataFolder({roaming, exe, true}), "C:\\Program Files\\Lorvane\\");
  EXPECT_EQ(ComposeDataFolder({roaming, long_exe, true}), "");
}

}  // namespace
}  // namespace lvn
