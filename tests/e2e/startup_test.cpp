#include <gtest/gtest.h>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"

namespace lvn::e2e {
namespace {

constexpr char kTitle[] = "Lorvaneグローバル";

void ExpectFixedCentredMainWindow(HWND main) {
  EXPECT_EQ(WindowText(main), kTitle);
  RECT client{};
  ASSERT_TRUE(::GetClientRect(main, &client));
  EXPECT_EQ(client.right - client.left, 343);
  EXPECT_EQ(client.bottom - client.top, 430);

  const LONG style = ::GetWindowLongW(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(main, &frame));
  const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(frame.left + (frame.right - frame.left) / 2, screen_width / 2, 1);
  EXPECT_NEAR(frame.top + (frame.bottom - frame.top) / 2, screen_height / 2, 1);
}

// One running copy serves the window checks, the refused second start and the clean end.
TEST(Startup, OneCopyPerLogon) {
  Program first;
  ASSERT_TRUE(Program::Launch(&first));
  HWND main = WaitForWindow(first.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  ExpectFixedCentredMainWindow(main);

  // The options window exists only while it is open.
  EXPECT_TRUE(TopLevelWindows(first.Id(), "TfrmOption").empty());

  Program second;
  ASSERT_TRUE(Program::Launch(&second));
  HWND box = WaitForWindow(second.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  const MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, kTitle);
  EXPECT_EQ(view.text, "すでに起動しています。");
  EXPECT_FALSE(view.has_icon);
  EXPECT_EQ(view.buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(TopLevelWindows(second.Id(), "TfrmMain").empty());

  ASSERT_TRUE(CloseBox(box, IDOK));
  DWORD exit_code = 99;
  ASSERT_TRUE(second.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);

  EXPECT_TRUE(first.IsRunning());
  EXPECT_TRUE(::IsWindowVisible(main));

  ASSERT_TRUE(::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0));
  ASSERT_TRUE(first.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);

  // The mutex went with the first copy: the next start runs normally.
  Program third;
  ASSERT_TRUE(Program::Launch(&third));
  HWND again = WaitForWindow(third.Id(), "TfrmMain");
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(TopLevelWindows(third.Id(), "#32770").empty());
  ASSERT_TRUE(::PostMessageW(again, WM_COMMAND, kCmdExitApp, 0));
  ASSERT_TRUE(third.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
}

TEST(Startup, RunsUnguardedWhenAnotherKindOfObjectHoldsTheName) {
  HANDLE squatter = ::CreateEventW(nullptr, TRUE, FALSE, L"Ombrix_LORVANE");
  ASSERT_NE(squatter, nullptr);
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND main = WaitForWindow(program.Id(), "TfrmMain");
  EXPECT_NE(main, nullptr);
  EXPECT_TRUE(TopLevelWindows(program.Id(), "#32770").empty());
  if (main != nullptr) ::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 99;
  EXPECT_TRUE(program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  ::CloseHandle(squatter);
}

}  // namespace
}  // namespace lvn::e2e

namespace lvn::e2e {
namespace {

TEST(Startup, AnUnreadableSettingsFileEndsTheProgramWithoutTouchingAnything) {
  ClearDataFolder();
  const std::string ini = "[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\nInterval=3600000\r\n\r\n";
  WriteDataFile("lvn.ini", ini);
  HANDLE holder = OpenToHold(DataFolder() + "lvn.ini", 0);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Program program;
  ASSERT_TRUE(Program::Launch(&program));
  HWND box = WaitForWindow(program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  const MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, kTitle);
  EXPECT_NE(view.text.find("lvn.ini"), std::string::npos) << view.text;
  ASSERT_TRUE(CloseBox(box, IDOK));
  DWORD exit_code = 99;
  ASSERT_TRUE(program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  ::CloseHandle(holder);
  EXPECT_EQ(ReadDataFile("lvn.ini"), ini);
  EXPECT_EQ(ReadDataFile("log.csv"), "<missing>");
}

// A copy with lvn.ini beside it keeps its settings and history there, not in %APPDATA%;
// started from a shortcut set to run minimized (as at logon) it shows only its icon, and
// a click on the icon shows the window.
TEST(Startup, APortableCopyStartedMinimizedKeepsItsDataBesideItAndShowsOnlyItsIcon) {
  ClearDataFolder();
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  const std::string folder = "C:\\lvn-portable\\";
  ::CreateDirectoryW(WideOf(folder).c_str(), nullptr);
  ::DeleteFileW(WideOf(folder + "log.csv").c_str());
  ASSERT_TRUE(::CopyFileW(WideOf(ProgramPath()).c_str(), WideOf(folder + "lorvane.exe").c_str(),
                          FALSE));
  ASSERT_TRUE(WriteFileBytes(
      folder + "lvn.ini",
      "; settings of this copy\r\n[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\n"));
  const int icons = TrayIconCount();
  Program copy;
  ASSERT_TRUE(Program::Launch(&copy, folder + "lorvane.exe", "", SW_SHOWMINNOACTIVE));
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<HWND> found = TopLevelWindows(copy.Id(), "TfrmMain");
    main = found.empty() ? nullptr : found[0];
    return main != nullptr;
  }));
  EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == icons + 1; }));
  const auto log = [&] { return ReadFileBytes(folder + "log.csv"); };
  // Checking goes on from the start, with no window shown.
  EXPECT_TRUE(WaitUntil([&] { return log().find("198.51.100.7") != std::string::npos; }));
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_EQ(ReadDataFile("log.csv"), "<missing>");
  EXPECT_EQ(ReadDataFile("lvn.ini"), "<missing>");

  ::PostMessageW(::GetDlgItem(main, kIdTaskTrayIbent), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }));
  ::PostMessageW(main, WM_COMMAND, kCmdExitApp, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(copy.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_NE(log().find("***,***,***"), std::string::npos);
  EXPECT_EQ(ReadDataFile("log.csv"), "<missing>");
}

}  // namespace
}  // namespace lvn::e2e
