// The history grid's commands as a user gives them: mouse selection, the pop-up menu and its
// copy, Ctrl+A, and delete mode with its question, its caption and what it leaves on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

constexpr char kAnswer[] = "[198.51.100.7]\r\nLorvane lookup\r\n";

std::string Record(int key, int code, const std::string& text) {
  std::string line = std::to_string(key);
  line.append(",").append(std::to_string(code)).append(",2019/07/04,09:05:03,").append(text);
  return line;
}

// Eight records: check starts at 0 and 5, an outage at 3 and 4, addresses around them.
const std::vector<std::string> kRecords = {
    Record(0, 1, "チェック開始"), Record(1, 20, "203.0.113.1"), Record(2, 20, "203.0.113.2"),
    Record(3, 11, "通信エラー"),  Record(4, 12, "通信回復"),    Record(5, 1, "チェック開始"),
    Record(6, 20, "203.0.113.3"), Record(7, 20, "203.0.113.4"),
};

// The records above, the lookup's address known already, and the view switches as given.
void Start(Session* run, bool view_check_start, int rows) {
  ClearDataFolder();
  std::string log;
  for (const std::string& record : kRecords) log.append(record).append("\r\n");
  WriteDataFile("log.csv", Sjis(log));
  std::string ini = "[Value]\r\nIpHoz=198.51.100.7\r\nPrimaryKey=7\r\nViewCheckStart=";
  WriteDataFile("lvn.ini", ini.append(view_check_start ? "1" : "0").append("\r\n"));
  SetLookupAnswer(kAnswer);
  ASSERT_TRUE(StartSession(run, rows)) << GridRows(run->grid);
  // The first lookup is handled: nothing else will reload the grid.
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run->main, kIdUpdate)); }));
}

// Current row, selection top and bottom.
std::vector<int> Where(HWND grid) {
  return {GridCurrentRow(grid), GridSelectionTop(grid), GridSelectionBottom(grid)};
}

::testing::AssertionResult WaitForWhere(HWND grid, const std::vector<int>& where) {
  if (WaitUntil([&] { return Where(grid) == where; })) return ::testing::AssertionSuccess();
  const std::vector<int> now = Where(grid);
  return ::testing::AssertionFailure() << "current " << now[0] << ", selection " << now[1]
                                       << " to " << now[2];
}

// Picks the pop-up's first item, "適用をコピー", once the menu shows.
bool CopyFromPopup(const Session& run) {
  const DWORD id = run.program.Id();
  if (!WaitUntil([id] { return MenuShows(id); })) return false;
  PressKeys(run.main, {VK_DOWN});
  PressKeys(run.main, {VK_RETURN});
  return WaitUntil([id] { return !MenuShows(id); });
}

TEST(GridCommands, SelectionCopyAndSelectAll) {
  Session run;
  Start(&run, true, 10);  // the header, eight records, this run's check start
  const HWND grid = run.grid;

  ClickAt(grid, GridRowPoint(grid, 3));
  ASSERT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  EXPECT_EQ(StatusFields(run.main)[2], "行:3/9");
  ClickAt(grid, GridRowPoint(grid, 5), Button::kLeft, true);
  EXPECT_TRUE(WaitForWhere(grid, {5, 3, 5}));
  DragBetween(grid, GridRowPoint(grid, 2), GridRowPoint(grid, 4));
  EXPECT_TRUE(WaitForWhere(grid, {4, 2, 4}));
  PressKeys(run.main, {VK_SHIFT, VK_DOWN});
  EXPECT_TRUE(WaitForWhere(grid, {5, 2, 5}));
  EXPECT_EQ(StatusFields(run.main)[2], "行:5/9");

  // The pop-up copies the current row's text, without its indent, whatever is selected.
  ClickAt(grid, GridRowPoint(grid, 4), Button::kRight);
  ASSERT_TRUE(CopyFromPopup(run));
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == "通信回復"; })) << ClipboardText();
  ClickAt(grid, GridRowPoint(grid, 2));
  ASSERT_TRUE(WaitForWhere(grid, {2, 2, 2}));
  PressKeys(run.main, {VK_APPS});
  ASSERT_TRUE(CopyFromPopup(run));
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == "203.0.113.1"; })) << ClipboardText();

  // Ctrl+A: every data row, the last one current, the row indicator as it was.
  PressKeys(run.main, {VK_CONTROL, 'A'});
  EXPECT_TRUE(WaitForWhere(grid, {9, 1, 9}));
  EXPECT_EQ(StatusFields(run.main)[2], "行:2/9");
  EXPECT_TRUE(EndSession(&run));
}

