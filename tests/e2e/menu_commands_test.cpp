// The main menu's commands, given with the keys, and the window dragged by its background.
// The shell's part is observed through a stand-in registered as the program that opens
// folders, pages and web addresses in this Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"
#include "lvn_version.h"

namespace lvn::e2e {
namespace {

std::string OpenedLog() { return ExecutableFolder() + "opened.txt"; }

void SetDefault(const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, WideOf(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &handle, nullptr),
            ERROR_SUCCESS)
      << key;
  const std::wstring wide = WideOf(value);
  ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
}

// open_recorder.exe opens folders, .htm pages and web addresses from now on.
void RecordWhatTheShellOpens() {
  std::string command = "\"";
  command.append(ExecutableFolder()).append("open_recorder.exe\" \"%1\"");
  SetDefault(".htm", "htmlfile");
  for (const char* kind : {"htmlfile", "http", "https", "Folder", "Directory"}) {
    const std::string verb = std::string(kind) + "\\shell\\open";
    // A DDE conversation would go to the real program first.
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, WideOf(verb + "\\ddeexec").c_str());
    SetDefault(verb + "\\command", command);
  }
  ::DeleteFileW(WideOf(OpenedLog()).c_str());
}

// What open_recorder.exe was asked to open, in UTF-8.
std::vector<std::string> Opened() {
  std::vector<std::string> lines;
  const std::string content = ReadFileBytes(OpenedLog());
  if (content == "<missing>") return lines;
  for (std::size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

// A first run whose lookup finds the address it already knows.
void StartClean(Session* run) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(StartSession(run, 2));  // the header and this run's check start
  // The first lookup handled, so that nothing lands in the middle of a drag.
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run->main, kIdUpdate)); }));
}

TEST(MenuCommands, FolderHelpHomePageAndVersionFromTheKeys) {
  RecordWhatTheShellOpens();
  Session run;
  StartClean(&run);

  ASSERT_TRUE(ChooseFromMenu(run, 'F', 'O'));
  ASSERT_TRUE(WaitUntil([] { return Opened().size() == 1; }));
  EXPECT_EQ(Opened()[0], DataFolder());

  ASSERT_TRUE(ChooseFromMenu(run, 'H', 'H'));
  ASSERT_TRUE(WaitUntil([] { return Opened().size() == 2; }));
  EXPECT_EQ(Opened()[1], ExecutableFolder() + "help\\index.htm");
  EXPECT_NE(::GetFileAttributesW(WideOf(Opened()[1]).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the help page is beside the program";

  ASSERT_TRUE(ChooseFromMenu(run, 'H', 'P'));
  ASSERT_TRUE(WaitUntil([] { return Opened().size() == 3; }));
  EXPECT_EQ(Opened()[2], "https://www.ombrix.example/");

  ASSERT_TRUE(ChooseFromMenu(run, 'H', 'V'));
  HWND box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  const MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, "バージョン情報");
  std::string version_text = "Lorvaneグローバル\r\nVer:";
  version_text.append(LVN_VERSION_TEXT).append("\r\r").append(LVN_COPYRIGHT);
  EXPECT_EQ(view.text, version_text);
  EXPECT_EQ(view.buttons.size(), 1u);
  EXPECT_FALSE(view.has_icon);
  ASSERT_TRUE(CloseBox(box, IDOK));

  // Settings, and Exit, from the keys as well.
  ASSERT_TRUE(ChooseFromMenu(run, 'O', VK_RETURN));
  EXPECT_NE(WaitForWindow(run.program.Id(), "TfrmOption"), nullptr);
  ASSERT_TRUE(ChooseFromMenu(run, 'F', 'X'));
  DWORD exit_code = 99;
  ASSERT_TRUE(run.program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
}

RECT FrameOf(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

// The system's move loop of the window's thread is over: the window answers messages while
// it runs, so an answer alone does not tell that a drag has ended.
bool NoMoveLoop(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMOVESIZE) == 0;
}

TEST(MenuCommands, TheWindowIsDraggedByItsBackgroundOnly) {
  Session run;
  StartClean(&run);
  const POINT background{150, 57};  // between the address lines and the grid
  const RECT before = FrameOf(run.main);
  DragBetween(run.main, background, POINT{background.x + 40, background.y + 30});
  ASSERT_TRUE(WaitUntil([&] { return FrameOf(run.main).left == before.left + 40; }))
      << "moved by " << FrameOf(run.main).left - before.left << ","
      << FrameOf(run.main).top - before.top;
  ASSERT_TRUE(WaitUntil([&] { return NoMoveLoop(run.main); }));
  EXPECT_EQ(FrameOf(run.main).top, before.top + 30);

  // A press on any control drags nothing: it is the control's.
  for (int id : {kIdNowIp, kIdUpdateTime, kIdUpdate, kIdMainGrid, kIdStatus}) {
    HWND control = ::GetDlgItem(run.main, id);
    const RECT start = FrameOf(run.main);
    RECT place{};
    ::GetClientRect(control, &place);
    const POINT middle{place.right / 2, place.bottom / 2};
    DragBetween(control, middle, POINT{middle.x + 25, middle.y + 25});
    // The drag's end is handled once the window answers again.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(run.main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(WaitUntil([&] { return NoMoveLoop(run.main); })) << id;
    EXPECT_EQ(FrameOf(run.main).left, start.left) << id;
    EXPECT_EQ(FrameOf(run.main).top, start.top) << id;
  }
  // The size mark in the corner, found by its place.
  {
    const RECT start = FrameOf(run.main);
    DragBetween(run.main, POINT{334, 416}, POINT{359, 441});
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(run.main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(WaitUntil([&] { return NoMoveLoop(run.main); }));
    EXPECT_EQ(FrameOf(run.main).left, start.left) << "size mark";
  }

  EXPECT_TRUE(EndSession(&run));
}

}  // namespace
}  // namespace lvn::e2e
