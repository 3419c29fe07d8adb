// The options window's 送信先 page as a user meets it: a target added through its dialog
// with its secret protected in lvn.ini at once, edited without typing the secret again, an
// OK its check refuses, and its removal after a question.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "harness_win.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

// A check start, an address, the check end and the off marker of an earlier run.
constexpr char kLog[] =
    "0,1,2019/07/04,09:05:00,チェック開始\r\n"
    "1,20,2019/07/04,09:05:03,198.51.100.7\r\n"
    "2,2,2019/07/04,18:30:00,チェック終了\r\n"
    "3,0,***,***,***\r\n";

void SetField(HWND window, int id, const std::string& text) {
  const std::wstring wide = WideOf(text);
  ::SendMessageW(::GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

bool FocusComesTo(HWND window, int id) {
  return WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(window)) == id; });
}

bool Enabled(HWND window, int id) { return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE; }

// A cell of the page's list. A list view's messages carry pointers into the process that
// owns it: the item and its text are placed in the program's memory.
std::string ListCell(HWND list, int row, int column) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(list, &id);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, id);
  if (process == nullptr) return "<no process>";
  constexpr int kChars = 256;
  auto* remote = static_cast<char*>(::VirtualAllocEx(
      process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  std::wstring text(kChars, L'\0');
  if (remote != nullptr) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
    item.cchTextMax = kChars;
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    const auto length = static_cast<std::size_t>(::SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)));
    ::ReadProcessMemory(process, item.pszText, text.data(), kChars * sizeof(wchar_t), nullptr);
    text.resize(length < text.size() ? length : 0);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return Utf8Of(text);
}

