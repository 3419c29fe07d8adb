#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "history/history_win.h"
#include "history/log_format.h"
#include "history/log_write.h"
#include "history/log_win.h"
#include "test_paths.h"
#include "util/scoped_win.h"

namespace lvn {
namespace {

using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;
using Texts = std::vector<std::string>;

std::string Line(int32_t key, const std::string& text) {
  return RecordLine(key, kEventAddressChange, text.c_str(), LocalTime{2019, 7, 4, 12, 0, 0});
}

// Texts of the file's valid records; *numbered tells whether their keys run 0, 1, 2 ...
Texts RecordTexts(const std::string& content, bool* numbered = nullptr) {
  Texts texts;
  LineReader lines(content);
  FieldSplitter splitter;
  RecordFields record;
  std::string_view line;
  bool in_order = true;
  while (lines.Next(&line)) {
    if (!ReadRecord(line, &splitter, &record)) continue;
    in_order = in_order && ReadDecimal(record.Field[0]) == static_cast<int32_t>(texts.size());
    texts.emplace_back(record.Field[4]);
  }
  if (numbered) *numbered = in_order;
  return texts;
}

// log.csv held open by another program with the given sharing.
ScopedHandle Hold(const std::string& path, DWORD share) {
  return ScopedHandle(::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(HistoryFile, WriteCreatesTheLogAndNeverJoinsATornLine) {
  TempFolder dir;
  HistoryState state;
  Log log(dir.Path().c_str(), &state);
  ASSERT_EQ(std::string(log.Path()), dir.File("log.csv"));
  ASSERT_TRUE(log.Write(kEventAddressChange, "a, b", LocalTime{2019, 7, 4, 12, 0, 0}));
  EXPECT_EQ(ReadFileBytes(log.Path()), Line(0, "a, b"));
  EXPECT_EQ(state.LastEventCode, kEventAddressChange);

  // A crash in the middle of an append, or a hand edit, left a line without its end.
  WriteFileBytes(log.Path(), Line(0, "a, b") + "1,20,2019/07");
  ASSERT_TRUE(log.Write(kEventAddressChange, "c", LocalTime{2019, 7, 4, 12, 0, 0}));
  EXPECT_EQ(ReadFileBytes(log.Path()), Line(0, "a, b") + "1,20,2019/07\r\n" + Line(1, "c"));

  // No data folder: the record waits; the key and the code move on all the same.
  Log nowhere(dir.File("missing\\").c_str(), &state);
  EXPECT_FALSE(nowhere.Write(kEventCommError, "", LocalTime{}));
  EXPECT_EQ(state.LastRecordKey, 2);
  EXPECT_EQ(state.LastEventCode, kEventCommError);
}

TEST(HistoryFile, RecordsWrittenWhileTheLogIsLockedArriveInOrderOnceItIsFree) {
  TempFolder dir;
  History history;
  history.SetFolder(dir.Path().c_str());
  const std::string path = dir.File("log.csv");
  const auto write = [&](const char* text) {
    return history.Write(20, text, LocalTime{2019, 7, 4, 12, 0, 0});
  };
  const auto reload = [&] { return history.Reload({}) == ReloadResult::kRead; };
  ASSERT_TRUE(write("A"));
  {
    // A spreadsheet that has the log open: others may read it, nobody may write it.
    ScopedHandle spreadsheet = Hold(path, FILE_SHARE_READ);
    ASSERT_TRUE(spreadsheet);
    EXPECT_FALSE(write("B"));
    EXPECT_FALSE(write("C"));
    ASSERT_TRUE(reload());
    // Shown as they will stand once written.
    EXPECT_EQ(history.View().RowCount(), 4);
  }
  ASSERT_TRUE(write("D"));
  EXPECT_EQ(RecordTexts(ReadFileBytes(path)), (Texts{"A", "B", "C", "D"}));
  {
    // Locked against reading too: the reload fails and the grid keeps what it shows.
    ScopedHandle exclusive = Hold(path, 0);
    ASSERT_TRUE(exclusive);
    EXPECT_FALSE(write("E"));
    EXPECT_EQ(history.Reload({}), ReloadResult::kUnreadable);
    EXPECT_EQ(history.View().RowCount(), 4);
  }
  // The reload appends what waited, then renumbers the keys the wait left out of order.
  ASSERT_TRUE(reload());
  bool numbered = false;
  EXPECT_EQ(RecordTexts(ReadFileBytes(path), &numbered), (Texts{"A", "B", "C", "D", "E"}));
  EXPECT_TRUE(numbered);
  EXPECT_EQ(history.View().RowCount(), 6);
  ASSERT_TRUE(write("F"));
  EXPECT_EQ(RecordTexts(ReadFileBytes(path)), (Texts{"A", "B", "C", "D", "E", "F"}))
      << "nothing waits any more";
}

// What an earlier run saved beside the log goes in first, once, whatever happens to the
// saved file: also when that run had appended it already and ended before it could remove
// the file, when the file is read-only, and when another program holds it (it then waits
// for a start that can take it).
TEST(HistoryFile, RecordsSavedBesideTheLogGoInOnce) {
  const std::string saved =
      "1,20,2019/07/04,12:00:00,B\r\nnot a record\r\n2,2,2019/07/04,12:00:01,C\r\n";
  const std::string first = "0,20,2019/07/04,11:00:00,A\r\n";
  enum class Saved { kPlain, kAppendedBefore, kReadOnly, kHeld };
  const struct {
    Saved kind;
    Texts after_first, after_second;
  } cases[] = {
      {Saved::kPlain, {"A", "B", "C", "D"}, {"A", "B", "C", "D", "E"}},
      {Saved::kAppendedBefore, {"A", "B", "C", "D"}, {"A", "B", "C", "D", "E"}},
      {Saved::kReadOnly, {"A", "B", "C", "D"}, {"A", "B", "C", "D", "E"}},
      {Saved::kHeld, {"A", "D"}, {"A", "D", "B", "C", "E"}},
  };
  for (const auto& c : cases) {
    const int label = static_cast<int>(c.kind);
    TempFolder dir;
    const std::string log = dir.File("log.csv");
    const std::string pending = dir.File("log.pending.csv");
    WriteFileBytes(log, c.kind == Saved::kAppendedBefore
                            ? first + saved.substr(0, 28) + saved.substr(42)
                            : first);
    WriteFileBytes(pending, saved);
    if (c.kind == Saved::kReadOnly) ::SetFileAttributesA(pending.c_str(), FILE_ATTRIBUTE_READONLY);
    // Read and write sharing, but no delete: the file can be neither moved nor removed.
    ScopedHandle held = c.kind == Saved::kHeld
                            ? Hold(pending, FILE_SHARE_READ | FILE_SHARE_WRITE)
                            : ScopedHandle();
    int32_t key = 2;
    for (const char* text : {"D", "E"}) {
      History history;
      history.SetFolder(dir.Path().c_str());
      history.SetLastRecordKey(key++);
      ASSERT_TRUE(history.Write(20, text, LocalTime{2019, 7, 4, 13, 0, 0})) << label;
      ASSERT_TRUE(history.SaveUnwritten()) << label;
      held.Reset();
      EXPECT_EQ(RecordTexts(ReadFileBytes(log)), *text == 'D' ? c.after_first : c.after_second)
          << label << " after " << text;
    }
    EXPECT_EQ(::GetFileAttributesA(pending.c_str()), INVALID_FILE_ATTRIBUTES) << label;
    EXPECT_EQ(::GetFileAttributesA(dir.File("log.pending.taken").c_str()), INVALID_FILE_ATTRIBUTES)
        << label;
  }
}

// At exit, records another program kept out of the log are saved beside it, else in the
// fallback folder, from where the next start takes them; with neither, the caller learns
// which records are lost.
TEST(HistoryFile, RecordsKeptAtExitGoToTheFallbackFolderOrAreReported) {
  for (const bool fallback : {true, false}) {
    TempFolder dir, other;
    const std::string log = dir.File("log.csv");
    WriteFileBytes(log, "0,20,2019/07/04,11:00:00,A\r\n");
    // A folder of that name: no file can be saved there.
    ::CreateDirectoryA(dir.File("log.pending.csv").c_str(), nullptr);
    const std::string fallback_folder = fallback ? other.Path() : std::string();
    {
      History history;
      history.SetFolder(dir.Path().c_str(), fallback_folder);
      history.SetLastRecordKey(0);
      ScopedHandle held_log = Hold(log, 0);
      EXPECT_FALSE(history.Write(20, "B", LocalTime{2019, 7, 4, 12, 0, 0}));
      EXPECT_EQ(history.SaveUnwritten(), fallback);
      EXPECT_EQ(history.UnwrittenText(), "1,20,2019/07/04,12:00:00,B\r\n") << fallback;
    }
    History next;
    next.SetFolder(dir.Path().c_str(), fallback_folder);
    next.SetLastRecordKey(1);
    ASSERT_TRUE(next.Write(20, "C", LocalTime{2019, 7, 4, 13, 0, 0}));
    const Texts expected = fallback ? Texts{"A", "B", "C"} : Texts{"A", "C"};
    EXPECT_EQ(RecordTexts(ReadFileBytes(log)), expected);
  }
}

TEST(HistoryFile, ARefusedRewriteLeavesTheOldFileAndKey) {
  TempFolder dir;
  HistoryState state;
  state.LastRecordKey = 42;
  const std::string path = dir.File("log.csv");
  WriteFileBytes(path, "0,20,d,t,a\n7,20,d,t,b\n");
  Log log(dir.Path().c_str(), &state);
  {
    // Open without delete sharing, as a scanner might hold it.
    ScopedHandle scanner = Hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(scanner);
    EXPECT_FALSE(log.Remove(-1, {}));
    EXPECT_EQ(ReadFileBytes(path), "0,20,d,t,a\n7,20,d,t,b\n");
    EXPECT_EQ(state.LastRecordKey, 42);
  }
  EXPECT_TRUE(log.Remove(-1, {}));
  EXPECT_EQ(ReadFileBytes(path), "0,20,d,t,a\r\n1,20,d,t,b\r\n");
  EXPECT_EQ(state.LastRecordKey, 1);
}

TEST(HistoryFile, AKilledRewriteLeavesTheOldFileOrTheNewOne) {
  TempFolder dir;
  const std::string path = dir.File("log.csv");
  constexpr int kRecords = 20000;
  // The file after k rewrites, each of which removed the first record.
  const auto after = [](int k) {
    std::string content;
    for (int i = k; i < kRecords; ++i) content += Line(i - k, std::to_string(i) + " 198.51.100.1");
    return content;
  };
  std::string command = "\"";
  // The folder's trailing backslash is doubled so that it does not escape the quote.
  command.append(test::ExecutableFolder()).append("log_rewriter.exe\" \"");
  command.append(dir.Path()).append("\\\"");

  std::mt19937 random(20190704);
  for (int round = 0; round < 5; ++round) {
    const std::string original = after(0);
    WriteFileBytes(path, original);
    std::vector<char> command_line(command.begin(), command.end());
    command_line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info));
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);

    // Once the first rewrite has landed, the rewriter spends its time rewriting.
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    while (::GetTickCount64() < deadline &&
           (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            data.nFileSizeLow == original.size())) {
      ::Sleep(5);
    }
    ::Sleep(std::uniform_int_distribution<DWORD>(0, 60)(random));
    ::TerminateProcess(process.Get(), 1);
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);

