// When each target sends: one request at a time, retries never sooner than their delay, a
// hard failure for good, and what a check asks of each target.
#include "check/update_schedule.h"

#include <gtest/gtest.h>

#include <string>

namespace lvn {
namespace {

TEST(UpdateSchedule, OneAtATimeRetriedAfterItsDelayAndStoppedByAHardFailure) {
  enum Step { kAsk, kEnded, kDue, kReset };
  const auto ok = UpdateVerdict::kSuccess, soft = UpdateVerdict::kSoftFailure,
             hard = UpdateVerdict::kHardFailure;
  const struct {
    Step step;
    int64_t at;
    std::string ip;  // kAsk: the order's address
    UpdateVerdict verdict;
    std::string starts;  // the address of the send that starts now; "" none
  } steps[] = {
      {kAsk, 0, "1.1.1.1", ok, "1.1.1.1"},
      {kAsk, 1, "2.2.2.2", ok, ""},         // the first still runs: the newest waits
      {kAsk, 2, "3.3.3.3", ok, ""},
      {kEnded, 3, "", ok, "3.3.3.3"},       // then goes, once
      {kEnded, 4, "", soft, ""},
      {kAsk, 60, "4.4.4.4", ok, ""},        // within the 5 minutes: it waits
      {kDue, 303, "", ok, ""},
      {kDue, 304, "", ok, "4.4.4.4"},
      {kEnded, 305, "", soft, ""},
      {kDue, 904, "", ok, ""},              // the second failure waits 10 minutes
      {kDue, 905, "", ok, "4.4.4.4"},
      {kEnded, 906, "", ok, ""},
      {kAsk, 907, "5.5.5.5", ok, "5.5.5.5"},  // a success starts afresh
      {kEnded, 908, "", hard, ""},
      {kAsk, 9000, "6.6.6.6", ok, ""},       // stopped, however long after
      {kReset, 9001, "", ok, ""},
      {kAsk, 9002, "7.7.7.7", ok, "7.7.7.7"},  // until its settings change
  };
  UpdateSchedule schedule;
  for (const auto& s : steps) {
    std::string started;
    if (s.step == kAsk) {
      if (auto order = schedule.Ask(0, {TargetEvent::kChange, s.ip, "", false}, s.at)) {
        started = order->Ip;
      }
    } else if (s.step == kEnded) {
      if (auto order = schedule.Ended(0, s.verdict, s.at)) started = order->Ip;
    } else if (s.step == kDue) {
      for (const auto& [slot, order] : schedule.Due(s.at)) started = order.Ip;
    } else {
      schedule.Reset(0);
    }
    EXPECT_EQ(started, s.starts) << "at " << s.at;
  }
}

TEST(UpdateSchedule, ACheckAsksEachTargetForWhatItActsOn) {
  UpdateTargets targets;
  targets[0] = UpdateTarget{.Kind = TargetKind::kDuckdns, .Url = "https://d/u", .Host = "h",
                            .Secret = "t", .Sent = "8.8.4.4"};
  targets[1] = UpdateTarget{.Kind = TargetKind::kNtfy, .Url = "https://n/t",
                            .On = {true, true, true}};
  targets[2] = UpdateTarget{.Kind = TargetKind::kDynv6, .Url = "http://plain/u", .Host = "h",
                            .Secret = "t"};
  targets[3] = UpdateTarget{.Kind = TargetKind::kSlack, .Secret = "https://s/x"};
  const CheckEvents change{false, true, true, "8.8.4.4", "9.9.9.9"};
  const CheckEvents same_at_start{false, false, false, "", "8.8.4.4"};
  const CheckEvents outage{true, false, false, "", ""};
  const CheckEvents private_change{false, false, true, "8.8.4.4", "192.168.1.2"};
  const auto slots = [&](const CheckEvents& events, bool first,
                         std::vector<std::size_t> held = {}) {
    std::string text;
    for (const PlannedSend& p : PlanSends(targets, events, first, held)) {
      text += std::to_string(p.Slot) + EventName(p.Order.Event) +
              (p.Decision == SendDecision::kNotGlobal ? "!global" : "") +
              (p.Problem != TargetProblem::kNone ? "!refused" : "") + " ";
    }
    return text;
  };
  EXPECT_EQ(slots(change, false), "0change 1recovery 1change 2change!refused 3change ");
  EXPECT_EQ(slots(change, false, {0, 3}), "1recovery 1change 2change!refused ");
  // Sent already holds it: no request; the refused DNS target says why at each start.
  EXPECT_EQ(slots(same_at_start, true), "2change!refused ");
  EXPECT_EQ(slots(outage, false), "1outage ");
  EXPECT_EQ(slots(private_change, false), "0change!global 1change 2change!refused 3change ");
  // A hard failure of an earlier run holds until the settings change, by whatever hand.
  targets[0]->Stopped = SettingsFingerprint(*targets[0]);
  EXPECT_EQ(slots(change, false, {3}), "1recovery 1change 2change!refused ");
  targets[0]->Host = "h2";
  EXPECT_EQ(slots(change, false, {3}), "0change 1recovery 1change 2change!refused ");
}

}  // namespace
}  // namespace lvn
