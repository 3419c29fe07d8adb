// The notices and the change command as a user meets them: set on the options window's
// 通知 page, acting on the changes the real program records, seen in the tray's balloon,
// command.log and what the command itself recorded (record_run.exe stands in for it).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness_win.h"
#include "windows/main/main_window_ids.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

std::string RecordRun() {
  std::string quoted = "\"";
  return quoted.append(ExecutableFolder()).append("record_run.exe\"");
}

// The lines record_run.exe wrote: "run", its folder, LORVANE_IP, LORVANE_OLDIP, its
// arguments, tab-separated, in UTF-8.
std::vector<std::string> Runs() {
  std::vector<std::string> runs;
  const std::string text = ReadDataFile("runs.txt");
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) break;
    if (text.compare(at, 4, "run\t") == 0) runs.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return runs;
}

// command.log holds code page 932.
bool CommandLogHas(const std::string& text) {
  return ReadDataFile("command.log").find(Sjis(text)) != std::string::npos;
}

// The text of a balloon shown now in Wine's tray.
bool BalloonShows(const std::string& text) { return TooltipShows(text); }

void SetField(HWND options, int id, const std::string& text) {
  const std::wstring wide = WideOf(text);
  ::SendMessageW(::GetDlgItem(options, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

TEST(Notify, ChangesReachTheCommandAndTheTrayAsTheNoticePageSetsThem) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\n[Notify]\r\nChange=1\r\nCommand=" +
                               RecordRun() + " %IP% %oldip% print:done exit:0\r\n");
  SetLookupAnswer("[203.0.113.9]\r\n");
  // A folder of the program's PATH with record_run.exe, and planted.exe where the system's
  // own search would look first.
  const std::string path_folder = "C:\\lvn-path";
  const std::string program_folder = ExecutableFolder();
  const std::wstring record_run = WideOf(program_folder + "record_run.exe");
  ::CreateDirectoryW(WideOf(path_folder).c_str(), nullptr);
  for (const std::string& copy : {path_folder + "\\record_run.exe", program_folder + "planted.exe",
                                  DataFolder() + "planted.exe"}) {
    ASSERT_TRUE(::CopyFileW(record_run.c_str(), WideOf(copy).c_str(), FALSE)) << copy;
  }
  const std::wstring path = WideOf(EnvironmentVariable("PATH"));
  ::SetEnvironmentVariableW(L"PATH", (path + L";" + WideOf(path_folder)).c_str());
  Session run;
  const bool started = StartSession(&run, 3);
  ::SetEnvironmentVariableW(L"PATH", path.c_str());
  ASSERT_TRUE(started);

  // The recorded change runs the command with both addresses, in the data folder, and
  // tells of the change.
  ASSERT_TRUE(WaitUntil([] { return Runs().size() == 1; }));
  std::string folder = DataFolder();
  folder.pop_back();
  EXPECT_EQ(Runs()[0], "run\t" + folder +
                           "\t203.0.113.9\t198.51.100.7\t203.0.113.9\t198.51.100.7\tprint:done\texit:0");
  ASSERT_TRUE(WaitUntil([] { return CommandLogHas("終了コード 0"); }));
  EXPECT_TRUE(CommandLogHas(RecordRun() + " 203.0.113.9 198.51.100.7 print:done exit:0"));
  EXPECT_TRUE(CommandLogHas("\tdone\r\n"));
  EXPECT_TRUE(WaitUntil([] { return BalloonShows("198.51.100.7 → 203.0.113.9"); }));

  // An answer that is no address is recorded, but runs nothing; the log says why.
  SetLookupAnswer("[203.0.113.9\" & calc]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_TRUE(WaitUntil([] { return CommandLogHas("新しいアドレスの形式が正しくないため実行しません"); }));
  EXPECT_EQ(Runs().size(), 1u);

  // The 通知 page shows the settings and changes them at once.
  ASSERT_TRUE(ChooseFromMenu(run, 'O', VK_RETURN));
  HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);
  HWND tree = ::GetDlgItem(options, kIdSectionTree);
  ::SetFocus(tree);
  PressKeys(options, {VK_DOWN});
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(::GetDlgItem(options, kIdNoticeGroup)); }));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(options, kIdViewGroup)));
  EXPECT_EQ(::IsDlgButtonChecked(options, kIdNoticeChange), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(options, kIdNoticeOutage), BST_UNCHECKED);
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdTimeoutEdit)), "60");
  const std::vector<int> tab_order = {kIdNoticeChange, kIdNoticeOutage, kIdCommandEdit,
                                      kIdCommandBrowse, kIdTimeoutEdit, kIdCommandTest,
                                      kIdOptionOk, kIdSectionTree};
  for (const int id : tab_order) {
    PressKeys(options, {VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == id; }))
        << "expected " << id << ", came " << ::GetDlgCtrlID(FocusIn(options));
  }
  PressKeys(options, {VK_MENU, 'R'});
  EXPECT_TRUE(WaitUntil([&] { return ::IsDlgButtonChecked(options, kIdNoticeOutage) == BST_CHECKED; }));

  // What is typed into the command field takes effect when the field is left: a change
  // that comes meanwhile (a check the user did not start) runs the command in use.
  PressKeys(options, {VK_TAB});
  ASSERT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == kIdCommandEdit; }));
  SetField(options, kIdCommandEdit, RecordRun() + " %IP% hang");
  SetLookupAnswer("[203.0.113.10]\r\n");
  ::PostMessageW(run.main, WM_COMMAND, MAKEWPARAM(kIdUpdate, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([] { return Runs().size() == 2; }));
  EXPECT_NE(Runs().back().find("\tprint:done\texit:0"), std::string::npos) << Runs().back();

  // Once left, a command that hangs is ended at its limit, with the window answering
  // meanwhile, and the failure is told.
  PressKeys(options, {VK_TAB});
  SetField(options, kIdTimeoutEdit, "1");
  SetLookupAnswer("[203.0.113.11]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitUntil([] { return Runs().size() == 3; }));
  DWORD_PTR answered = 0;
  EXPECT_NE(::SendMessageTimeoutW(run.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answered), 0);
  EXPECT_TRUE(WaitUntil([] { return CommandLogHas("時間切れ"); }, 15000));
  EXPECT_TRUE(WaitUntil([] { return BalloonShows("時間切れ"); }));

  // テスト実行 runs what the field holds now, with the current address.
  SetField(options, kIdCommandEdit, RecordRun() + " %IP% print:tested");
  ASSERT_TRUE(PressButton(options, kIdCommandTest));
  HWND box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  const MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, "テスト実行");
  EXPECT_EQ(view.text.rfind("終了コード 0", 0), 0u) << view.text;
  EXPECT_NE(view.text.find("tested"), std::string::npos) << view.text;
  ASSERT_TRUE(CloseBox(box, IDOK));
  EXPECT_NE(Runs().back().find("\t203.0.113.11\t\t203.0.113.11\tprint:tested"), std::string::npos)
      << Runs().back();

  // A bare program name runs only from the system folder or a PATH folder: planted.exe
  // beside lorvane.exe and in the data folder is refused; record_run found on PATH runs
  // by its full path, which the log shows.
  SetField(options, kIdCommandEdit, "planted %IP% print:planted");
  ASSERT_TRUE(PressButton(options, kIdCommandTest));
  box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ReadMessageBox(box).text.rfind("開始できません: プログラムが", 0), 0u)
      << ReadMessageBox(box).text;
  ASSERT_TRUE(CloseBox(box, IDOK));
  EXPECT_EQ(Runs().size(), 4u);
  SetField(options, kIdCommandEdit, "record_run %IP% print:onpath");
  ASSERT_TRUE(PressButton(options, kIdCommandTest));
  box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ReadMessageBox(box).text.rfind("終了コード 0", 0), 0u) << ReadMessageBox(box).text;
  ASSERT_TRUE(CloseBox(box, IDOK));
  EXPECT_TRUE(CommandLogHas("\t\"" + path_folder + "\\record_run.exe\" 203.0.113.11 print:onpath"));

  // A click on a notice shows the hidden window.
  ASSERT_TRUE(PressButton(options, kIdOptionOk));
  ::PostMessageW(run.main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(run.main); }));
  ::PostMessageW(::GetDlgItem(run.main, kIdTaskTrayIbent), WM_MOUSEMOVE, 0, WM_USER + 5);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(run.main) != FALSE; }));

  ASSERT_TRUE(EndSession(&run));
  ::DeleteFileW(WideOf(program_folder + "planted.exe").c_str());
  const std::string ini = ReadDataFile("lvn.ini");
  EXPECT_NE(ini.find("Outage=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Command=record_run %IP% print:onpath\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("CommandTimeout=1\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace lvn::e2e