    const std::string content = ReadFileBytes(path);
    const int removed = kRecords - static_cast<int>(RecordTexts(content).size());
    ASSERT_GT(removed, 0) << "the rewriter never got going";
    EXPECT_TRUE(content == after(removed)) << "round " << round << ": a torn file, "
                                           << content.size() << " bytes";
  }
}

TEST(HistoryReload, CompactsReportsTheLastKeyAndDeletes) {
  TempFolder dir;
  History history;
  history.SetFolder(dir.Path().c_str());
  history.SetLastRecordKey(9);
  const std::string log_path = dir.File("log.csv");

  EXPECT_EQ(history.Reload({}), ReloadResult::kMissing);
  EXPECT_FALSE(history.View().FileFound());
  EXPECT_EQ(history.LastRecordKey(), 9);

  // Keys 0, 1, 2, 0, as after the settings file was lost.
  WriteFileBytes(log_path, Line(0, "a") + Line(1, "b") + Line(2, "c") + Line(0, "d"));
  ASSERT_EQ(history.Reload({}), ReloadResult::kRead);
  EXPECT_EQ(ReadFileBytes(log_path), Line(0, "a") + Line(1, "b") + Line(2, "c") + Line(3, "d"));
  EXPECT_EQ(history.LastRecordKey(), 3);

  const int old_rows = history.View().RowCount();
  EXPECT_EQ(history.RemoveRows(4, 4, {}), RemoveResult::kRemoved);
  ASSERT_EQ(history.Reload({}), ReloadResult::kRead);
  EXPECT_EQ(CurrentRowAfterDelete(4, 4, old_rows, history.View().RowCount()), 3);
  EXPECT_EQ(ReadFileBytes(log_path), Line(0, "a") + Line(1, "b") + Line(2, "c"));
  EXPECT_EQ(history.View().RowCount(), 4);
  EXPECT_EQ(history.LastRecordKey(), 2);
  EXPECT_EQ(history.RemoveRows(0, 0, {}), RemoveResult::kFailed) << "the header has no record";
}

