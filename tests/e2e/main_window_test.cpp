// The program doing its job: lookups against the fault server (the default lookup host
// resolves to it in the test run), records in log.csv, the display, the tray, the exits.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"

namespace lvn::e2e {
namespace {

bool IsUpdated(const std::string& text) {
  return MatchesTime(text, "更新:", "9999/99/99 99:99:99");
}

TEST(MainWindow, ChecksRecordsAndExitsFromTheFileMenu) {
  ASSERT_FALSE(EnvironmentVariable("LVN_FAULT_LOG").empty()) << "run through scripts/test.sh";
  ClearDataFolder();
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND main = WaitForWindow(program.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  HWND grid = ::GetDlgItem(main, kIdMainGrid);

  // First run: check start, then the first address is a change.
  ASSERT_TRUE(WaitForLogLines(2));
  std::vector<std::string> log = LogLines();
  EXPECT_EQ(Code(log[0]), "1");
  EXPECT_EQ(Text(log[0]), Sjis("チェック開始"));
  EXPECT_EQ(Code(log[1]), "20");
  EXPECT_EQ(Text(log[1]), "198.51.100.7");
  ASSERT_TRUE(WaitUntil([&] { return IsNowIp(WindowText(::GetDlgItem(main, kIdNowIp)), "198.51.100.7"); }));
  EXPECT_TRUE(IsUpdated(WindowText(::GetDlgItem(main, kIdUpdateTime))));
  ASSERT_EQ(GridRows(grid), 3);
  EXPECT_EQ(GridCell(grid, 0, 0), "日付");
  EXPECT_EQ(GridCell(grid, 2, 1), "チェック開始");
  EXPECT_EQ(GridCell(grid, 2, 2), "  198.51.100.7");
  EXPECT_EQ(StatusFields(main),
            (std::vector<std::string>{"自動:1分", "api.ipify.org", "行:1/2"}));
  const std::string ini_after_change = ReadDataFile("lvn.ini");
  EXPECT_NE(ini_after_change.find("IpHoz=198.51.100.7\r\n"), std::string::npos);

  // The same address again records nothing.
  ASSERT_TRUE(CheckNow(main));
  EXPECT_EQ(LogLines().size(), 2u);

  // While a lookup runs, Update is disabled.
  SetLookupAnswer("!trickle");
  HWND update = ::GetDlgItem(main, kIdUpdate);
  ::PostMessageW(update, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) == FALSE; }));
  // The window answers at once while the lookup waits for the network.
  DWORD_PTR answered = 0;
  EXPECT_NE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answered), 0);
  // The slow answer is a failure: the outage begins.
  ASSERT_TRUE(WaitForLogLines(3));
  EXPECT_EQ(Code(LogLines()[2]), "11");
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  EXPECT_TRUE(IsNowIp(WindowText(::GetDlgItem(main, kIdNowIp)), "通信エラー"));

  // One record for the whole outage.
  SetLookupAnswer("!down");
  ASSERT_TRUE(CheckNow(main));
  ASSERT_TRUE(CheckNow(main));
  EXPECT_EQ(LogLines().size(), 3u);
  EXPECT_EQ(Text(LogLines()[2]), Sjis("通信エラー"));

  // Recovery with a new address: recovery, then the change, at one time.
  SetLookupAnswer("IP=[203.0.113.9] ok");
  ASSERT_TRUE(CheckNow(main));
  ASSERT_TRUE(WaitForLogLines(5));
  log = LogLines();
  EXPECT_EQ(Code(log[3]), "12");
  EXPECT_EQ(Text(log[3]), Sjis("通信回復"));
  EXPECT_EQ(Code(log[4]), "20");
  EXPECT_EQ(Text(log[4]), "203.0.113.9");
  EXPECT_EQ(Fields(log[3])[3], Fields(log[4])[3]);
  ASSERT_EQ(GridRows(grid), 6);
  EXPECT_EQ(GridCell(grid, 2, 3), "  通信エラー");
  EXPECT_EQ(GridCell(grid, 2, 5), "  203.0.113.9");

  // Closing hides the window to the tray; a left click on the icon brings it back.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) == FALSE; }));
  EXPECT_TRUE(program.IsRunning());
  HWND tray = ::GetDlgItem(main, kIdTaskTrayIbent);
  EXPECT_EQ(WindowText(tray), "TaskTrayIbent");
  // Sent, not posted: once it returns the program has handled it. A double-click does nothing.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(tray, WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK, SMTO_ABORTIFHUNG, 5000, &ignored);
  EXPECT_FALSE(::IsWindowVisible(main));
  ::PostMessageW(tray, WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }));

  // File menu, Exit: check end, then the off marker, and every setting written.
  PressKeys(main, {VK_MENU, 'F'});
  PressKeys(main, {'X'});
  DWORD exit_code = 99;
  ASSERT_TRUE(program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  log = LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(Code(log[5]), "2");
  EXPECT_EQ(Text(log[5]), Sjis("チェック終了"));
  EXPECT_EQ(log[6], "6,0,***,***,***");
  EXPECT_EQ(ReadDataFile("lvn.ini"),
            "[Value]\r\nPrimaryKey=6\r\nIpHoz=203.0.113.9\r\nLastCnange=" +
                Fields(log[4])[2] + " " + Fields(log[4])[3] +
                "\r\nInterval=60000\r\nIpUrl=https://api.ipify.org\r\n"
                "ViewCheckStart=1\r\nViewConnectError=1\r\nViewOff=1\r\n\r\n"
                "[Lookup]\r\nFallbackUrl=https://checkip.amazonaws.com\r\n"
                "CheckOnNetworkChange=0\r\n\r\n");
}

