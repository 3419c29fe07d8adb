#include "check/check_cycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/network_grace.h"
#include "desktop/status_layout.h"
#include "util/text.h"

namespace lvn {
namespace {

// What a result does, in order: records appended, the address saved, the texts shown.
// Applied the way the main window's model does, to the facts the next result sees.
struct CheckRun {
  int32_t last_code = 1;  // check start was recorded at the first show
  std::string last_ip;

  std::vector<std::string> Take(const LookupResult& result, const LocalTime& t,
                                CheckEvents* events = nullptr) {
    const CheckOutcome outcome =
        HandleLookupResult(result, t, CheckFacts{last_code, last_ip.c_str(), "https://b/"});
    std::vector<std::string> log;
    for (const CheckRecord& record : outcome.Records) {
      log.push_back("record " + std::to_string(record.Code) + " " + record.Text);
      last_code = record.Code;
    }
    if (outcome.UpdateTime) log.push_back("UpdateTime " + *outcome.UpdateTime);
    if (outcome.Change) {
      log.push_back("save " + outcome.Change->LastIp + " " + outcome.Change->LastChange);
      last_ip = outcome.Change->LastIp;
    }
    if (outcome.Unconfirmed) {
      log.push_back("unconfirmed " + outcome.Unconfirmed->first + " " + outcome.Unconfirmed->second);
    }
    log.push_back("NowIp " + outcome.NowIp + (outcome.AnswerNote.empty() ? "" : " | ") +
                  outcome.AnswerNote);
    if (events != nullptr) *events = outcome.Events;
    return log;
  }
};

// "err" stands for a failed lookup, "fb:" in front for an answer of the fallback page,
// "?a/b" for an answer a that the fallback page answered b to, anything else for an
// answered one.
LookupResult Result(std::string text) {
  LookupResult result;
  if (text == "err") return result;
  result.Status = LookupStatus::kAnswered;
  result.FromFallback = text.rfind("fb:", 0) == 0;
  if (result.FromFallback) text.erase(0, 3);
  if (text.rfind('?', 0) == 0) {
    result.Unconfirmed = true;
    const std::size_t slash = text.find('/');
    CopyText(result.FallbackAddress, text.substr(slash + 1).c_str(), sizeof result.FallbackAddress);
    text = text.substr(1, slash - 1);
  }
  CopyText(result.Address, text.c_str(), sizeof result.Address);
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
       {"record 20 203.0.113.5", "UpdateTime 更新:2019/07/04 09:05:03",
        "save 203.0.113.5 2019/07/04 09:05:03", "NowIp 現在:203.0.113.5 確認:09:05:03"}},
      {"203.0.113.5", {"NowIp 現在:203.0.113.5 確認:09:05:03"}},
      // One record for a whole outage.
      {"err", {"record 11 ", "NowIp 現在:通信エラー 確認:09:05:03"}},
      // An address the fallback page did not confirm records nothing, not even the end of
      // the outage, and shows the address kept.
      {"?192.0.2.9/", {"unconfirmed 192.0.2.9 ", "NowIp 現在:203.0.113.5 確認:09:05:03"}},
      {"fb:?192.0.2.9/", {"unconfirmed  192.0.2.9", "NowIp 現在:203.0.113.5 確認:09:05:03"}},
      {"err", {"NowIp 現在:通信エラー 確認:09:05:03"}},
      // The fallback page's answer says which page gave it.
      {"fb:203.0.113.5",
       {"record 12 ", "NowIp 現在:203.0.113.5 確認:09:05:03 | 予備の確認ページ: https://b/"}},
      {"err", {"record 11 ", "NowIp 現在:通信エラー 確認:09:05:03"}},
      // Recovery with a new address: both records carry the same time.
      {"198.51.100.7",
       {"record 12 ", "record 20 198.51.100.7", "UpdateTime 更新:2019/07/04 09:05:03",
        "save 198.51.100.7 2019/07/04 09:05:03", "NowIp 現在:198.51.100.7 確認:09:05:03"}},
      // The empty text is an address too.
      {"",
       {"record 20 ", "UpdateTime 更新:2019/07/04 09:05:03", "save  2019/07/04 09:05:03",
        "NowIp 現在: 確認:09:05:03"}},
  };
  CheckRun run;
  for (const auto& step : steps) {
    EXPECT_EQ(run.Take(Result(step.result), t), step.log) << "result " << step.result;
  }
}

TEST(CheckCycle, AFailureNeverTouchesTheKnownAddress) {
  const CheckOutcome outcome = HandleLookupResult(
      LookupResult{}, LocalTime{2021, 2, 3, 4, 5, 6}, CheckFacts{1, "192.0.2.1", ""});
  EXPECT_FALSE(outcome.Change.has_value());
  EXPECT_FALSE(outcome.UpdateTime.has_value());
  EXPECT_EQ(UpdateTimeText(ChangeSeen::kBefore, "2020/01/01 00:00:00"), "変更:2020/01/01 00:00:00");
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
    CheckRun run;
    NotifySettings settings;
    settings.Change = settings.Outage = on;
    for (const auto& step : steps) {
      CheckEvents events;
      run.Take(Result(step.result), t, &events);
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