// A reload that reads only the program's own appends must still see every change anyone
// else made to the file: what it shows is what a whole reading shows.
TEST(HistoryReload, SeesEveryChangeOthersMadeBetweenReloads) {
  const auto append = [](const std::string& path, const std::string& bytes) {
    WriteFileBytes(path, ReadFileBytes(path) + bytes);
  };
  const struct {
    const char* label;
    std::function<void(const std::string& path)> before_write, before_reload;
  } cases[] = {
      {"nobody", {}, {}},
      {"appended before the write", [&](const std::string& p) { append(p, Line(9, "x")); }, {}},
      {"appended after the write", {}, [&](const std::string& p) { append(p, Line(9, "x")); }},
      {"edited in place, same size",
       [](const std::string& p) {
         std::string bytes = ReadFileBytes(p);
         bytes[bytes.find("b")] = 'B';
         ::Sleep(20);  // a write time of its own
         WriteFileBytes(p, bytes);
       },
       {}},
      {"a line removed", {}, [](const std::string& p) { WriteFileBytes(p, Line(0, "a")); }},
      {"replaced by another file",
       [](const std::string& p) {
         WriteFileBytes(p + ".new", Line(0, "z") + Line(1, "y"));
         ::MoveFileExA((p + ".new").c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING);
       },
       {}},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    const std::string path = dir.File("log.csv");
    WriteFileBytes(path, Line(0, "a") + Line(1, "b"));
    History history;
    history.SetFolder(dir.Path().c_str());
    history.SetLastRecordKey(1);
    ASSERT_EQ(history.Reload({}), ReloadResult::kRead) << c.label;
    if (c.before_write) c.before_write(path);
    ASSERT_TRUE(history.Write(kEventAddressChange, "c", LocalTime{2019, 7, 4, 12, 0, 0}));
    if (c.before_reload) c.before_reload(path);
    const HistoryView whole = HistoryView::FromLog(ReadFileBytes(path), {});
    ASSERT_EQ(history.Reload({}), ReloadResult::kRead) << c.label;

    EXPECT_EQ(history.View().RowCount(), whole.RowCount()) << c.label;
    std::string shown, read;
    for (int row = 1; row < std::min(whole.RowCount(), history.View().RowCount()); ++row) {
      history.View().CellText(row, 2, &shown);
      whole.CellText(row, 2, &read);
      EXPECT_EQ(shown, read) << c.label << ", row " << row;
    }
    EXPECT_EQ(history.LastRecordKey(), whole.LastRecordKey()) << c.label;
    EXPECT_EQ(RecordTexts(ReadFileBytes(path)), RecordTexts(std::string(whole.Content())))
        << c.label << ": a record lost";
  }
}

