#include "check/check_cycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/network_grace.h"
#include "desktop/status_layout.h"
#include "util/text.h"

namespace lvn {
namespace {

struct FakeHost : CheckCycleHost {
  std::vector<std::string> log;  // what happened, in order
  int32_t last_code = 1;         // check start was recorded at the first show

  void RecordEvent(int32_t code, const char* text, const LocalTime& time) override {
    log.push_back("record " + std::to_string(code) + " " + text + " " + FormatDateTime(time));
    last_code = code;
  }
  int32_t LastEventCode() const override { return last_code; }
  void ShowNowIp(const char* text) override { log.push_back(std::string("NowIp ") + text); }
  void ShowUpdateTime(const char* text) override { log.push_back(std::string("UpdateTime ") + text); }
  void EnableUpdate() override { log.push_back("enable"); }
  void SaveAddressChange(const char* ip, const char* change) override {
    log.push_back(std::string("save ") + ip + " " + change);
  }
};

// "err" stands for a failed lookup, anything else for an answered one.
LookupResult Result(const char* text) {
  LookupResult result;
  if (std::string(text) == "err") return result;
  result.Status = LookupStatus::kAnswered;
  CopyText(result.Address, text, sizeof result.Address);
  return result;
}

TEST(CheckCycle, OutagesAndChangesAcrossARun) {
  const LocalTime t{2019, 7, 4, 9, 5, 3};
  const struct {
    const char* result;
    std::vector<std::string> log;
  } steps[] = {
      // First run: an empty LastIp makes the first address a change.
      {"203.0.113.5",
       {"record 20 203.0.113.5 2019/07/04 09:05:03", "UpdateTime 更新:2019/07/04 09:05:03",
        "save 203.0.113.5 2019/07/04 09:05:03", "NowIp 現在:203.0.113.5 確認:09:05:03", "enable"}},
      {"203.0.113.5", {"NowIp 現在:203.0.113.5 確認:09:05:03", "enable"}},
      // One record for a whole outage.
      {"err", {"record 11  2019/07/04 09:05:03", "NowIp 現在:通信エラー 確認:09:05:03", "enable"}},
      {"err", {"NowIp 現在:通信エラー 確認:09:05:03", "enable"}},
      {"203.0.113.5", {"record 12  2019/07/04 09:05:03", "NowIp 現在:203.0.113.5 確認:09:05:03", "enable"}},
      {"err", {"record 11  2019/07/04 09:05:03", "NowIp 現在:通信エラー 確認:09:05:03", "enable"}},
      // Recovery with a new address: both records carry the same time.
      {"198.51.100.7",
       {"record 12  2019/07/04 09:05:03", "record 20 198.51.100.7 2019/07/04 09:05:03",
        "UpdateTime 更新:2019/07/04 09:05:03", "save 198.51.100.7 2019/07/04 09:05:03",
        "NowIp 現在:198.51.100.7 確認:09:05:03", "enable"}},
      // The empty text is an address too.
      {"",
       {"record 20  2019/07/04 09:05:03", "UpdateTime 更新:2019/07/04 09:05:03",
        "save  2019/07/04 09:05:03", "NowIp 現在: 確認:09:05:03", "enable"}},
  };
  FakeHost host;
  CheckState state;
  for (const auto& step : steps) {
    host.log.clear();
    HandleLookupResult(Result(step.result), t, &state, &host);
    EXPECT_EQ(host.log, step.log) << "result " << step.result;
  }
}

TEST(CheckCycle, AFailureNeverTouchesTheKnownAddress) {
  FakeHost host;
  CheckState state;
  CopyText(state.LastIp, "192.0.2.1", sizeof state.LastIp);
  CopyText(state.LastChange, "2020/01/01 00:00:00", sizeof state.LastChange);
  HandleLookupResult(LookupResult{}, LocalTime{2021, 2, 3, 4, 5, 6}, &state, &host);
  EXPECT_STREQ(state.LastIp, "192.0.2.1");
  EXPECT_STREQ(state.LastChange, "2020/01/01 00:00:00");
  EXPECT_EQ(UpdateTimeText(ChangeSeen::kBefore, state.LastChange), "変更:2020/01/01 00:00:00");
}

// What a run of checks tells the user, with both notices on; with them off, nothing.
TEST(CheckCycle, NoticesFollowWhatWasRecorded) {
  const LocalTime t{2026, 12, 9, 1, 50, 0};
  const struct {
    const char* result;
    std::vector<std::string> notices;  // title: text
  } steps[] = {
      {"203.0.113.1", {"IPアドレスが変わりました: 203.0.113.1"}},
      {"203.0.113.1", {}},
      {"err", {"通信エラー: 開始:2026/12/09 01:50:00"}},
      {"err", {}},
      {"203.0.113.2",
       {"回復: 現在:203.0.113.2", "IPアドレスが変わりました: 203.0.113.1 → 203.0.113.2"}},
  };
  for (const bool on : {true, false}) {
    FakeHost host;
    CheckState state;
    NotifySettings settings;
    settings.Change = settings.Outage = on;
    for (const auto& step : steps) {
      const CheckEvents events = HandleLookupResult(Result(step.result), t, &state, &host);
      std::vector<std::string> shown;
      for (const Notice& notice : NoticesFor(events, settings, t)) {
        shown.push_back(notice.Title + ": " + notice.Text);
      }
      EXPECT_EQ(shown, on ? step.notices : std::vector<std::string>{}) << step.result;
    }
  }
}

// After a network event, failures within the while are held for one retry at its end;
// outside it, and the retry's own, they count.
TEST(NetworkGrace, HoldsFailuresForOneRetryAtTheEndOfTheWhile) {
  NetworkGrace grace;
  EXPECT_FALSE(grace.HoldFailure(1000)) << "no event yet";
  grace.OnEvent(10000);
  EXPECT_TRUE(grace.HoldFailure(15000));
  EXPECT_TRUE(grace.HoldFailure(20000));
  EXPECT_EQ(grace.RetryAt(), 40000u);
  grace.OnEvent(25000);  // a second event: the while, and the retry, move
  EXPECT_EQ(grace.RetryAt(), 55000u);
  grace.RetryStarted();
  EXPECT_FALSE(grace.RetryAt().has_value());
  EXPECT_FALSE(grace.HoldFailure(55000)) << "the retry's failure counts";
  EXPECT_FALSE(grace.RetryAt().has_value());
}

TEST(NetworkGrace, EventsThatNeverStopDelayAHeldFailureByAMinuteAtMost) {
  NetworkGrace grace;
  grace.OnEvent(0);
  ASSERT_TRUE(grace.HoldFailure(1000));
  // A line that re-dials every 20 s, with checks failing between the events.
  for (uint64_t t = 20000; t <= 60000; t += 20000) {
    grace.OnEvent(t);
    EXPECT_TRUE(grace.HoldFailure(t + 500)) << t;
  }
  EXPECT_EQ(grace.RetryAt(), 61000u);
  grace.OnEvent(61000);
  EXPECT_EQ(grace.RetryAt(), 61000u);
  grace.RetryStarted();
  grace.OnEvent(65000);
  EXPECT_FALSE(grace.HoldFailure(66000)) << "the retry's failure is recorded, events or not";
  // A success ends the hold: the next event's failure is held afresh, for its own minute.
  grace.OnEvent(200000);
  ASSERT_TRUE(grace.HoldFailure(201000));
  grace.CheckSucceeded();
  EXPECT_FALSE(grace.RetryAt().has_value());
  grace.OnEvent(300000);
  ASSERT_TRUE(grace.HoldFailure(301000));
  EXPECT_EQ(grace.RetryAt(), 330000u);
}

TEST(StatusStrip, TextsAndLayout) {
  const std::pair<int32_t, const char*> intervals[] = {
      {15000, "自動:15秒"}, {45000, "自動:45秒"}, {59000, "自動:59秒"},
      {60000, "自動:1分"}, {90000, "自動:1分"}, {3600000, "自動:60分"}};
  for (const auto& [ms, text] : intervals) EXPECT_EQ(IntervalStatusText(ms), text) << ms;
  EXPECT_EQ(RowIndicatorText(5, 13), "行:5/12");
  EXPECT_EQ(RowIndicatorText(0, 1), "行:0/0");

  // Every byte 6 px wide and 12 px high; "bad" cannot be measured.
  const MeasureStatusText measure = [](std::string_view text, int* w, int* h) {
    if (text == "bad") return false;
    *w = static_cast<int>(text.size()) * 6;
    *h = 12;
    return true;
  };
  const StatusLayout layout = LayoutStatus(";;ab;;bad;abcd;", measure);
  ASSERT_EQ(layout.FieldCount, 3);
  // 2 + (12 + 12) = 26, then the failed measurement repeats that size.
  EXPECT_EQ(std::vector<int>(layout.Edges, layout.Edges + 4), (std::vector<int>{2, 28, 54, 92}));
  EXPECT_EQ(layout.Borders[2].right, 90);
  EXPECT_EQ(layout.Borders[2].bottom, 20);

  StatusBox fill;
  int x = 0, y = 0;
  ASSERT_TRUE(StatusFieldInterior(layout, 1, 20, &fill, &x, &y));
  EXPECT_EQ(fill.left, 29);
  EXPECT_EQ(fill.right, 50);
  EXPECT_EQ(fill.bottom, 19);
  EXPECT_EQ(x, 34);
  EXPECT_EQ(y, 4);
  // An empty host leaves two fields; the third has no bounds and nothing is drawn.
  EXPECT_EQ(LayoutStatus("自動:60分;;行:####/####", measure).FieldCount, 2);
  EXPECT_FALSE(StatusFieldInterior(layout, 3, 20, &fill, &x, &y));
  EXPECT_FALSE(StatusFieldInterior(layout, -1, 20, &fill, &x, &y));
  EXPECT_EQ(LayoutStatus("a;b;c;d;e;f;g;h;i;j;k", measure).FieldCount, kMaxStatusFields);
}

}  // namespace
}  // namespace lvn