TEST(GridCommands, DeleteModeAsksOnceDeletesShownRecordsAndEndsWithF4) {
  Session run;
  // Check starts hidden: rows 1 to 6 are records 1, 2, 3, 4, 6 and 7.
  Start(&run, false, 7);
  const HWND grid = run.grid;
  const std::vector<std::string> before = LogLines();
  ASSERT_EQ(before.size(), 9u);

  // Rows 4 and 5: records 4 and 6, with the hidden check start 5 between them.
  ClickAt(grid, GridRowPoint(grid, 4));
  ASSERT_TRUE(WaitForWhere(grid, {4, 4, 4}));
  ClickAt(grid, GridRowPoint(grid, 5), Button::kLeft, true);
  ASSERT_TRUE(WaitForWhere(grid, {5, 4, 5}));

  // Delete held with Shift or Ctrl does nothing; Ctrl+A after each shows it was handled.
  for (const WORD held : {WORD{VK_SHIFT}, WORD{VK_CONTROL}}) {
    PressKeys(run.main, {held, VK_DELETE});
    PressKeys(run.main, {VK_CONTROL, 'A'});
    ASSERT_TRUE(WaitForWhere(grid, {6, 1, 6}));
    EXPECT_TRUE(TopLevelWindows(run.program.Id(), "#32770").empty());
    ClickAt(grid, GridRowPoint(grid, 4));
    ClickAt(grid, GridRowPoint(grid, 5), Button::kLeft, true);
    ASSERT_TRUE(WaitForWhere(grid, {5, 4, 5}));
  }
  EXPECT_EQ(LogLines(), before);

  const auto answer = [&](int button) {
    PressKeys(run.main, {VK_DELETE});
    HWND box = WaitForWindow(run.program.Id(), "#32770");
    EXPECT_NE(box, nullptr);
    if (box == nullptr) return MessageBoxView{};
    const MessageBoxView view = ReadMessageBox(box);
    EXPECT_EQ(view.default_button, IDNO) << "No is the default";
    EXPECT_TRUE(PressButton(box, button));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    return view;
  };

  // The first Delete asks, with the window's caption as title; No changes nothing.
  MessageBoxView box = answer(IDNO);
  EXPECT_EQ(box.text, "Deleteキーによる削除を有効にしますか？");
  EXPECT_EQ(box.caption, "Lorvaneグローバル");
  EXPECT_EQ(box.buttons.size(), 2u);
  EXPECT_FALSE(box.has_icon);
  EXPECT_EQ(WindowText(run.main), "Lorvaneグローバル");
  EXPECT_EQ(LogLines(), before);

  // Yes: delete mode, and the two shown records go at once; the hidden one stays.
  answer(IDYES);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(run.main) == "Lorvane *削除モード* 解除:F4"; }));
  ASSERT_TRUE(WaitUntil([&] { return LogLines().size() == 7u; }));
  const std::vector<std::string> after_first = {
      Sjis("0,1,2019/07/04,09:05:03,チェック開始"), "1,20,2019/07/04,09:05:03,203.0.113.1",
      "2,20,2019/07/04,09:05:03,203.0.113.2", Sjis("3,11,2019/07/04,09:05:03,通信エラー"),
      Sjis("4,1,2019/07/04,09:05:03,チェック開始"), "5,20,2019/07/04,09:05:03,203.0.113.4"};
  std::vector<std::string> log = LogLines();
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6), after_first);
  EXPECT_EQ(log[6].substr(0, 4), "6,1,") << "this run's check start, renumbered";
  EXPECT_NE(ReadDataFile("lvn.ini").find("PrimaryKey=6\r\n"), std::string::npos);
  // The row after the removed block becomes current.
  EXPECT_TRUE(WaitForWhere(grid, {4, 4, 4}));
  EXPECT_EQ(GridCell(grid, 2, 4), "  203.0.113.4");
  EXPECT_EQ(StatusFields(run.main)[2], "行:4/4");

  // In delete mode Delete does not ask; the last row goes, and the new last row is current.
  PressKeys(run.main, {VK_DELETE});
  ASSERT_TRUE(WaitUntil([&] { return LogLines().size() == 6u; }));
  EXPECT_TRUE(TopLevelWindows(run.program.Id(), "#32770").empty());
  EXPECT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  EXPECT_EQ(GridRows(grid), 4);

  // F4 ends delete mode; the next Delete asks again, under the new caption.
  PressKeys(run.main, {VK_F4});
  EXPECT_TRUE(WaitUntil([&] { return WindowText(run.main) == "Lorvane"; }));
  box = answer(IDNO);
  EXPECT_EQ(box.caption, "Lorvane");
  EXPECT_EQ(LogLines().size(), 6u);
  EXPECT_TRUE(EndSession(&run));
  EXPECT_NE(ReadDataFile("lvn.ini").find("PrimaryKey=7\r\n"), std::string::npos)
      << "the check end and the off marker follow";
}

