#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "settings/settings_file_win.h"
#include "test_paths.h"
#include "util/file_io_win.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

using test::FileExists;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

TEST(ReadWholeFile, ReportsMissingFilesAndReadsBytesExactly) {
  TempFolder dir;
  std::string content = "unchanged";
  EXPECT_EQ(ReadWholeFile(dir.File("none.txt").c_str(), &content), ReadResult::kMissing);
  EXPECT_EQ(ReadWholeFile(dir.File("no\\folder.txt").c_str(), &content), ReadResult::kMissing);
  EXPECT_EQ(content, "unchanged");

  const std::string bytes("a\0b\r\nc\x81\x5C", 8);
  WriteFileBytes(dir.File("f.bin"), bytes);
  ASSERT_EQ(ReadWholeFile(dir.File("f.bin").c_str(), &content), ReadResult::kOk);
  EXPECT_EQ(content, bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("f.bin").c_str(), &content, 8), ReadResult::kOk);
  EXPECT_EQ(ReadWholeFile(dir.File("f.bin").c_str(), &content, 7), ReadResult::kTooLarge);
  EXPECT_EQ(content, bytes);
}

TEST(ReplaceFileContent, CreatesReplacesAndLeavesNoTemporaryFile) {
  TempFolder dir;
  const std::string target = dir.File("lvn.ini");
  ASSERT_TRUE(ReplaceFileContent(target.c_str(), "first"));
  EXPECT_EQ(ReadFileBytes(target), "first");
  ASSERT_TRUE(ReplaceFileContent(target.c_str(), "second, longer"));
  ASSERT_TRUE(ReplaceFileContent(target.c_str(), "3rd"));
  EXPECT_EQ(ReadFileBytes(target), "3rd");
  EXPECT_FALSE(FileExists(ReplacementTempPath(target)));
}

TEST(ReplaceFileContent, ReachesAFileByANameNoCodePageHolds) {
  TempFolder dir;
  const std::string target = dir.File("ł한😀.ini");
  ASSERT_TRUE(ReplaceFileContent(target.c_str(), "bytes"));
  std::string content;
  EXPECT_EQ(ReadWholeFile(target.c_str(), &content), ReadResult::kOk);
  EXPECT_EQ(content, "bytes");
  EXPECT_TRUE(StampOfFile(target.c_str()).has_value());
  const std::wstring wide = Wide(target);
  EXPECT_NE(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES) << "named as given";
  ::DeleteFileW(wide.c_str());
  // A path that is not UTF-8 names no file, rather than one with a stand-in character.
  EXPECT_FALSE(ReplaceFileContent(dir.File("\xE3.ini").c_str(), "bytes"));
}

TEST(ReplaceFileContent, OverwritesAStaleTemporaryFileFromACrash) {
  TempFolder dir;
  const std::string target = dir.File("lvn.ini");
  WriteFileBytes(target, "old");
  WriteFileBytes(ReplacementTempPath(target), "half-written leftovers of a crash");
  ASSERT_TRUE(ReplaceFileContent(target.c_str(), "new"));
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_FALSE(FileExists(ReplacementTempPath(target)));
}

TEST(ReplaceFileContent, ResolvesARelativePathBesideTheTarget) {
  TempFolder dir;
  char previous[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryA(dir.Path().c_str()));
  const bool replaced = ReplaceFileContent("relative.ini", "r");
  ::SetCurrentDirectoryA(previous);
  ASSERT_TRUE(replaced);
  EXPECT_EQ(ReadFileBytes(dir.File("relative.ini")), "r");
}

TEST(ReplaceFileContent, LeavesTheOldFileWhenTheReplaceIsRefused) {
  TempFolder dir;
  const std::string target = dir.File("lvn.ini");
  WriteFileBytes(target, "old content");

  // Held open without delete sharing, as a scanner or another program might.
  HANDLE holder = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReplaceFileContent(target.c_str(), "new content"));
  ::CloseHandle(holder);
  EXPECT_EQ(ReadFileBytes(target), "old content");
  EXPECT_FALSE(FileExists(ReplacementTempPath(target)));

  ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(ReplaceFileContent(target.c_str(), "new content"));
  EXPECT_EQ(ReadFileBytes(target), "old content");
}

TEST(ReplaceFileContent, SucceedsWhenABriefHolderLetsGoInTime) {
  TempFolder dir;
  const std::string target = dir.File("lvn.ini");
  WriteFileBytes(target, "old");
  HANDLE holder = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  std::thread release([holder] {
    ::Sleep(15);
    ::CloseHandle(holder);
  });
  const bool replaced = ReplaceFileContent(target.c_str(), "new");
  release.join();
  EXPECT_TRUE(replaced);
  EXPECT_EQ(ReadFileBytes(target), "new");
}

TEST(SettingsFile, SaveCreatesOneFolderLevelAndLoadReadsItBack) {
  TempFolder dir;
  const std::string ini_path = dir.File("Lorvane\\lvn.ini");
  IniFile ini;
  ASSERT_TRUE(LoadSettingsFile(ini_path.c_str(), &ini));  // nothing there yet: defaults
  ini.WriteInteger("Value", "PrimaryKey", 0);
  ASSERT_TRUE(SaveSettingsFile(ini, ini_path.c_str()));
  EXPECT_EQ(ReadFileBytes(ini_path), "[Value]\r\nPrimaryKey=0\r\n\r\n");

  IniFile loaded;
  ASSERT_TRUE(LoadSettingsFile(ini_path.c_str(), &loaded));
  EXPECT_EQ(loaded.ReadInteger("Value", "PrimaryKey", -1), 0);

  // Two missing levels: only one is created, so the save fails and reports it.
  EXPECT_FALSE(SaveSettingsFile(ini, dir.File("a\\b\\lvn.ini").c_str()));
}

TEST(SettingsFile, LoadFailsOnAFileThatExistsButCannotBeRead) {
  TempFolder dir;
  const std::string ini_path = dir.File("lvn.ini");
  WriteFileBytes(ini_path, "[Value]\r\nInterval=30000\r\n");
  HANDLE exclusive =
      ::CreateFileA(ini_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  IniFile ini;
  EXPECT_FALSE(LoadSettingsFile(ini_path.c_str(), &ini));
  ::CloseHandle(exclusive);
  EXPECT_TRUE(LoadSettingsFile(ini_path.c_str(), &ini));
  EXPECT_EQ(ini.ReadInteger("Value", "Interval", 0), 30000);
}

}  // namespace
}  // namespace lvn
