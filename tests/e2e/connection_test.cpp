// The options window's 接続 page as a user meets it: the lookup page's URL and a second
// one, taken when their field is left and only when they can be asked; a refused URL told
// beside its field while the old one stays in use; and what reaches lvn.ini at exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "harness_win.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

// A balloon beside a field is a tooltip window of the program's.
bool BalloonShows(const Session& run, const std::string& text) {
  for (HWND tip : TopLevelWindows(run.program.Id(), TOOLTIPS_CLASSA)) {
    if (::IsWindowVisible(tip) && WindowText(tip) == text) return true;
  }
  return false;
}

void SetField(HWND options, int id, const std::string& text) {
  ::SendMessageA(::GetDlgItem(options, id), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

bool FocusComesTo(HWND options, int id) {
  return WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == id; });
}

TEST(Connection, UrlsTakenWhenLeftOnlyWhenSoundAndSavedAtExit) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", "[Value]\r\nIpHoz=198.51.100.7\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  Session run;
  ASSERT_TRUE(StartSession(&run, 2));
  ASSERT_TRUE(WaitUntil([&] { return StatusFields(run.main)[1] == "www.ombrix.example"; }));

  // 接続 is the tree's third item; its page shows the values in use.
  ASSERT_TRUE(ChooseFromMenu(run, 'O', VK_RETURN));
  HWND options = WaitForWindow(run.program.Id(), "TfrmOption");
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(FocusComesTo(options, kIdSectionTree));
  PressKeys(options, {VK_DOWN});
  PressKeys(options, {VK_DOWN});
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(::GetDlgItem(options, kIdUrlGroup)); }));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(options, kIdNoticeGroup)));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(options, kIdViewGroup)));
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdUrlEdit)), "https://www.ombrix.example/lvn.php");
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdFallbackEdit)), "");
  EXPECT_EQ(::IsDlgButtonChecked(options, kIdNetworkCheck), BST_UNCHECKED);
  for (const int id : {kIdUrlGroup, kIdUrlLabel, kIdUrlEdit, kIdFallbackLabel, kIdFallbackEdit,
                       kIdTriggerGroup, kIdNetworkCheck}) {
    RECT place{};
    ::GetWindowRect(::GetDlgItem(options, id), &place);
    ::MapWindowPoints(nullptr, options, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_TRUE(place.left >= 88 && place.top >= 8 && place.right <= 361 && place.bottom <= 201)
        << id << " lies outside the pages' place";
  }
  for (const int id : {kIdUrlEdit, kIdFallbackEdit, kIdNetworkCheck, kIdOptionOk, kIdSectionTree}) {
    PressKeys(options, {VK_TAB});
    EXPECT_TRUE(FocusComesTo(options, id))
        << "expected " << id << ", came " << ::GetDlgCtrlID(FocusIn(options));
  }

  // A URL that cannot be asked, left: the field says why and the old URL stays in use.
  PressKeys(options, {VK_MENU, 'U'});
  ASSERT_TRUE(FocusComesTo(options, kIdUrlEdit));
  SetField(options, kIdUrlEdit, "ftp://127.0.0.2/bad/lvn.php");
  PressKeys(options, {VK_TAB});
  EXPECT_TRUE(WaitUntil([&] { return BalloonShows(run, "http:// か https:// で始めてください"); }));
  EXPECT_EQ(StatusFields(run.main)[1], "www.ombrix.example");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_EQ(RequestCount("GET /bad/"), 0);

  // Typing hides the balloon; a sound URL on another host takes effect when left.
  PressKeys(options, {VK_MENU, 'U'});
  ASSERT_TRUE(FocusComesTo(options, kIdUrlEdit));
  SetField(options, kIdUrlEdit, "http://127.0.0.2/conn/lvn.php");
  EXPECT_TRUE(WaitUntil([&] { return !BalloonShows(run, "http:// か https:// で始めてください"); }));
  EXPECT_EQ(StatusFields(run.main)[1], "www.ombrix.example") << "not before the field is left";
  PressKeys(options, {VK_MENU, 'F'});
  ASSERT_TRUE(FocusComesTo(options, kIdFallbackEdit));
  EXPECT_TRUE(WaitUntil([&] { return StatusFields(run.main)[1] == "127.0.0.2"; }));
  EXPECT_EQ(StatusFields(run.main)[0], "自動:1分") << "the other fields stay";
  ASSERT_TRUE(CheckNow(run.main, "GET /conn/lvn.php "));

  // The box acts at once; a second URL still in its field is taken at the exit.
  PressKeys(options, {VK_MENU, 'W'});
  EXPECT_TRUE(WaitUntil([&] { return ::IsDlgButtonChecked(options, kIdNetworkCheck) == BST_CHECKED; }));
  PressKeys(options, {VK_MENU, 'F'});
  ASSERT_TRUE(FocusComesTo(options, kIdFallbackEdit));
  SetField(options, kIdFallbackEdit, "http://127.0.0.2/spare/lvn.php");
  ASSERT_TRUE(EndSession(&run));
  const std::string ini = ReadDataFile("lvn.ini");
  EXPECT_NE(ini.find("IpUrl=http://127.0.0.2/conn/lvn.php\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Lookup]\r\nFallbackUrl=http://127.0.0.2/spare/lvn.php\r\n"
                     "CheckOnNetworkChange=1\r\n"),
            std::string::npos)
      << ini;
}

}  // namespace
}  // namespace lvn::e2e
