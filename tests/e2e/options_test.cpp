// The options window as a user meets it: its layout and keys, changes that act on the main
// window at once, one window at a time, hiding with the main window, and the values that
// reach lvn.ini at exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

constexpr char kAnswer[] = "[198.51.100.7]\r\nLorvane lookup\r\n";

// A check start, an address, the check end and the off marker of an earlier run.
// (UTF-8 here; the file holds its code page 932 bytes.)
constexpr char kLog[] =
    "0,1,2019/07/04,09:05:00,チェック開始\r\n"
    "1,20,2019/07/04,09:05:03,198.51.100.7\r\n"
    "2,2,2019/07/04,18:30:00,チェック終了\r\n"
    "3,0,***,***,***\r\n";

// rows: what the grid shows once the start is recorded.
void Start(Session* run, const std::string& ini_lines, int rows) {
  ClearDataFolder();
  WriteDataFile("log.csv", Sjis(kLog));
  WriteDataFile("lvn.ini", "[Value]\r\nIpUrl=https://www.ombrix.example/lvn.php\r\n"
                           "IpHoz=198.51.100.7\r\nPrimaryKey=3\r\n" + ini_lines);
  SetLookupAnswer(kAnswer);
  ASSERT_TRUE(StartSession(run, rows)) << GridRows(run->grid);
}

std::vector<HWND> VisibleOptionWindows(const Session& run) {
  std::vector<HWND> shown;
  for (HWND window : TopLevelWindows(run.program.Id(), "TfrmOption")) {
    if (::IsWindowVisible(window)) shown.push_back(window);
  }
  return shown;
}

// 設定(O), then its only item, 環境設定, with the keys.
HWND OpenOptions(const Session& run) {
  if (!ChooseFromMenu(run, 'O', VK_RETURN)) return nullptr;
  return WaitForWindow(run.program.Id(), "TfrmOption");
}

LRESULT Ask(HWND control, UINT message, WPARAM wparam = 0) {
  return ::SendMessageW(control, message, wparam, 0);
}

bool Checked(HWND options, int id) {
  return Ask(::GetDlgItem(options, id), BM_GETCHECK) == BST_CHECKED;
}

