// The interface in English as a user, a screen reader and an assistive tool meet it: every
// text the program shows is English, the one of the English table, and has the room it
// needs, while log.csv and lvn.ini keep the bytes a Japanese run writes. English.* runs
// under an English locale (code page 1252, English user interface language: scripts/test.sh
// runs it so); Language.* runs with the other tests, under Japanese.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "harness_win.h"
#include "util/texts.h"
#include "windows/main/main_window_ids.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

constexpr char kAnswer[] = "[198.51.100.7]\r\nLorvane lookup\r\n";

// An earlier run's records as the program has always written them (UTF-8 here; the file
// holds code page 932): a check start, an address, the check end and the off marker.
constexpr char kEarlierRun[] =
    "0,1,2019/07/04,09:05:00,チェック開始\r\n"
    "1,20,2019/07/04,09:05:03,198.51.100.7\r\n"
    "2,2,2019/07/04,18:30:00,チェック終了\r\n"
    "3,0,***,***,***\r\n";

const texts::Texts& kEn = texts::kEnglishTexts;

bool UnderEnglish() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) != LANG_JAPANESE; }

// A menu item's or a control's text as a reader hears it, without its access key's mark.
std::string Unmarked(const std::string& text) {
  std::string plain;
  for (const char c : text) {
    if (c != '&') plain += c;
  }
  return plain;
}

// The key that chooses a menu item: the letter after its "&", as a virtual-key code.
WORD AccessKey(const char* text) {
  const char* mark = std::strchr(text, '&');
  return mark == nullptr || mark[1] == '\0'
             ? WORD{0}
             : static_cast<WORD>(std::toupper(static_cast<unsigned char>(mark[1])));
}

// A text the program shows, read from inside it (tests/tools/text_probe_dll.cpp): the class
// of its top-level window, where it is, and the size it needs and has.
struct ShownText {
  std::string window, where, text;
  int needed_width = 0, needed_height = 0, room_width = 0, room_height = 0;
};

// text_probe.dll hooked into the thread of a window of the program, as long as this lives.
class TextProbe {
 public:
  explicit TextProbe(HWND window) : window_(window) {
    module_ = ::LoadLibraryW(WideOf(ExecutableFolder() + "text_probe.dll").c_str());
    if (module_ == nullptr) return;
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "TextProbeHook")));
    if (hook == nullptr) return;
    hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, hook, module_,
                                ::GetWindowThreadProcessId(window, nullptr));
  }
  ~TextProbe() {
    if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  TextProbe(const TextProbe&) = delete;
  TextProbe& operator=(const TextProbe&) = delete;

  bool Hooked() const { return hook_ != nullptr; }

  // Every text the thread's visible windows show now; empty when no answer came.
  std::vector<ShownText> Read() const {
    const std::string path = ExecutableFolder() + "text_probe.txt";
    ::DeleteFileW(WideOf(path).c_str());
    ::PostMessageW(window_, ::RegisterWindowMessageW(L"LvnTextProbe"), 0, 0);
    std::string answer;
    if (!WaitUntil([&] { return (answer = ReadFileBytes(path)) != "<missing>"; })) return {};
    std::vector<ShownText> shown;
    for (std::size_t at = 0, end; (end = answer.find('\n', at)) != std::string::npos;
         at = end + 1) {
      std::vector<std::string> fields;
      for (std::size_t from = at, tab;; from = tab + 1) {
        tab = answer.find('\t', from);
        if (tab == std::string::npos || tab > end) tab = end;
        fields.push_back(answer.substr(from, tab - from));
        if (tab == end) break;
      }
      if (fields.size() != 7) continue;
      ShownText text{fields[0], fields[1], Unescaped(fields[2]), std::stoi(fields[3]),
                     std::stoi(fields[4]), std::stoi(fields[5]), std::stoi(fields[6])};
      shown.push_back(text);
    }
    return shown;
  }

 private:
  static std::string Unescaped(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\\' || i + 1 == text.size()) {
        plain += text[i];
        continue;
      }
      const char c = text[++i];
      plain += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return plain;
  }

  HWND window_;
  HMODULE module_ = nullptr;
  HHOOK hook_ = nullptr;
};

// The texts at one place of one kind of window, in the order shown.
std::vector<std::string> TextsAt(const std::vector<ShownText>& shown, const std::string& window,
                                 const std::string& where) {
  std::vector<std::string> texts;
  for (const ShownText& s : shown) {
    if (s.window == window && s.where == where) texts.push_back(s.text);
  }
  return texts;
}

