// What a misbehaving lookup page, a settings file from another editor, a profile folder
// outside the files' code page and DLLs planted beside the program do to the real program.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "windows/main/main_window_ids.h"
#include "harness_win.h"
#include "lvn_version.h"

namespace lvn::e2e {
namespace {

std::string NowIpText(HWND main) { return WindowText(::GetDlgItem(main, kIdNowIp)); }

std::vector<std::string> ChangeTexts() {
  std::vector<std::string> texts;
  for (const std::string& line : LogLines()) {
    if (Code(line) == "20") texts.push_back(Text(line));
  }
  return texts;
}

// Waits for the lookup that a start begins to be handled.
bool FirstCheckDone(HWND main, int requests_before) {
  HWND update = ::GetDlgItem(main, kIdUpdate);
  return WaitUntil([&] { return LookupRequestCount() > requests_before; }) &&
         WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; });
}

// The process's visible tooltip, once it shows.
HWND VisibleTooltip(DWORD process_id) {
  HWND shown = nullptr;
  WaitUntil([&] {
    for (HWND tip : TopLevelWindows(process_id, "tooltips_class32")) {
      if (::IsWindowVisible(tip)) shown = tip;
    }
    return shown != nullptr;
  });
  return shown;
}

// The tests' own lookup page, as a user's file names it: one page, no fallback.
constexpr char kOwnPage[] = "[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\n";

TEST(HostileInput, ARedirectLoopIsAnOutageAndAShortChainIsFollowed) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", kOwnPage);
  SetLookupAnswer("!loop");
  const int before = LookupRequestCount();
  Session run;
  // Check start, then the outage: the lookup ended instead of following the loop.
  ASSERT_TRUE(StartSession(&run, 3));
  EXPECT_EQ(Code(LogLines().back()), "11");
  EXPECT_EQ(LookupRequestCount() - before, 6) << "the first request and five redirects";
  ASSERT_TRUE(WaitUntil([&] { return IsNowIp(NowIpText(run.main), "通信エラー"); }));

  SetLookupAnswer("!hop[198.51.100.7]");
  // Both hops: "/lvn.php", then "/lvn.php?hopped".
  const int hop_before = RequestCount("GET /lvn.php");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_EQ(RequestCount("GET /lvn.php") - hop_before, 2);
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(Code(log[2]), "12");
  EXPECT_EQ(ChangeTexts(), std::vector<std::string>{"198.51.100.7"});
  EXPECT_TRUE(IsNowIp(NowIpText(run.main), "198.51.100.7"));
  EXPECT_TRUE(EndSession(&run));
}