int ListRows(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// The lines of lvn.ini's section [name], empty when it has none.
std::string Section(const std::string& name) {
  const std::string ini = ReadDataFile("lvn.ini");
  const std::size_t start = ini.find("[" + name + "]\r\n");
  if (start == std::string::npos) return "";
  return ini.substr(start, ini.find("\r\n[", start) - start);
}

std::string Value(const std::string& section, const std::string& key) {
  const std::size_t at = section.find("\r\n" + key + "=");
  if (at == std::string::npos) return "<none>";
  const std::size_t from = at + key.size() + 3;
  return section.substr(from, section.find("\r\n", from) - from);
}

TEST(TargetsPage, AddedEditedRefusedAndDeletedThroughTheDialog) {
  ClearDataFolder();
  WriteDataFile("log.csv", Sjis(kLog));
  WriteDataFile("lvn.ini", "[Value]\r\nIpUrl=https://www.ombrix.example/lvn.php\r\n"
                           "IpHoz=198.51.100.7\r\nPrimaryKey=3\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  Session run;
  ASSERT_TRUE(StartSession(&run, 6));

  // 送信先 is the tree's last item; no target yet: only 追加 can be pressed.
  ASSERT_TRUE(ChooseFromMenu(run, 'O', VK_RETURN));
  HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(FocusComesTo(options, kIdSectionTree));
  PressKeys(options, {VK_END});
  HWND list = ::GetDlgItem(options, kIdTargetList);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(list) != FALSE; }));
  EXPECT_EQ(ListRows(list), 0);
  EXPECT_TRUE(Enabled(options, kIdTargetAdd));
  EXPECT_FALSE(Enabled(options, kIdTargetEdit) || Enabled(options, kIdTargetDelete) ||
               Enabled(options, kIdTargetTest));

  // Added: a dyndns2 target, the kind a new one starts with, whose typed secret reaches the
  // file only protected, at once.
  PressKeys(options, {VK_MENU, 'A'});
  HWND dialog = WaitForWindow(run.program.Id(), "LvnTargetDialog");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::IsWindowEnabled(options)) << "modal to the options window";
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kIdKindCombo)), "dyndns2");
  EXPECT_FALSE(Enabled(dialog, kIdOnOutage) || Enabled(dialog, kIdBodyEdit))
      << "a DNS kind sends on a change, with no body of the user's";
  SetField(dialog, kIdTargetUrlEdit, "https://www.ombrix.example/nic/update");
  SetField(dialog, kIdHostEdit, "home.ombrix.example");
  SetField(dialog, kIdUserEdit, "lorvane");
  SetField(dialog, kIdSecretEdit, "s3cret-Pass");
  PressKeys(dialog, {VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
  ASSERT_TRUE(WaitUntil([] { return !Section("Target1").empty(); }));
  const std::string added = Section("Target1");
  EXPECT_EQ(Value(added, "Kind"), "dyndns2");
  EXPECT_EQ(Value(added, "Url"), "https://www.ombrix.example/nic/update");
  EXPECT_EQ(Value(added, "Host"), "home.ombrix.example");
  EXPECT_EQ(Value(added, "User"), "lorvane");
  const std::string sealed = Value(added, "SecretProtected");
  EXPECT_FALSE(sealed.empty() || sealed == "<none>") << added;
  EXPECT_EQ(Value(added, "Secret"), "<none>") << added;
  EXPECT_EQ(ReadDataFile("lvn.ini").find("s3cret"), std::string::npos);
  ASSERT_EQ(ListRows(list), 1);
  EXPECT_EQ(ListCell(list, 0, 0), "dyndns2");
  EXPECT_EQ(ListCell(list, 0, 1), "home.ombrix.example");

  // A test send says what came of it in a box: this address is no DNS service's to hold.
  PressKeys(options, {VK_MENU, 'L'});
  ASSERT_TRUE(FocusComesTo(options, kIdTargetList));
  PressKeys(options, {VK_HOME});
  ASSERT_TRUE(WaitUntil([&] { return Enabled(options, kIdTargetTest); }));
  PressKeys(options, {VK_MENU, 'T'});
  HWND test_box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(test_box, nullptr);
  EXPECT_EQ(ReadMessageBox(test_box).text, "送信しません (グローバルアドレスではありません)");
  ASSERT_TRUE(CloseBox(test_box, IDOK));

  // Enter on the row edits it; the secret's field shows nothing, and left empty the
  // protected secret stays.
  PressKeys(options, {VK_MENU, 'L'});
  ASSERT_TRUE(FocusComesTo(options, kIdTargetList));
  PressKeys(options, {VK_RETURN});
  dialog = WaitForWindow(run.program.Id(), "LvnTargetDialog");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kIdUserEdit)), "lorvane");
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kIdSecretEdit)), "");
  SetField(dialog, kIdHostEdit, "pc.ombrix.example");
  PressKeys(dialog, {VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
  EXPECT_TRUE(WaitUntil([] { return Value(Section("Target1"), "Host") == "pc.ombrix.example"; }));
  EXPECT_EQ(Value(Section("Target1"), "SecretProtected"), sealed);
  EXPECT_EQ(ListCell(list, 0, 1), "pc.ombrix.example");

  // A secret is never sent over http://: OK says why and keeps the dialog open, on the URL;
  // Esc then leaves the target as it was.
  PressKeys(options, {VK_MENU, 'E'});
  dialog = WaitForWindow(run.program.Id(), "LvnTargetDialog");
  ASSERT_NE(dialog, nullptr);
  SetField(dialog, kIdTargetUrlEdit, "http://www.ombrix.example/nic/update");
  PressKeys(dialog, {VK_RETURN});
  HWND box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ReadMessageBox(box).text,
            "秘密の情報は http:// では送りません。https:// の URL にしてください");
  ASSERT_TRUE(CloseBox(box, IDOK));
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_TRUE(FocusComesTo(dialog, kIdTargetUrlEdit));
  PressKeys(dialog, {VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
  EXPECT_EQ(Value(Section("Target1"), "Url"), "https://www.ombrix.example/nic/update");

  // Deleted after a question: the section goes from the file, the row from the list.
  PressKeys(options, {VK_MENU, 'D'});
  box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(CloseBox(box, IDYES));
  EXPECT_TRUE(WaitUntil([] { return Section("Target1").empty(); }));
  EXPECT_EQ(ListRows(list), 0);
  EXPECT_FALSE(Enabled(options, kIdTargetEdit));

  EXPECT_TRUE(EndSession(&run));
  EXPECT_TRUE(Section("Target1").empty()) << "nor written back at exit";
}

}  // namespace
}  // namespace lvn::e2e