TEST(MainWindow, ChecksGoOnWhileHiddenAndTheTrayMenuExits) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nInterval=5000\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND main = WaitForWindow(program.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitForLogLines(2));
  EXPECT_EQ(StatusFields(main)[0], "自動:15秒");

  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) == FALSE; }));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  EXPECT_EQ(TrayIconCount(), 1) << "closing again must not add a second icon";

  // The shell restarts and forgets the icon; the hidden window puts it back.
  HWND tray_target = ::GetDlgItem(main, kIdTaskTrayIbent);
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = tray_target;
  gone.uID = 100;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  ::SendMessageTimeoutW(main, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));

  // The timer runs at 15 s, hidden or not: one real tick.
  const int before = LookupRequestCount();
  EXPECT_TRUE(WaitUntil([&] { return LookupRequestCount() > before; }, 40000));

  // Right click on the icon: the tray menu, and its only item ends the program.
  ::PostMessageW(::GetDlgItem(main, kIdTaskTrayIbent), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return !TopLevelWindows(program.Id(), "#32768").empty(); }));
  PressKeys(main, {'X'});
  DWORD exit_code = 99;
  ASSERT_TRUE(program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(TrayIconCount(), 0);
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(Text(log[2]), Sjis("チェック終了"));
  EXPECT_EQ(log[3], "3,0,***,***,***");
  EXPECT_NE(ReadDataFile("lvn.ini").find("Interval=15000\r\n"), std::string::npos);
}

// The shell refuses the icon, as it may while busy at logon: closing then minimizes, so
// the window stays on the taskbar; restoring it tries the icon again.
TEST(MainWindow, WithoutItsIconClosingMinimizesInsteadOfHiding) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  Session run;
  ASSERT_TRUE(StartSession(&run, 2));
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));

  // The shell forgets the icon and restarts; a stand-in under the program's own id makes
  // it refuse every add of the program's until the stand-in goes.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = ::GetDlgItem(run.main, kIdTaskTrayIbent);
  icon.uID = 100;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon));
  icon.uFlags = NIF_ICON;
  icon.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &icon));
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(run.main, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &ignored);

  ::PostMessageW(run.main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(run.main) != FALSE; }));
  EXPECT_TRUE(::IsWindowVisible(run.main)) << "hidden without an icon: unreachable";

  icon.uFlags = 0;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  ::ShowWindow(run.main, SW_RESTORE);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 1; })) << "the add is tried again";
  ::PostMessageW(run.main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(run.main) == FALSE; }));
  EXPECT_TRUE(EndSession(&run));
}

TEST(MainWindow, ExitsWhileALookupWaitsForTheNetwork) {
  ClearDataFolder();
  SetLookupAnswer("!trickle");
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND main = WaitForWindow(program.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitForLogLines(1));
  // The first lookup, started at construction, is still trickling in.
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(main, kIdUpdate)));
  ::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  // Nothing after the off marker: the late result was never handled.
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(Code(log[1]), "2");
  EXPECT_EQ(log[2], "2,0,***,***,***");
}

}  // namespace
}  // namespace lvn::e2e