TEST(HostileInput, AddressesAreTrimmedKeptWholeAndReadable) {
  ClearDataFolder();
  SetLookupAnswer("[ 198.51.100.7\t]\r\n");
  Session run;
  ASSERT_TRUE(StartSession(&run, 3));
  EXPECT_EQ(ChangeTexts(), std::vector<std::string>{"198.51.100.7"});
  ASSERT_TRUE(WaitUntil([&] { return IsNowIp(NowIpText(run.main), "198.51.100.7"); }));
  EXPECT_NE(ReadDataFile("lvn.ini").find("IpHoz=198.51.100.7\r\n"), std::string::npos);

  // Two addresses that differ in their last character only, and the longest form.
  const std::string v6 = "2001:db8:85a3:1234:5678:8a2e:370:7334";
  const std::string v6_next = "2001:db8:85a3:1234:5678:8a2e:370:7335";
  const std::string longest = "0000:0000:0000:0000:0000:ffff:255.255.255.255";
  for (const std::string& address : {v6, v6_next, longest}) {
    SetLookupAnswer("[" + address + "]");
    ASSERT_TRUE(CheckNow(run.main)) << address;
    EXPECT_EQ(ChangeTexts().back(), address);
    EXPECT_NE(ReadDataFile("lvn.ini").find("IpHoz=" + address + "\r\n"), std::string::npos);
    HWND now_ip = ::GetDlgItem(run.main, kIdNowIp);
    EXPECT_TRUE(IsNowIp(WindowText(now_ip), address)) << WindowText(now_ip);
    EXPECT_TRUE(ShowsWholeText(now_ip)) << address;
  }
  EXPECT_EQ(ChangeTexts().size(), 4u);

  // The line's whole text is also its tooltip.
  SetLookupAnswer("[" + v6 + "]");
  ASSERT_TRUE(CheckNow(run.main));
  HWND now_ip = ::GetDlgItem(run.main, kIdNowIp);
  HoverOver(now_ip);
  HWND tip = VisibleTooltip(run.program.Id());
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(WindowText(tip), WindowText(now_ip));
  EXPECT_TRUE(EndSession(&run));

  // What was saved reads back as the same address: no change at the next start.
  SetLookupAnswer("[ " + v6 + " ]");
  const int before = LookupRequestCount();
  Session again;
  ASSERT_TRUE(Program::Launch(&again.program));
  again.main = WaitForWindow(again.program.Id(), "TfrmMain");
  ASSERT_NE(again.main, nullptr);
  ASSERT_TRUE(FirstCheckDone(again.main, before));
  EXPECT_EQ(ChangeTexts().size(), 5u);
  EXPECT_TRUE(EndSession(&again));
}

TEST(HostileInput, SettingsFromAnotherEditorKeepTheirValuesAndLines) {
  ClearDataFolder();
  WriteDataFile("lvn.ini",
                "\xEF\xBB\xBF; written by hand\r\n[Value]\r\nIpUrl=http://127.0.0.2/lvn.php?bom\r\n"
                "Interval=15000\r\n");
  SetLookupAnswer("[198.51.100.7]");
  const int before = RequestCount("GET /lvn.php?bom ");
  Session run;
  ASSERT_TRUE(StartSession(&run, 3));
  EXPECT_GT(RequestCount("GET /lvn.php?bom "), before);
  EXPECT_EQ(StatusFields(run.main), (std::vector<std::string>{"自動:15秒", "127.0.0.2", "行:1/2"}));
  ASSERT_TRUE(EndSession(&run));
  const std::string saved = ReadDataFile("lvn.ini");
  EXPECT_EQ(saved.rfind("; written by hand\r\n[Value]\r\nIpUrl=http://127.0.0.2/lvn.php?bom\r\n"
                        "Interval=15000\r\n",
                        0),
            0u)
      << saved;
  EXPECT_NE(saved.find("\r\nViewOff=1\r\n"), std::string::npos) << "missing keys are added";
}

// A profile folder whose name code page 932 cannot hold is used under that name: the
// files are where the folder's own name says.
TEST(HostileInput, ADataFolderOutsideTheCodePageIsUsedUnderItsOwnName) {
  const std::string profile = EnvironmentVariable("USERPROFILE");
  ASSERT_FALSE(profile.empty());
  // "José" and a Hangul syllable: neither is in code page 932.
  const std::string outside = profile + "\\Jos\u00E9\uD55C";
  const std::string roaming = outside + "\\Roaming";
  ::CreateDirectoryW(WideOf(outside).c_str(), nullptr);
  ::CreateDirectoryW(WideOf(roaming).c_str(), nullptr);
  ::DeleteFileW(WideOf(roaming + "\\Lorvane\\log.csv").c_str());
  ::DeleteFileW(WideOf(roaming + "\\Lorvane\\lvn.ini").c_str());
  SetLookupAnswer("[198.51.100.7]");
  {
    AppDataRedirect redirect(roaming);
    Session run;
    ASSERT_TRUE(Program::Launch(&run.program));
    run.main = WaitForWindow(run.program.Id(), "TfrmMain");
    ASSERT_NE(run.main, nullptr);
    EXPECT_TRUE(TopLevelWindows(run.program.Id(), "#32770").empty()) << "no error box";
    // Check start and the first address, in the folder under its long name.
    ASSERT_TRUE(WaitUntil([&] {
      return ReadFileBytes(roaming + "\\Lorvane\\log.csv").find(",20,") != std::string::npos;
    }));
    ASSERT_TRUE(EndSession(&run));
  }
  const std::string ini = ReadFileBytes(roaming + "\\Lorvane\\lvn.ini");
  EXPECT_NE(ini.find("IpHoz=198.51.100.7\r\n"), std::string::npos) << ini;
}

