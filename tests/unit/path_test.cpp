#include "util/path.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lvn