RECT PlaceIn(HWND parent, HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(OptionsWindow, LayoutValuesAndKeys) {
  Session run;
  // An interval the list does not hold, and the off markers hidden.
  // The header, the four records but the off marker, and this run's check start.
  Start(&run, "Interval=120000\r\nViewOff=0\r\n", 5);
  HWND options = OpenOptions(run);
  ASSERT_NE(options, nullptr);

  EXPECT_EQ(WindowText(options), "環境設定");
  RECT frame{}, client{};
  ::GetWindowRect(options, &frame);
  ::GetClientRect(options, &client);
  EXPECT_EQ(frame.left, 732);
  EXPECT_EQ(frame.top, 199);
  EXPECT_EQ(client.right, 366);
  EXPECT_EQ(client.bottom, 239);
  const LONG style = ::GetWindowLongW(options, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

  const struct {
    int id;
    const char* kind;
    RECT place;
    const char* text;
  } controls[] = {
      {kIdSectionTree, "SysTreeView32", {0, 8, 73, 201}, ""},
      {kIdIntervalGroup, "Button", {88, 16, 265, 65}, "チェック間隔"},
      {kIdLanguageLabel, "Static", {272, 16, 361, 30}, "表示言語(&G)"},
      {kIdLanguageNote, "Static", {272, 64, 361, 78}, "次の起動から"},
      {kIdViewGroup, "Button", {88, 80, 361, 201}, "表示"},
      {kIdViewCheck, "Button", {96, 96, 345, 129}, "チェック開始 / 終了 (&C)"},
      {kIdViewConnect, "Button", {96, 128, 345, 161}, "通信エラー / 回復 (&E)"},
      {kIdViewOff, "Button", {96, 160, 345, 193}, "**** オフ状態 (&O)"},
      {kIdOptionOk, "Button", {240, 208, 361, 233}, "OK(&O)"},
  };
  for (const auto& c : controls) {
    HWND control = ::GetDlgItem(options, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(ClassNameOf(control), c.kind) << c.id;
    const RECT place = PlaceIn(options, control);
    EXPECT_EQ(place.left, c.place.left) << c.id;
    EXPECT_EQ(place.top, c.place.top) << c.id;
    EXPECT_EQ(place.right, c.place.right) << c.id;
    EXPECT_EQ(place.bottom, c.place.bottom) << c.id;
    if (c.id != kIdSectionTree) {
      EXPECT_EQ(WindowText(control), c.text) << c.id;
    }
  }
  HWND list = ::GetDlgItem(options, kIdIntervalCombo);
  EXPECT_EQ(ClassNameOf(list), "ComboBox");
  EXPECT_EQ(PlaceIn(options, list).left, 96);
  EXPECT_EQ(PlaceIn(options, list).right, 96 + 113);
  ASSERT_EQ(Ask(list, CB_GETCOUNT), 7);
  EXPECT_EQ(Ask(list, CB_GETCURSEL), 2) << "120000 is not in the list: the nearest, 1分, shows";
  EXPECT_EQ(StatusFields(run.main)[0], "自動:2分") << "and the interval stays";
  HWND languages = ::GetDlgItem(options, kIdLanguageCombo);
  EXPECT_EQ(PlaceIn(options, languages).left, 272);
  EXPECT_EQ(PlaceIn(options, languages).right, 361);
  EXPECT_EQ(Ask(languages, CB_GETCOUNT), 3);
  EXPECT_EQ(Ask(languages, CB_GETCURSEL), 0) << "automatic";
  EXPECT_TRUE(Checked(options, kIdViewCheck));
  EXPECT_TRUE(Checked(options, kIdViewConnect));
  EXPECT_FALSE(Checked(options, kIdViewOff));
  EXPECT_EQ(Ask(::GetDlgItem(options, kIdSectionTree), TVM_GETCOUNT), 4);

  // Tab goes round the controls in their order; the tree has the focus first.
  const std::vector<int> tab_order = {kIdSectionTree, kIdIntervalCombo, kIdLanguageCombo,
                                      kIdViewCheck,   kIdViewConnect,   kIdViewOff,
                                      kIdOptionOk,    kIdSectionTree};
  ASSERT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == kIdSectionTree; }));
  for (std::size_t i = 1; i < tab_order.size(); ++i) {
    PressKeys(options, {VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == tab_order[i]; }))
        << "after " << tab_order[i - 1] << " came " << ::GetDlgCtrlID(FocusIn(options));
  }

  // Mnemonics: Alt+C and Alt+E tick their boxes, and the grid follows at once.
  PressKeys(options, {VK_MENU, 'C'});
  EXPECT_TRUE(WaitUntil([&] { return !Checked(options, kIdViewCheck); }));
  EXPECT_TRUE(WaitUntil([&] { return GridRows(run.grid) == 2; })) << "check start and end go";
  PressKeys(options, {VK_MENU, 'E'});
  EXPECT_TRUE(WaitUntil([&] { return !Checked(options, kIdViewConnect); }));
  PressKeys(options, {VK_MENU, 'C'});
  EXPECT_TRUE(WaitUntil([&] { return GridRows(run.grid) == 5; }));
  // Alt+O names two controls: the focus goes from one to the other, nothing is clicked.
  PressKeys(options, {VK_MENU, 'O'});
  EXPECT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == kIdViewOff; }));
  PressKeys(options, {VK_MENU, 'O'});
  EXPECT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == kIdOptionOk; }));
  EXPECT_TRUE(::IsWindow(options));
  EXPECT_FALSE(Checked(options, kIdViewOff));

  EXPECT_TRUE(EndSession(&run));
}