// A started program whose first lookup found the address it knew, and has been handled.
void StartWithKnownAddress(Session* run) {
  ClearDataFolder();
  WriteDataFile("lvn.ini", std::string(kOwnPage) + "IpHoz=198.51.100.7\r\n");
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  ASSERT_TRUE(StartSession(run, 2));
  HWND update = ::GetDlgItem(run->main, kIdUpdate);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
}

// A page whose head never ends holds the send step as long as it likes: the window stops
// waiting at its limit, records the outage and checks again as usual.
TEST(HostileInput, AHeadThatNeverEndsIsAnOutageWithinSeconds) {
  Session run;
  ASSERT_NO_FATAL_FAILURE(StartWithKnownAddress(&run));
  HWND update = ::GetDlgItem(run.main, kIdUpdate);
  SetLookupAnswer("!headdrip");
  const DWORD before = ::GetTickCount();
  ::PostMessageW(update, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) == FALSE; }));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }, 20000));
  EXPECT_LT(::GetTickCount() - before, 15000u) << "the worker held the window";
  ASSERT_TRUE(WaitForLogLines(2));
  EXPECT_EQ(Code(LogLines().back()), "11");
  // The abandoned worker still waits for its head: the next check asks the page nothing
  // more, so that no second thread waits on it, and the outage goes on.
  SetLookupAnswer("[198.51.100.7]\r\nLorvane lookup\r\n");
  const int requests = LookupRequestCount();
  DWORD_PTR clicked = 0;
  ASSERT_NE(::SendMessageTimeoutW(update, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &clicked), 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  EXPECT_EQ(LookupRequestCount(), requests);
  EXPECT_EQ(LogLines().size(), 2u);
  EXPECT_TRUE(EndSession(&run)) << "an exit does not wait for the page";
}

// Any program on the desktop can send the program's own messages, with any parameters:
// they must neither crash it, nor hand it a result, nor end or double a lookup.
TEST(HostileInput, MessagesFromAnotherProgramChangeNothing) {
  Session run;
  ASSERT_NO_FATAL_FAILURE(StartWithKnownAddress(&run));
  HWND update = ::GetDlgItem(run.main, kIdUpdate);
  const std::string now_ip = NowIpText(run.main);
  // A crashed program stops answering; the window texts are read only from one that does.
  const auto answers = [&] {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(run.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
  };
  const auto foreign = [&] {
    for (UINT message = WM_APP + 1; message <= WM_APP + 3; ++message) {
      DWORD_PTR ignored = 0;
      ::SendMessageTimeoutW(run.main, message, 0, 0x1234, SMTO_ABORTIFHUNG, 5000, &ignored);
      ::PostMessageW(run.main, message, 1, 0);
    }
    // A DPI change whose rectangle points nowhere.
    for (const UINT dpi : {96u, 144u}) {
      DWORD_PTR ignored = 0;
      ::SendMessageTimeoutW(run.main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0x1234,
                            SMTO_ABORTIFHUNG, 5000, &ignored);
      ::PostMessageW(run.main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0x1234);
    }
  };

  // Idle: no result, no box, nothing written.
  foreign();
  ASSERT_TRUE(answers()) << "the program stopped answering";
  EXPECT_FALSE(WaitUntil([&] { return !TopLevelWindows(run.program.Id(), "#32770").empty(); },
                         1000));
  EXPECT_TRUE(run.program.IsRunning());
  EXPECT_EQ(NowIpText(run.main), now_ip);

  // During a lookup that takes seconds: it runs on to its own end, and only then is Update
  // enabled again and the outage recorded; no second request goes out meanwhile.
  SetLookupAnswer("!trickle");
  const int requests = LookupRequestCount();
  ::PostMessageW(update, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return LookupRequestCount() == requests + 1; }));
  foreign();
  ASSERT_TRUE(answers()) << "the program stopped answering";
  EXPECT_FALSE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }, 1500))
      << "the lookup ended early";
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(update) != FALSE; }));
  EXPECT_EQ(LookupRequestCount(), requests + 1);
  EXPECT_TRUE(WaitForLogLines(2));
  EXPECT_EQ(Code(LogLines().back()), "11");
  EXPECT_TRUE(EndSession(&run));
}

