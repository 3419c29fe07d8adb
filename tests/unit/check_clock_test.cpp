#include "check/check_clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace lvn {
namespace {

std::string Text(const ClockEffects& effects) {
  static const char* const kTimers[] = {"period", "settle", "retry"};
  std::string text;
  for (const ClockEffect& effect : effects) {
    if (!text.empty()) text += ", ";
    const char* timer = kTimers[static_cast<int>(effect.Timer)];
    switch (effect.What) {
      case ClockEffect::Kind::kStartCheck: text += "check"; break;
      case ClockEffect::Kind::kSetTimer: text += "set " + std::string(timer) + " " + std::to_string(effect.DelayMs); break;
      case ClockEffect::Kind::kKillTimer: text += "kill " + std::string(timer); break;
      case ClockEffect::Kind::kWatchNetwork: text += "watch"; break;
      case ClockEffect::Kind::kStopWatching: text += "stop watching"; break;
      case ClockEffect::Kind::kRecordResult: text += "record"; break;
      case ClockEffect::Kind::kHoldFailure: text += "hold"; break;
    }
  }
  return text;
}

// One day of a laptop: the timers the window sets, the checks it starts and which results
// count, step by step.
TEST(CheckClock, ChecksAndRetriesAroundNetworkEvents) {
  CheckClock clock;
  const struct {
    const char* what;
    std::function<ClockEffects()> input;
    const char* effects;
  } steps[] = {
      {"start", [&] { return clock.SetPeriod(60000); }, "set period 60000"},
      {"same period", [&] { return clock.SetPeriod(60000); }, ""},
      {"tick", [&] { return clock.TimerDue(ClockTimer::kPeriod); }, "check"},
      {"failure, no event", [&] { return clock.LookupEnded(true, 1000); }, "record"},
      {"event unwatched", [&] { return clock.NetworkEvent(2000); }, ""},
      {"watch", [&] { return clock.WatchNetwork(true); }, "watch"},
      {"event", [&] { return clock.NetworkEvent(10000); }, "set settle 5000"},
      {"settled", [&] { return clock.TimerDue(ClockTimer::kSettle); }, "kill settle, check"},
      {"held", [&] { return clock.LookupEnded(true, 15000); }, "set retry 25000, hold"},
      {"second event moves it", [&] { return clock.NetworkEvent(20000); },
       "set settle 5000, set retry 30000"},
      {"success ends the hold", [&] { return clock.LookupEnded(false, 26000); }, "record"},
      {"stray retry", [&] { return clock.TimerDue(ClockTimer::kRetry); }, "kill retry"},
      {"event", [&] { return clock.NetworkEvent(100000); }, "set settle 5000"},
      {"held again", [&] { return clock.LookupEnded(true, 106000); }, "set retry 24000, hold"},
      {"retry", [&] { return clock.TimerDue(ClockTimer::kRetry); }, "kill retry, check"},
      {"the retry's failure counts", [&] { return clock.LookupEnded(true, 131000); }, "record"},
      {"unwatch", [&] { return clock.WatchNetwork(false); }, "stop watching, kill settle"},
      {"event unwatched", [&] { return clock.NetworkEvent(140000); }, ""},
  };
  for (const auto& step : steps) EXPECT_EQ(Text(step.input()), step.effects) << step.what;
}

}  // namespace
}  // namespace lvn