// Rows stand for the places of records as the grid last read them. After another program
// changed the log, a delete removes nothing and says so, and the grid shows the log anew;
// while another program holds the log, a delete waits a little, then says it could not.
TEST(GridCommands, DeleteRemovesNothingFromALogAnotherProgramChangedOrHolds) {
  Session run;
  Start(&run, false, 7);  // rows 1 to 6: records 1, 2, 3, 4, 6 and 7
  const HWND grid = run.grid;
  const auto texts = [] {
    std::vector<std::string> in_file;
    for (const std::string& line : LogLines()) in_file.push_back(Text(line));
    return in_file;
  };
  const auto box_after_delete = [&](bool asks) {
    PressKeys(run.main, {VK_DELETE});
    HWND box = WaitForWindow(run.program.Id(), "#32770");
    if (asks && box != nullptr) {
      EXPECT_TRUE(CloseBox(box, IDYES));
      box = WaitForWindow(run.program.Id(), "#32770");
    }
    if (box == nullptr) return std::string("<no box>");
    const std::string text = ReadMessageBox(box).text;
    EXPECT_TRUE(CloseBox(box, IDOK));
    return text;
  };

  // A spreadsheet removes the first record, the check start the grid hides: every record
  // after it has moved up one place. Row 3 still shows record 3, 通信エラー.
  std::string log = ReadDataFile("log.csv");
  WriteDataFile("log.csv", log.substr(log.find("\r\n") + 2));
  std::vector<std::string> kept = texts();
  ClickAt(grid, GridRowPoint(grid, 3));
  ASSERT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  ASSERT_EQ(GridCell(grid, 2, 3), "  通信エラー");
  EXPECT_EQ(box_after_delete(true).rfind("履歴がほかのプログラムによって変更されていた", 0), 0u);
  EXPECT_EQ(texts(), kept) << "no record went, 通信回復 in particular";

  // Chosen again, the row goes, and only that record.
  ASSERT_EQ(GridCell(grid, 2, 3), "  通信エラー");
  PressKeys(run.main, {VK_DELETE});
  kept.erase(kept.begin() + 2);
  EXPECT_TRUE(WaitUntil([&] { return texts() == kept; })) << LogLines().size();

  // Held without sharing, the log keeps its records, and the rows stay.
  ASSERT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  ASSERT_EQ(GridCell(grid, 2, 3), "  通信回復");
  {
    const std::string path = DataFolder() + "log.csv";
    HANDLE held = OpenToHold(path, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string text = box_after_delete(false);
    ::CloseHandle(held);
    EXPECT_EQ(text.rfind("ほかのプログラムが log.csv を使用しているため", 0), 0u) << text;
  }
  EXPECT_EQ(texts(), kept);
  EXPECT_EQ(GridCell(grid, 2, 3), "  通信回復");
  PressKeys(run.main, {VK_DELETE});
  kept.erase(kept.begin() + 2);
  EXPECT_TRUE(WaitUntil([&] { return texts() == kept; })) << LogLines().size();
  EXPECT_TRUE(EndSession(&run));
}

// The log's texts in file order, as its bytes, and whether its keys are 0, 1, 2 ...
std::vector<std::string> LogTexts() {
  std::vector<std::string> texts;
  for (const std::string& line : LogLines()) {
    if (Fields(line)[0] != std::to_string(texts.size())) return {"<key out of place>", line};
    texts.push_back(Text(line));
  }
  return texts;
}

TEST(GridCommands, DeleteTakesWhatWasSelectedWhenTheKeyWasPressed) {
  Session run;
  ClearDataFolder();
  // A check start, an address, a check start and end around 10.0.0.2, then ten addresses.
  std::vector<std::string> texts = {"チェック開始", "10.0.0.1", "チェック開始", "10.0.0.2",
                                    "チェック終了"};
  for (int i = 3; i <= 12; ++i) texts.push_back("10.0.0." + std::to_string(i));
  std::string log;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int code = texts[i][0] == '1' ? 20 : (texts[i] == "チェック終了" ? 2 : 1);
    log.append(Record(static_cast<int>(i), code, texts[i])).append("\r\n");
    texts[i] = Sjis(texts[i]);
  }
  WriteDataFile("log.csv", Sjis(log));
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\nPrimaryKey=14\r\n");
  SetLookupAnswer(kAnswer);
  ASSERT_TRUE(StartSession(&run, 17));  // the header, fifteen records, this run's start
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run.main, kIdUpdate)); }));
  const HWND grid = run.grid;
  ASSERT_TRUE(ChooseFromMenu(run, 'O', VK_RETURN));
  const HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);

  // Row 4 shows 10.0.0.2 when Delete is pressed; while the question is open the options
  // window hides check start and end, so row 4 would show 10.0.0.4.
  ClickAt(grid, GridRowPoint(grid, 4));
  ASSERT_TRUE(WaitForWhere(grid, {4, 4, 4}));
  ASSERT_EQ(GridCell(grid, 2, 4), "  10.0.0.2");
  PressKeys(run.main, {VK_DELETE});
  const HWND box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  ClickAt(::GetDlgItem(options, kIdViewCheck), POINT{10, 16});
  ASSERT_TRUE(WaitUntil([&] { return GridRows(grid) == 13; })) << GridRows(grid);
  ASSERT_TRUE(CloseBox(box, IDYES));
  std::vector<std::string> kept = texts;
  kept.erase(kept.begin() + 3);
  kept.push_back(Sjis("チェック開始"));  // this run's
  EXPECT_TRUE(WaitUntil([&] { return LogTexts() == kept; })) << LogLines().size();
  EXPECT_EQ(GridCell(grid, 2, 2), "  10.0.0.3") << "the grid shows what is left";

  // Rows 7 up to 3 selected upward, 10.0.0.8 down to 10.0.0.4, deleted in delete mode:
  // afterwards only the current row is selected, and the next Delete takes it alone.
  ClickAt(grid, GridRowPoint(grid, 7));
  ASSERT_TRUE(WaitForWhere(grid, {7, 7, 7}));
  ClickAt(grid, GridRowPoint(grid, 3), Button::kLeft, true);
  ASSERT_TRUE(WaitForWhere(grid, {3, 3, 7}));
  PressKeys(run.main, {VK_DELETE});
  kept.erase(kept.begin() + 5, kept.begin() + 10);
  EXPECT_TRUE(WaitUntil([&] { return LogTexts() == kept; })) << LogLines().size();
  EXPECT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  EXPECT_EQ(GridCell(grid, 2, 3), "  10.0.0.9");
  PressKeys(run.main, {VK_DELETE});
  kept.erase(kept.begin() + 5);
  EXPECT_TRUE(WaitUntil([&] { return LogTexts() == kept; })) << LogLines().size();
  EXPECT_TRUE(WaitForWhere(grid, {3, 3, 3}));
  EXPECT_EQ(GridCell(grid, 2, 3), "  10.0.0.10");
  EXPECT_TRUE(EndSession(&run));
}

}  // namespace
}  // namespace lvn::e2e