TEST(HostileInput, DllsBesideTheProgramAreNeverLoaded) {
  // Wine's loader looks beside the program first, as Windows does, only when told so for
  // each DLL; a Windows environment variable cannot tell it, the run's own must.
  ASSERT_NE(EnvironmentVariable("WINEDLLOVERRIDES").find("winmm,msimg32,wininet,oleacc=n,b"),
            std::string::npos)
      << "run through scripts/test.sh";
  const std::string bin = ExecutableFolder();
  const std::string folder = bin + "planted\\";
  ::CreateDirectoryW(WideOf(folder).c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(WideOf(ProgramPath()).c_str(), WideOf(folder + "lorvane.exe").c_str(),
                          FALSE));
  const std::vector<std::string> dlls = {"wininet.dll", "winmm.dll", "msimg32.dll",
                                         "oleacc.dll"};
  for (const std::string& dll : dlls) {
    ASSERT_TRUE(::CopyFileW(WideOf(bin + "planted.dll").c_str(), WideOf(folder + dll).c_str(),
                            FALSE))
        << dll;
    ::DeleteFileW(WideOf(folder + dll + ".loaded").c_str());
  }
  ClearDataFolder();
  SetLookupAnswer("[198.51.100.7]");
  {
    Session run;
    ASSERT_TRUE(Program::Launch(&run.program, folder + "lorvane.exe"));
    run.main = WaitForWindow(run.program.Id(), "TfrmMain");
    ASSERT_NE(run.main, nullptr);
    // The lookup works through the system's WinINet, the version box through its version.dll.
    ASSERT_TRUE(WaitUntil([&] { return IsNowIp(NowIpText(run.main), "198.51.100.7"); }));
    ASSERT_TRUE(ChooseFromMenu(run, 'H', 'V'));
    HWND box = WaitForWindow(run.program.Id(), "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(ReadMessageBox(box).text.find(LVN_VERSION_TEXT), std::string::npos)
        << ReadMessageBox(box).text;
    ASSERT_TRUE(CloseBox(box, IDOK));
    // A screen reader's question makes the program answer through the system's oleacc.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* grid = nullptr;
    ::AccessibleObjectFromWindow(::GetDlgItem(run.main, kIdMainGrid),
                                 static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&grid));
    ASSERT_NE(grid, nullptr);
    VARIANT self{}, role{};
    V_VT(&self) = VT_I4;
    V_I4(&self) = CHILDID_SELF;
    EXPECT_EQ(grid->get_accRole(self, &role), S_OK);
    EXPECT_EQ(V_I4(&role), ROLE_SYSTEM_TABLE);
    grid->Release();
    ::CoUninitialize();
    EXPECT_TRUE(EndSession(&run));
  }
  for (const std::string& dll : dlls) {
    EXPECT_EQ(::GetFileAttributesW(WideOf(folder + dll + ".loaded").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << dll << " was loaded";
  }
}

}  // namespace
}  // namespace lvn::e2e
