// The options window's 接続 page as a user meets it: the lookup page's URL and a second
// one, taken when their field is left and only when they can be asked; a refused URL told
// beside its field while the old one stays in use; and what reaches lvn.ini at exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness_win.h"
#include "windows/options/option_window_ids.h"

namespace lvn::e2e {
namespace {

// A balloon beside a field is a tooltip window of the program's.
bool BalloonShows(const Session& run, const std::string& text) {
  for (HWND tip : TopLevelWindows(run.program.Id(), "tooltips_class32")) {
    if (::IsWindowVisible(tip) && WindowText(tip) == text) return true;
  }
  return false;
}

void SetField(HWND options, int id, const std::string& text) {
  const std::wstring wide = WideOf(text);
  ::SendMessageW(::GetDlgItem(options, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// The proxy of the user's Internet settings, as the Internet Options dialog sets it; none
// for "".
void SetUserProxy(const std::string& server) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD enable = server.empty() ? 0 : 1;
  ::RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                   sizeof enable);
  const std::wstring wide = WideOf(server);
  ::RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

bool FocusComesTo(HWND options, int id) {
  return WaitUntil([&] { return ::GetDlgCtrlID(FocusIn(options)) == id; });
}

TEST(Connection, UrlsTakenWhenLeftOnlyWhenSoundAndSavedAtExit) {
  // A first start: no lookup page named, so the public service is asked, over TLS, and its
  // bare answer is the address.
  ClearDataFolder();
  SetLookupAnswer("198.51.100.7\n");
  const int public_before = RequestCount("GET / ", "\tapi.ipify.org\t");
  const int tls_before = RequestCount("GET / ", "\thttps 443");
  const int fallback_before = RequestCount("GET / ", "\tcheckip.amazonaws.com\t");
  Session run;
  ASSERT_TRUE(StartSession(&run, 3));
  EXPECT_EQ(GridCell(run.grid, 2, 2), "  198.51.100.7");
  EXPECT_EQ(StatusFields(run.main)[1], "api.ipify.org");
  EXPECT_EQ(RequestCount("GET / ", "\tapi.ipify.org\t") - public_before, 1);
  EXPECT_EQ(RequestCount("GET / ", "\thttps 443") - tls_before, 1);

  // A captive portal's page and a plain body that is no address are failures, never a
  // change: one outage, whichever page answered.
  for (const char* answer : {"<html><title>Sign in to Wi-Fi</title></html>", "not 1.2.3.4"}) {
    SetLookupAnswer(answer);
    ASSERT_TRUE(CheckNow(run.main));
  }
  ASSERT_TRUE(WaitForLogLines(3));
  EXPECT_EQ(Code(LogLines().back()), "11");
  EXPECT_EQ(RequestCount("GET / ", "\tcheckip.amazonaws.com\t") - fallback_before, 2)
      << "the fallback was asked";
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitForLogLines(4));
  EXPECT_EQ(Code(LogLines().back()), "12");

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
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdUrlEdit)), "https://api.ipify.org");
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdFallbackEdit)), "https://checkip.amazonaws.com");
  EXPECT_EQ(WindowText(::GetDlgItem(options, kIdPrivacyLabel)),
            "確認ページは確認ごとにアドレスを知ります");
  EXPECT_EQ(::IsDlgButtonChecked(options, kIdNetworkCheck), BST_UNCHECKED);
  for (const int id : {kIdUrlGroup, kIdUrlLabel, kIdUrlEdit, kIdFallbackLabel, kIdFallbackEdit,
                       kIdConfirmCheck, kIdTriggerGroup, kIdNetworkCheck, kIdPrivacyLabel}) {
    RECT place{};
    ::GetWindowRect(::GetDlgItem(options, id), &place);
    ::MapWindowPoints(nullptr, options, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_TRUE(place.left >= 88 && place.top >= 8 && place.right <= 361 && place.bottom <= 201)
        << id << " lies outside the pages' place";
  }
  for (const int id : {kIdUrlEdit, kIdFallbackEdit, kIdConfirmCheck, kIdNetworkCheck, kIdOptionOk,
                       kIdSectionTree}) {
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
  EXPECT_EQ(StatusFields(run.main)[1], "api.ipify.org");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_EQ(RequestCount("GET /bad/"), 0);

  // Typing hides the balloon; a sound URL on another host takes effect when left.
  PressKeys(options, {VK_MENU, 'U'});
  ASSERT_TRUE(FocusComesTo(options, kIdUrlEdit));
  SetField(options, kIdUrlEdit, "http://127.0.0.2/conn/lvn.php");
  EXPECT_TRUE(WaitUntil([&] { return !BalloonShows(run, "http:// か https:// で始めてください"); }));
  EXPECT_EQ(StatusFields(run.main)[1], "api.ipify.org") << "not before the field is left";
  PressKeys(options, {VK_MENU, 'F'});
  ASSERT_TRUE(FocusComesTo(options, kIdFallbackEdit));
  EXPECT_TRUE(WaitUntil([&] { return StatusFields(run.main)[1] == "127.0.0.2"; }));
  EXPECT_EQ(StatusFields(run.main)[0], "自動:1分") << "the other fields stay";
  ASSERT_TRUE(CheckNow(run.main, "GET /conn/lvn.php "));

  // The proxy of the user's Internet settings carries the lookup: a page whose host is not
  // even known here is reached through it.
  SetUserProxy("127.0.0.2:8080");
  PressKeys(options, {VK_MENU, 'U'});
  ASSERT_TRUE(FocusComesTo(options, kIdUrlEdit));
  SetField(options, kIdUrlEdit, "http://proxied.example/lvn.php");
  PressKeys(options, {VK_MENU, 'F'});
  ASSERT_TRUE(FocusComesTo(options, kIdFallbackEdit));
  const bool proxied = CheckNow(run.main, "GET http://proxied.example");
  SetUserProxy("");
  ASSERT_TRUE(proxied);
  EXPECT_EQ(GridRows(run.grid), 5) << "the same address, no record";

  // The box acts at once; a second URL still in its field is taken at the exit.
  PressKeys(options, {VK_MENU, 'W'});
  EXPECT_TRUE(WaitUntil([&] { return ::IsDlgButtonChecked(options, kIdNetworkCheck) == BST_CHECKED; }));
  PressKeys(options, {VK_MENU, 'F'});
  ASSERT_TRUE(FocusComesTo(options, kIdFallbackEdit));
  // Confirming a new address needs a second page to ask.
  SetField(options, kIdFallbackEdit, "");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(options, kIdConfirmCheck)));
  SetField(options, kIdFallbackEdit, "http://127.0.0.2/spare/lvn.php");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(options, kIdConfirmCheck)));
  ASSERT_TRUE(EndSession(&run));
  const std::string ini = ReadDataFile("lvn.ini");
  EXPECT_NE(ini.find("IpUrl=http://proxied.example/lvn.php\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Lookup]\r\nFallbackUrl=http://127.0.0.2/spare/lvn.php\r\n"
                     "CheckOnNetworkChange=1\r\n"),
            std::string::npos)
      << ini;
}

}  // namespace
}  // namespace lvn::e2e
