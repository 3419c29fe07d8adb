// What a target's answer means, when it is tried again, and when a check sends at all.
#include "notify/update_result.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lvn {
namespace {

TEST(UpdateResult, EachKindsAnswerDecidesItsVerdict) {
  using enum UpdateVerdict;
  const auto d = TargetKind::kDyndns2, dk = TargetKind::kDuckdns, n = TargetKind::kNtfy;
  const struct {
    TargetKind kind;
    std::optional<int> status;
    std::string body;
    UpdateVerdict verdict;
    std::string word;
  } cases[] = {
      {d, 200, "good 203.0.113.9\n", kSuccess, "good"},
      {d, 200, "\r\nnochg 203.0.113.9", kSuccess, "nochg"},
      {d, 401, "badauth", kHardFailure, "badauth"}, {d, 200, "BadAgent", kHardFailure, "BadAgent"},
      {d, 200, "911", kSoftFailure, "911"}, {d, std::nullopt, "", kSoftFailure, ""},
      {d, 502, "<html>Bad Gateway", kSoftFailure, "<html>Bad"},
      {d, 200, "<!DOCTYPE html>", kHardFailure, "<!DOCTYPE"},  // not the protocol's
      {d, 200, "\xE3\x81\x82", kHardFailure, "200"},
      {dk, 200, "OK", kSuccess, "OK"}, {dk, 200, "KO", kHardFailure, "KO"},
      {dk, 500, "", kSoftFailure, "500"}, {n, 200, "{}", kSuccess, "200"},
      {n, 302, "", kHardFailure, "302"},  // a redirect is never followed
      {n, 403, "", kHardFailure, "403"}, {n, 429, "", kSoftFailure, "429"},
      {n, 500, "", kSoftFailure, "500"}, {TargetKind::kSlack, 404, "x", kHardFailure, "404"},
  };
  for (const auto& c : cases) {
    const UpdateResult r = UpdateResultOf(c.kind, c.status, c.body);
    EXPECT_EQ(r.Verdict, c.verdict) << c.body << " " << c.status.value_or(0);
    EXPECT_EQ(r.Word, c.word) << c.body;
  }
}

TEST(UpdateResult, SoftFailuresBackOffToHalfHourly) {
  const int delays[] = {5, 5, 10, 20, 30, 30, 30};
  for (int n = 0; n < 7; ++n) EXPECT_EQ(RetryDelayMinutes(n), delays[n]) << n;
  const LocalTime at{2026, 5, 1, 9, 5, 59};
  EXPECT_EQ(UpdateResultText({UpdateVerdict::kSoftFailure, "911"}, at),
            "失敗 (再試行: 09:05) 911");
  EXPECT_EQ(UpdateResultText({UpdateVerdict::kHardFailure, ""}, at), "失敗 (再試行なし)");
}

TEST(UpdateResult, ChecksSendOnlyNewGlobalAddressesToDns) {
  UpdateTarget dns{.Kind = TargetKind::kDuckdns, .Url = kDefaultDuckdnsUrl, .Host = "h",
                   .Secret = "tk", .Sent = "203.0.114.1"};
  UpdateTarget off = dns;
  off.Enabled = false;
  UpdateTarget hook{.Kind = TargetKind::kDiscord, .Secret = "https://hooks.example/1",
                    .On = {false, true, false}};
  using enum SendDecision;
  const auto change = TargetEvent::kChange, outage = TargetEvent::kOutage;
  const struct {
    const UpdateTarget& target;
    TargetEvent event;
    bool changed, outage_began;
    const char* ip;
    bool first_check;
    SendDecision decision;
  } cases[] = {
      {dns, change, true, false, "203.0.114.2", false, kSend},
      {dns, change, false, false, "2001:4860::1", false, kNone},  // nothing new recorded
      {dns, change, false, false, "2001:4860::1", true, kSend},   // but Sent is outdated
      {dns, change, false, false, "203.0.114.1", true, kNone},    // Sent holds it
      {dns, change, true, false, "192.168.0.2", false, kNotGlobal},
      {dns, outage, false, true, "", false, kNone},  // DNS acts on changes only
      {dns, change, false, true, "", true, kNone},   // no address to send
      {off, change, true, false, "203.0.114.2", true, kNone},
      {hook, outage, false, true, "", false, kSend},
      {hook, change, true, false, "203.0.114.2", false, kNone},  // its On= names no change
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    CheckEvents events;
    events.Changed = c.changed;
    events.OutageBegan = c.outage_began;
    events.Ip = c.ip;
    EXPECT_EQ(DecideSend(c.target, c.event, events, c.first_check), c.decision) << i;
  }
}

}  // namespace
}  // namespace lvn
