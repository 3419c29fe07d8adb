// The lookup as changing networks need it: a fallback page when the lookup page fails, and
// a check after a resume from sleep whose failures wait for one retry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness_win.h"
#include "windows/main/main_window_ids.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn::e2e {
namespace {

int Records(const char* code) {
  int count = 0;
  for (const std::string& line : LogLines()) count += Code(line) == code ? 1 : 0;
  return count;
}

bool ShowsNowIp(HWND main, const std::string& address) {
  return IsNowIp(WindowText(::GetDlgItem(main, kIdNowIp)), address);
}

TEST(Lookup, TheFallbackPageAnswersWhenTheLookupPageFails) {
  ClearDataFolder();
  WriteDataFile("lvn.ini",
                "[Value]\r\nIpUrl=http://127.0.0.2/nf\r\nIpHoz=198.51.100.7\r\n"
                "[Lookup]\r\nFallbackUrl=http://127.0.0.2/lvn.php\r\n");
  SetLookupAnswer("[198.51.100.7]\r\n");
  Session run;
  ASSERT_TRUE(StartSession(&run, 2));
  ASSERT_TRUE(WaitUntil([&] { return ShowsNowIp(run.main, "198.51.100.7"); }));
  EXPECT_EQ(Records("11"), 0) << "the lookup page's failure is no outage";

  // Both pages down: one outage, however many checks, and one recovery.
  SetLookupAnswer("!down");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_TRUE(WaitUntil([] { return Records("11") == 1; }));
  SetLookupAnswer("[198.51.100.7]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  EXPECT_TRUE(WaitUntil([] { return Records("12") == 1; }));
  EXPECT_EQ(Records("11"), 1);
  ASSERT_TRUE(EndSession(&run));
  EXPECT_NE(ReadDataFile("lvn.ini").find("FallbackUrl=http://127.0.0.2/lvn.php\r\n"),
            std::string::npos);
}

TEST(Lookup, AResumeFromSleepBringsACheckWhoseFailureWaitsForItsRetry) {
  const auto resume = [](const Session& run) {
    ::PostMessageW(run.main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  };
  for (const bool on : {false, true}) {
    ClearDataFolder();
    WriteDataFile("lvn.ini", std::string("[Value]\r\nInterval=3600000\r\nIpHoz=198.51.100.7\r\n") +
                                 (on ? "[Lookup]\r\nCheckOnNetworkChange=1\r\n" : ""));
    SetLookupAnswer("[198.51.100.7]\r\n");
    Session run;
    ASSERT_TRUE(StartSession(&run, 2));
    ASSERT_TRUE(WaitUntil([&] { return ShowsNowIp(run.main, "198.51.100.7"); }));
    const int before = LookupRequestCount();
    resume(run);
    // The check waits 5 s for the network to settle.
    EXPECT_EQ(WaitUntil([&] { return LookupRequestCount() > before; }, on ? 10000 : 7000), on);
    if (on) {
      // The network message from another program is no network change: nothing is checked.
      ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run.main, kIdUpdate)); }));
      const int quiet = LookupRequestCount();
      ::PostMessageW(run.main, kMsgNetworkChanged, 0, 0);
      EXPECT_FALSE(WaitUntil([&] { return LookupRequestCount() > quiet; }, 7000));

      // Within the while after the event, a failure is held for a retry. Events that keep
      // coming (a line that re-dials every few seconds) put off its retry by a minute at
      // most: then the outage is recorded.
      SetLookupAnswer("!down");
      const int held = LookupRequestCount();
      resume(run);
      ASSERT_TRUE(WaitUntil([&] { return LookupRequestCount() > held; }, 10000));
      ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(run.main, kIdUpdate)); }));
      EXPECT_EQ(Records("11"), 0);
      ULONGLONG last_event = ::GetTickCount64();
      EXPECT_TRUE(WaitUntil([&] {
        if (::GetTickCount64() - last_event >= 10000) {
          resume(run);
          last_event = ::GetTickCount64();
        }
        return Records("11") == 1;
      }, 100000)) << "the held failure was never decided";
    }
    ASSERT_TRUE(EndSession(&run));
  }
}

}  // namespace
}  // namespace lvn::e2e