// A log beyond what the program reads is reported, never shown empty, never rewritten.
TEST(HistoryReload, ALogBeyondTheLimitIsReportedAndLeftAlone) {
  TempFolder dir;
  History history;
  history.SetFolder(dir.Path().c_str());
  const std::string log_path = dir.File("log.csv");
  WriteFileBytes(log_path, Line(0, "a") + "a line to compact away\r\n");
  {
    // Sparse: kMaxLogBytes + 1 bytes that take no room on the disk.
    ScopedHandle file(::CreateFileA(log_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD returned = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(kMaxLogBytes) + 1;
    ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.Get()));
  }
  history.SetLastRecordKey(41);
  EXPECT_EQ(history.Reload({}), ReloadResult::kTooLarge);
  EXPECT_EQ(history.LastRecordKey(), 41);
  EXPECT_TRUE(history.Write(kEventAddressChange, "b", LocalTime{2019, 7, 4, 12, 0, 0}))
      << "records still go in";
  HistoryState state;
  EXPECT_FALSE(Log(dir.Path().c_str(), &state).Remove(-1, {}));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExA(log_path.c_str(), GetFileExInfoStandard, &data));
  const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  // The zero bytes at the end do not end in CR LF, so the record gets one first.
  EXPECT_EQ(size, kMaxLogBytes + 1 + 2 + Line(42, "b").size()) << "nothing rewritten or cut";
  ::DeleteFileA(log_path.c_str());
}

}  // namespace
}  // namespace lvn