TEST(OptionsWindow, ChangesActAtOnceOneWindowAtATimeAndReachTheSettingsAtExit) {
  Session run;
  Start(&run, "Interval=120000\r\n", 6);
  HWND options = OpenOptions(run);
  ASSERT_NE(options, nullptr);
  HWND list = ::GetDlgItem(options, kIdIntervalCombo);

  // A pick acts at once: from 1分, the nearest item, up to 30秒, then 15秒; the timer runs
  // at 15 s from then on.
  ClickAt(list, POINT{20, 8});
  ASSERT_TRUE(WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) != 0; }));
  PressKeys(options, {VK_UP});
  PressKeys(options, {VK_RETURN});
  EXPECT_TRUE(WaitUntil([&] { return StatusFields(run.main)[0] == "自動:30秒"; }));
  PressKeys(options, {VK_UP});
  EXPECT_TRUE(WaitUntil([&] { return StatusFields(run.main)[0] == "自動:15秒"; }));
  const int lookups = LookupRequestCount();
  EXPECT_TRUE(WaitUntil([&] { return LookupRequestCount() > lookups; }, 25000))
      << "a check within the new period";

  // A box clicked with the mouse acts on the grid at once.
  ClickAt(::GetDlgItem(options, kIdViewOff), POINT{10, 16});
  EXPECT_TRUE(WaitUntil([&] { return GridRows(run.grid) == 5; })) << "the off marker goes";
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == options; }));

  // The Settings command again brings the same window to the front.
  ::SetForegroundWindow(run.main);
  OpenOptions(run);
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == options; }));
  EXPECT_EQ(VisibleOptionWindows(run), std::vector<HWND>{options});

  // Closing the main window hides both; the tray icon brings both back.
  ::PostMessageW(run.main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(run.main); }));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(options); }));
  ::PostMessageW(::GetDlgItem(run.main, kIdTaskTrayIbent), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(run.main) != FALSE; }));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(options) != FALSE; }));

  // OK closes it; the next one shows the values as they are now.
  ASSERT_TRUE(PressButton(options, kIdOptionOk));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));
  EXPECT_TRUE(TopLevelWindows(run.program.Id(), "TfrmOption").empty());
  HWND reopened = OpenOptions(run);
  ASSERT_NE(reopened, nullptr);
  EXPECT_NE(reopened, options);
  EXPECT_EQ(Ask(::GetDlgItem(reopened, kIdIntervalCombo), CB_GETCURSEL), 0);
  EXPECT_TRUE(Checked(reopened, kIdViewCheck));
  EXPECT_FALSE(Checked(reopened, kIdViewOff));
  EXPECT_EQ(ReadDataFile("lvn.ini").find("ViewOff"), std::string::npos)
      << "nothing of the options is saved before the exit";

  // English, the list's last language, is chosen for the next start: this one stays Japanese.
  PressKeys(reopened, {VK_MENU, 'G'});
  ASSERT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(reopened)) == kIdLanguageCombo; }));
  PressKeys(reopened, {VK_END});
  EXPECT_TRUE(WaitUntil(
      [&] { return Ask(::GetDlgItem(reopened, kIdLanguageCombo), CB_GETCURSEL) == 2; }));
  EXPECT_EQ(WindowText(reopened), "環境設定");
  EXPECT_EQ(WindowText(run.main), "Lorvaneグローバル");

  // The exit ends the program with the options window open, and saves what it changed.
  ASSERT_TRUE(ChooseFromMenu(run, 'F', 'X'));
  DWORD exit_code = 99;
  ASSERT_TRUE(run.program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  const std::string ini = ReadDataFile("lvn.ini");
  EXPECT_NE(ini.find("Interval=15000\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ViewOff=0\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ViewCheckStart=1\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("[Lookup]"), std::string::npos) << "its 接続 page was left alone";
  EXPECT_NE(ini.find("[View]\r\nLanguage=en\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace lvn::e2e
