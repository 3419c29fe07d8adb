// Long histories as a user meets them: the grid shows every record, answers at once and
// keeps the row the user chose; and Update starts a lookup whenever it is enabled.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"

namespace lvn::e2e {
namespace {

constexpr char kAddress[] = "198.51.100.7";
constexpr char kAnswer[] = "[198.51.100.7]\r\nLorvane lookup\r\n";

// A log of address changes keyed 0, 1, 2 ..., and settings that continue from it, with
// the lookup's address as the last one known, so that the first lookup records nothing.
void PrepareHistory(int records, int pad) {
  ClearDataFolder();
  WriteDataFile("log.csv", AddressLog(records, pad));
  std::string ini = "[Value]\r\nIpHoz=";
  ini.append(kAddress).append("\r\nPrimaryKey=").append(std::to_string(records - 1));
  WriteDataFile("lvn.ini", ini.append("\r\n"));
  SetLookupAnswer(std::string(kAnswer));
}

// Starts the program and waits until the grid shows the records and the check start.
void Start(Session* run, int records) {
  ASSERT_TRUE(StartSession(run, records + 2)) << GridRows(run->grid);
}

TEST(HistoryGrid, AHundredThousandRecordsThroughTheGridsMessages) {
  constexpr int kRecords = 100000;
  PrepareHistory(kRecords, 0);
  Session run;
  Start(&run, kRecords);
  const HWND grid = run.grid;

  const struct {
    int row;
    std::string text;
  } rows[] = {
      {0, "適用"},
      {1, "  " + AddressOfRecord(0, 0)},
      {50000, "  " + AddressOfRecord(49999, 0)},
      {kRecords, "  " + AddressOfRecord(kRecords - 1, 0)},
      {kRecords + 1, "チェック開始"},
  };
  for (const auto& r : rows) EXPECT_EQ(GridCell(grid, 2, r.row), r.text) << r.row;
  EXPECT_EQ(GridCell(grid, 0, 50000), "2019/07/04");
  EXPECT_EQ(GridCell(grid, 1, 50000), "09:05:03");
  // The first showing makes the newest row current, with the last rows in view.
  EXPECT_EQ(GridCurrentRow(grid), kRecords + 1);
  EXPECT_EQ(GridTopRow(grid), kRecords + 2 - GridVisibleRows(grid));
  EXPECT_EQ(StatusFields(run.main)[2], "行:100001/100001");

  // The user goes to row 2; a new record reloads the grid, and row 2 stays current.
  PressKeys(run.main, {VK_HOME});
  PressKeys(run.main, {VK_DOWN});
  ASSERT_TRUE(WaitUntil([&] { return GridCurrentRow(grid) == 2; }));
  SetLookupAnswer("[203.0.113.9]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitUntil([&] { return GridRows(grid) == kRecords + 3; }));
  EXPECT_EQ(GridCell(grid, 2, kRecords + 2), "  203.0.113.9");
  EXPECT_EQ(GridCurrentRow(grid), 2);
  EXPECT_EQ(StatusFields(run.main)[2], "行:2/100002");
  DWORD_PTR ignored = 0;
  EXPECT_NE(::SendMessageTimeoutW(run.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored), 0);
  EXPECT_TRUE(EndSession(&run));
  EXPECT_EQ(LogLines().size(), static_cast<std::size_t>(kRecords) + 4);
}

// Larger than any limit the history once had (256 MiB): every record is shown.
TEST(HistoryGrid, ALogOfMoreThan256MiBIsShown) {
  constexpr int kRecords = 1100000;
  PrepareHistory(kRecords, 220);
  Session run;
  Start(&run, kRecords);
  EXPECT_EQ(GridCell(run.grid, 2, 1), "  " + AddressOfRecord(0, 220));
  EXPECT_EQ(GridCell(run.grid, 2, kRecords), "  " + AddressOfRecord(kRecords - 1, 220));
  EXPECT_TRUE(EndSession(&run));
  ClearDataFolder();
}

// A history too large to read: the user is told, the grid is not silently empty, and the
// file keeps every byte while new records still go in.
TEST(HistoryGrid, AHistoryTooLargeToReadIsReportedAndKept) {
  PrepareHistory(1, 0);
  const std::string path = DataFolder() + "log.csv";
  constexpr LONGLONG kSize = LONGLONG{1} << 31;  // 2 GiB, taking no room on the disk
  {
    HANDLE file = ::CreateFileW(WideOf(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    EXPECT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
  }
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND box = WaitForWindow(program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  const MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, "Lorvaneグローバル");
  EXPECT_NE(view.text.find("大きすぎる"), std::string::npos) << view.text;
  EXPECT_NE(view.text.find("log.csv"), std::string::npos) << view.text;
  ASSERT_TRUE(CloseBox(box, IDOK));
  HWND main = WaitForWindow(program.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(StatusFields(main)[2], "履歴:上限超");
  EXPECT_EQ(GridCell(::GetDlgItem(main, kIdMainGrid), 2, 0), "適用");
  ::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(program.WaitForExit(&exit_code));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW(WideOf(path).c_str(), GetFileExInfoStandard, &data));
  const LONGLONG size = static_cast<LONGLONG>((ULONGLONG{data.nFileSizeHigh} << 32) |
                                              data.nFileSizeLow);
  // Check start, check end and the off marker went in after a line end; nothing was cut.
  EXPECT_GT(size, kSize + 40);
  EXPECT_LT(size, kSize + 200);
  ClearDataFolder();
}

// Every click on Update the moment it is enabled starts a lookup: none is lost to a
// worker that has handed its result over but not yet ended.
TEST(HistoryGrid, UpdateClickedTheMomentItIsEnabledAlwaysStartsALookup) {
  PrepareHistory(3, 0);
  Session run;
  Start(&run, 3);
  const HWND update = ::GetDlgItem(run.main, kIdUpdate);
  // Each lookup keeps Update disabled long enough to be seen.
  SetLookupAnswer(std::string("!slow").append(kAnswer));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  const int before = LookupRequestCount();
  const auto spin_until = [](const auto& condition) {
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    while (!condition()) {
      if (::GetTickCount64() > deadline) return false;
    }
    return true;
  };
  // The hand waits on the button.
  HoverOver(update);
  constexpr int kClicks = 20;
  int started = 0;
  for (int i = 0; i < kClicks; ++i) {
    ASSERT_TRUE(spin_until([&] { return ::IsWindowEnabled(update) != FALSE; })) << i;
    ClickWindow(update);
    // A click that starts a lookup greys the button until the answer is in.
    if (spin_until([&] { return ::IsWindowEnabled(update) == FALSE; })) {
      ++started;
    } else {
      ADD_FAILURE() << "click " << i << " started nothing";
    }
  }
  EXPECT_EQ(started, kClicks) << "requests: " << LookupRequestCount() - before;
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  EXPECT_EQ(LookupRequestCount(), before + kClicks);
  EXPECT_TRUE(EndSession(&run));
}

// Another program holds log.csv open without sharing writes, as a spreadsheet does, from
// before an address change until after the exit; the program is then started again.
TEST(HistoryGrid, RecordsALockedLogKeptOutSurviveTheExitAndGoInFirstAtTheNextStart) {
  PrepareHistory(2, 0);
  Session run;
  Start(&run, 2);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run.main, kIdUpdate)); }));
  const std::string log_path = DataFolder() + "log.csv";
  const std::string before = ReadDataFile("log.csv");
  HANDLE holder = OpenToHold(log_path, FILE_SHARE_READ);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  SetLookupAnswer("[203.0.113.9]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  // Shown as it will stand once written, though the file cannot take it yet.
  EXPECT_TRUE(WaitUntil([&] { return GridRows(run.grid) == 5; })) << GridRows(run.grid);
  EXPECT_EQ(GridCell(run.grid, 2, 4), "  203.0.113.9");
  ASSERT_TRUE(EndSession(&run));

  const std::vector<std::string> saved_lines = [] {
    std::vector<std::string> lines;
    std::string bytes = ReadDataFile("log.pending.csv");
    for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos; bytes.erase(0, at + 2)) {
      lines.push_back(bytes.substr(0, at));
    }
    return lines;
  }();
  ::CloseHandle(holder);
  EXPECT_EQ(ReadDataFile("log.csv"), before);
  ASSERT_EQ(saved_lines.size(), 3u) << ReadDataFile("log.pending.csv");
  EXPECT_EQ(Code(saved_lines[0]) + " " + Text(saved_lines[0]), "20 203.0.113.9");
  EXPECT_EQ(Code(saved_lines[1]), "2");
  EXPECT_EQ(saved_lines[2].substr(0, 13), "5,0,***,***,*");

  // Free again: the kept records go in first, in order, then this run's check start.
  Session again;
  ASSERT_TRUE(StartSession(&again, 8)) << GridRows(again.grid);
  ASSERT_TRUE(WaitForLogLines(7));
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 7u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(Fields(lines[i])[0], std::to_string(i)) << lines[i];
  }
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 6), saved_lines);
  EXPECT_EQ(Code(lines[6]), "1");
  EXPECT_EQ(ReadDataFile("log.pending.csv"), "<missing>");
  EXPECT_TRUE(EndSession(&again));
}

}  // namespace
}  // namespace lvn::e2e