// The items of every list of a window, by where the list is.
std::map<std::string, std::vector<std::string>> ListsIn(const std::vector<ShownText>& shown,
                                                        const std::string& window) {
  std::map<std::string, std::vector<std::string>> lists;
  for (const ShownText& s : shown) {
    if (s.window == window && s.where.rfind("ComboBox ", 0) == 0) lists[s.where].push_back(s.text);
  }
  return lists;
}

// Kana, the CJK ideographs and punctuation, full-width forms.
bool HasJapanese(const std::string& text) {
  for (const wchar_t c : WideOf(text)) {
    if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
        (c >= 0xFF00 && c <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

// Every text is English, but the language list's own name for Japanese, and has its room.
void ExpectEnglishAndWhole(const std::vector<ShownText>& shown) {
  EXPECT_FALSE(shown.empty()) << "the probe did not answer";
  for (const ShownText& s : shown) {
    const std::string at = s.window + " / " + s.where + ": \"" + s.text + "\"";
    EXPECT_TRUE(s.text == "日本語" || !HasJapanese(s.text)) << at;
    EXPECT_LE(s.needed_width, s.room_width) << at;
    EXPECT_LE(s.needed_height, s.room_height) << at;
  }
}

// The thread's apartment, as a reader has one.
struct Apartment {
  Apartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Apartment() { ::CoUninitialize(); }
};

// A window's client object, as a screen reader asks it.
class Accessible {
 public:
  explicit Accessible(HWND window) {
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object_));
  }
  ~Accessible() {
    if (object_ != nullptr) object_->Release();
  }
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  std::string Name(long child) const {
    BSTR name = nullptr;
    if (object_ == nullptr || object_->get_accName(Child(child), &name) != S_OK ||
        name == nullptr) {
      return "<none>";
    }
    const std::string text = Utf8Of(name);
    ::SysFreeString(name);
    return text;
  }
  int Width(long child) const {
    LONG left = 0, top = 0, width = -1, height = 0;
    if (object_ != nullptr) object_->accLocation(&left, &top, &width, &height, Child(child));
    return width;
  }

 private:
  static VARIANT Child(long child) {
    VARIANT id;
    ::VariantInit(&id);
    V_VT(&id) = VT_I4;
    V_I4(&id) = child;
    return id;
  }

  IAccessible* object_ = nullptr;
};

bool IsEnglishNowIp(const std::string& text, const std::string& shown) {
  return MatchesTime(text, kEn.NowPrefix + shown + kEn.CheckedLabel, "99:99:99");
}

// One start of the program, taken through a check start, an outage, a recovery with a new
// address, the tray, two message boxes, the options window's pages, a target's dialog and
// the exit.
TEST(English, EveryTextIsEnglishAndWholeWhileTheFilesKeepTheirBytes) {
  if (!UnderEnglish()) GTEST_SKIP() << "an English locale's run (scripts/test.sh)";
  ClearDataFolder();
  WriteDataFile("log.csv", Sjis(kEarlierRun));
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\nPrimaryKey=3\r\n"
                           "LastCnange=2019/07/04 09:05:03\r\n[Notify]\r\nOutage=1\r\n");
  SetLookupAnswer(kAnswer);
  const Apartment apartment;
  Session run;
  ASSERT_TRUE(StartSession(&run, 6)) << GridRows(run.grid);  // the header, 4 records, a start
  HWND update = ::GetDlgItem(run.main, kIdUpdate);
  HWND now_ip = ::GetDlgItem(run.main, kIdNowIp);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  EXPECT_EQ(WindowText(::GetDlgItem(run.main, kIdUpdateTime)),
            std::string(kEn.ChangeBeforePrefix) + "2019/07/04 09:05:03");

  // An outage and a recovery with a new address, and their notices.
  SetLookupAnswer("!down");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_TRUE(WaitUntil([] {
    for (const std::string& text : VisibleTooltipTexts()) {
      if (MatchesTime(text, kEn.NoticeOutageSince, "9999/99/99 99:99:99")) return true;
    }
    return false;
  }));
  EXPECT_TRUE(IsEnglishNowIp(WindowText(now_ip), kEn.CommError)) << WindowText(now_ip);
  SetLookupAnswer("[203.0.113.9]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_TRUE(WaitUntil([] { return TooltipShows(kEn.NowPrefix + std::string("203.0.113.9")); }));
  ASSERT_TRUE(WaitUntil([&] { return GridRows(run.grid) == 9; })) << GridRows(run.grid);

  // The main window: caption, address lines, grid, status strip, as text and as a reader
  // hears them. Its client area is as designed: the menu bar takes one line.
  EXPECT_EQ(WindowText(run.main), kEn.AppTitle);
  EXPECT_TRUE(IsEnglishNowIp(WindowText(now_ip), "203.0.113.9")) << WindowText(now_ip);
  EXPECT_TRUE(MatchesTime(WindowText(::GetDlgItem(run.main, kIdUpdateTime)),
                          kEn.ChangeInThisRunPrefix, "9999/99/99 99:99:99"));
  RECT client{};
  ::GetClientRect(run.main, &client);
  EXPECT_EQ(client.bottom, 430);
  std::vector<std::string> entries;
  for (int row = 0; row < GridRows(run.grid); ++row) entries.push_back(GridCell(run.grid, 2, row));
  const std::string indent = "  ";
  EXPECT_EQ(entries, (std::vector<std::string>{
                         kEn.ColumnText, kEn.CheckStart, "  198.51.100.7", kEn.CheckEnd, "***",
                         kEn.CheckStart, indent + kEn.CommError, indent + kEn.CommRecovered,
                         "  203.0.113.9"}));
  EXPECT_EQ(GridCell(run.grid, 0, 0), kEn.ColumnDate);
  EXPECT_EQ(GridCell(run.grid, 1, 0), kEn.ColumnTime);
  const Accessible grid(run.grid);
  EXPECT_EQ(grid.Name(1),
            std::string(kEn.ColumnDate) + " " + kEn.ColumnTime + " " + kEn.ColumnText);
  EXPECT_EQ(grid.Name(7), GridCell(run.grid, 0, 6) + " " + GridCell(run.grid, 1, 6) + " " +
                              kEn.CommError);
  EXPECT_EQ(Accessible(update).Name(CHILDID_SELF), Unmarked(kEn.UpdateButton));
  HWND status = ::GetDlgItem(run.main, kIdStatus);
  const Accessible strip(status);
  const std::vector<std::string> fields = {strip.Name(1), strip.Name(2), strip.Name(3)};
  EXPECT_EQ(fields[0], kEn.AutoPrefix + std::string("1") + kEn.Minutes);
  EXPECT_EQ(fields[1], "api.ipify.org");
  EXPECT_EQ(fields[2].rfind(kEn.RowPrefix, 0), 0u) << fields[2];
  EXPECT_EQ(fields[2].substr(fields[2].find('/')), "/8");
  // The strip's font: MS Gothic, cell height 12; a text starts 6 pixels into its field.
  const std::vector<int> widths = TextWidths(fields, "MS Gothic", 12, FIXED_PITCH | FF_MODERN);
  for (long child = 1; child <= 3; ++child) {
    EXPECT_LE(widths[static_cast<std::size_t>(child - 1)] + 6, strip.Width(child))
        << fields[static_cast<std::size_t>(child - 1)];
  }
  RECT strip_place{};
  ::GetWindowRect(status, &strip_place);
  ::MapWindowPoints(nullptr, run.main, reinterpret_cast<POINT*>(&strip_place), 2);
  EXPECT_LE(strip_place.right, client.right);

  // What the window shows, read from inside: its menus and every control.
  const TextProbe probe(run.main);
  ASSERT_TRUE(probe.Hooked());
  std::vector<ShownText> shown = probe.Read();
  ExpectEnglishAndWhole(shown);
  EXPECT_EQ(TextsAt(shown, "TfrmMain", "menu"),
            (std::vector<std::string>{kEn.MenuFile, kEn.MenuOpenFolder, kEn.MenuExit,
                                      kEn.MenuSettings, kEn.MenuOptions, kEn.MenuHelp,
                                      kEn.MenuHelpPage, kEn.MenuHomePage, kEn.MenuVersion}));
  EXPECT_EQ(TextsAt(shown, "TfrmMain", "Button " + std::to_string(kIdUpdate)),
            std::vector<std::string>{kEn.UpdateButton});

  // The tray: the icon's tip, and its menu.
  ASSERT_FALSE(TrayIconWindows().empty());
  HoverOver(TrayIconWindows()[0]);
  EXPECT_TRUE(WaitUntil([] { return TooltipShows(kEn.AppTitle); }));
  ::PostMessageW(::GetDlgItem(run.main, kIdTaskTrayIbent), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return MenuShows(run.program.Id()); }));
  EXPECT_EQ(TextsAt(probe.Read(), "#32768", "popup"), std::vector<std::string>{kEn.TrayExit});
  PressKeys(run.main, {VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return !MenuShows(run.program.Id()); }));

  // Two message boxes: the version, and the question before delete mode.
  ASSERT_TRUE(ChooseFromMenu(run, AccessKey(kEn.MenuHelp), AccessKey(kEn.MenuVersion)));
  HWND box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  MessageBoxView view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, kEn.VersionCaption);
  EXPECT_EQ(view.text.rfind(kEn.AppTitle + std::string(kEn.VersionPrefix), 0), 0u) << view.text;
  ExpectEnglishAndWhole(probe.Read());
  ASSERT_TRUE(CloseBox(box, IDOK));
  ClickAt(run.grid, GridRowPoint(run.grid, 8));
  ASSERT_TRUE(WaitUntil([&] { return GridCurrentRow(run.grid) == 8; }));
  PressKeys(run.main, {VK_DELETE});
  box = WaitForWindow(run.program.Id(), "#32770");
  ASSERT_NE(box, nullptr);
  view = ReadMessageBox(box);
  EXPECT_EQ(view.caption, kEn.AppTitle);
  EXPECT_EQ(view.text, kEn.DeleteModeQuestion);
  ExpectEnglishAndWhole(probe.Read());
  ASSERT_TRUE(CloseBox(box, IDNO));

  // The options window, from its English access keys, page by page.
  ASSERT_TRUE(ChooseFromMenu(run, AccessKey(kEn.MenuSettings), AccessKey(kEn.MenuOptions)));
  HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(WindowText(options), kEn.OptionCaption);
  ASSERT_TRUE(WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == kIdSectionTree; }));
  shown = probe.Read();
  ExpectEnglishAndWhole(shown);
  EXPECT_EQ(TextsAt(shown, "TfrmOption", "SysTreeView32 " + std::to_string(kIdSectionTree) +
                                             " item"),
            (std::vector<std::string>{kEn.OptionSection, kEn.OptionNotifySection,
                                      kEn.OptionConnectionSection, kEn.OptionTargetsSection}));
  bool language_list = false;
  for (const auto& [where, items] : ListsIn(shown, "TfrmOption")) {
    language_list |= items == std::vector<std::string>{kEn.OptionLanguageAuto, "日本語", "English"};
  }
  EXPECT_TRUE(language_list) << "the first page lists the languages";
  for (const int group : {kIdNoticeGroup, kIdUrlGroup, kIdTargetList}) {
    PressKeys(options, {VK_DOWN});
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(::GetDlgItem(options, group)); }));
    ExpectEnglishAndWhole(probe.Read());
  }
  // A target's dialog, over the page.
  PressKeys(options, {VK_MENU, AccessKey(kEn.TargetAdd)});
  HWND target = WaitForWindow(run.program.Id(), "LvnTargetDialog");
  ASSERT_NE(target, nullptr);
  ExpectEnglishAndWhole(probe.Read());
  PressKeys(target, {VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(target); }));
  ASSERT_TRUE(PressButton(options, kIdOptionOk));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));

  // File, Exit. The log holds the bytes a Japanese run writes for the same events, after
  // the earlier run's untouched; the interface language was never chosen, so never saved.
  ASSERT_TRUE(ChooseFromMenu(run, AccessKey(kEn.MenuFile), AccessKey(kEn.MenuExit)));
  DWORD exit_code = 99;
  ASSERT_TRUE(run.program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 10u);
  std::string expected = Sjis(kEarlierRun);
  const char* const written[][2] = {{"1", "チェック開始"}, {"11", "通信エラー"},
                                    {"12", "通信回復"},    {"20", "203.0.113.9"},
                                    {"2", "チェック終了"}};
  for (std::size_t i = 0; i < std::size(written); ++i) {
    const std::vector<std::string> record = Fields(log[4 + i]);
    ASSERT_EQ(record.size(), 5u) << log[4 + i];
    expected += std::to_string(4 + i) + "," + written[i][0] + "," + record[2] + "," + record[3] +
                "," + Sjis(written[i][1]) + "\r\n";
  }
  expected += "9,0,***,***,***\r\n";
  EXPECT_EQ(ReadDataFile("log.csv"), expected);
  const std::string ini = ReadDataFile("lvn.ini");
  EXPECT_NE(ini.find("IpHoz=203.0.113.9\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("Language"), std::string::npos) << ini;
}

// A profile folder whose name neither code page 1252 nor 932 holds: the settings and the
// history are written inside it, under that name.
TEST(English, AProfileFolderNoCodePageHoldsKeepsTheFiles) {
  if (!UnderEnglish()) GTEST_SKIP() << "an English locale's run (scripts/test.sh)";
  const std::string profile = EnvironmentVariable("USERPROFILE");
  ASSERT_FALSE(profile.empty());
  const std::string outside = profile + "\\Paweł 한글";
  const std::string roaming = outside + "\\AppData";
  const std::string folder = roaming + "\\Lorvane\\";
  for (const std::string& made : {outside, roaming}) {
    ::CreateDirectoryW(WideOf(made).c_str(), nullptr);
  }
  for (const char* name : {"log.csv", "lvn.ini"}) ::DeleteFileW(WideOf(folder + name).c_str());
  ClearDataFolder();
  SetLookupAnswer(kAnswer);
  {
    const AppDataRedirect redirect(roaming);
    Session run;
    ASSERT_TRUE(Program::Launch(&run.program));
    run.main = WaitForWindow(run.program.Id(), "TfrmMain");
    ASSERT_NE(run.main, nullptr);
    EXPECT_TRUE(TopLevelWindows(run.program.Id(), "#32770").empty()) << "no error box";
    ASSERT_TRUE(WaitUntil([&] {
      return ReadFileBytes(folder + "log.csv").find(",20,") != std::string::npos;
    }));
    ASSERT_TRUE(EndSession(&run));
  }
  const std::string log = ReadFileBytes(folder + "log.csv");
  EXPECT_EQ(log.rfind("0,1,", 0), 0u) << log;
  EXPECT_NE(log.find(Sjis("チェック開始")), std::string::npos) << log;
  EXPECT_NE(ReadFileBytes(folder + "lvn.ini").find("IpHoz=198.51.100.7\r\n"), std::string::npos);
  EXPECT_EQ(ReadDataFile("log.csv"), "<missing>") << "nothing went to the usual folder";
  // Nor beside the program, where an lvn.ini would make every later start a portable one.
  for (const char* name : {"lvn.ini", "log.csv"}) {
    const std::string beside = ExecutableFolder() + name;
    EXPECT_EQ(ReadFileBytes(beside), "<missing>") << beside;
    ::DeleteFileW(WideOf(beside).c_str());
  }
}

// On a Japanese Windows, the settings file's choice of English rules, and stays chosen.
TEST(Language, TheSettingsChooseEnglishOnAJapaneseWindows) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\n[View]\r\nLanguage=en\r\n");
  SetLookupAnswer(kAnswer);
  Session run;
  ASSERT_TRUE(StartSession(&run, 2));
  HWND now_ip = ::GetDlgItem(run.main, kIdNowIp);
  ASSERT_TRUE(WaitUntil([&] { return IsEnglishNowIp(WindowText(now_ip), "198.51.100.7"); }))
      << WindowText(now_ip);
  EXPECT_EQ(WindowText(run.main), kEn.AppTitle);
  EXPECT_EQ(WindowText(::GetDlgItem(run.main, kIdUpdate)), kEn.UpdateButton);
  EXPECT_EQ(GridCell(run.grid, 2, 0), kEn.ColumnText);
  EXPECT_EQ(GridCell(run.grid, 2, 1), kEn.CheckStart);
  EXPECT_EQ(StatusFields(run.main)[0], kEn.AutoPrefix + std::string("1") + kEn.Minutes);
  ASSERT_TRUE(ChooseFromMenu(run, AccessKey(kEn.MenuFile), AccessKey(kEn.MenuExit)));
  DWORD exit_code = 99;
  ASSERT_TRUE(run.program.WaitForExit(&exit_code));
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(Text(LogLines()[0]), Sjis("チェック開始"));
  EXPECT_NE(ReadDataFile("lvn.ini").find("[View]\r\nLanguage=en\r\n"), std::string::npos)
      << ReadDataFile("lvn.ini");
}

}  // namespace
}  // namespace lvn::e2e
