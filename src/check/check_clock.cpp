#include "check/check_clock.h"

namespace lvn {
namespace {

using Kind = ClockEffect::Kind;

ClockEffect Set(ClockTimer timer, uint64_t delay_ms) {
  // A delay longer than a timer holds cannot come from the grace's few seconds.
  return {Kind::kSetTimer, timer, delay_ms > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(delay_ms)};
}

ClockEffect Kill(ClockTimer timer) { return {Kind::kKillTimer, timer, 0}; }

ClockEffect Just(Kind what) { return {what, ClockTimer::kPeriod, 0}; }

}  // namespace

ClockEffects CheckClock::SetPeriod(int32_t period_ms) {
  if (period_ms == period_ms_ || period_ms <= 0) return {};
  period_ms_ = period_ms;
  return {Set(ClockTimer::kPeriod, static_cast<uint64_t>(period_ms))};
}

ClockEffects CheckClock::WatchNetwork(bool on) {
  if (on == watch_) return {};
  watch_ = on;
  if (on) return {Just(Kind::kWatchNetwork)};
  return {Just(Kind::kStopWatching), Kill(ClockTimer::kSettle)};
}

ClockEffects CheckClock::PeriodElapsed() { return {Just(Kind::kStartCheck)}; }

ClockEffects CheckClock::NetworkEvent(uint64_t now_ms) {
  if (!watch_) return {};
  // The check waits until a burst of events has settled.
  grace_.OnEvent(now_ms);
  ClockEffects effects{Set(ClockTimer::kSettle, kNetworkSettleMs)};
  for (const ClockEffect& effect : RetryTimer(now_ms)) effects.push_back(effect);
  return effects;
}

ClockEffects CheckClock::TimerDue(ClockTimer timer) {
  switch (timer) {
    case ClockTimer::kPeriod:
      return PeriodElapsed();
    case ClockTimer::kSettle:
      return {Kill(timer), Just(Kind::kStartCheck)};
    case ClockTimer::kRetry:
      // A timer message some other program posted finds nothing due.
      if (!grace_.RetryAt()) return {Kill(timer)};
      grace_.RetryStarted();
      return {Kill(timer), Just(Kind::kStartCheck)};
  }
  return {};
}

ClockEffects CheckClock::LookupEnded(bool failed, uint64_t now_ms) {
  if (!failed) {
    grace_.CheckSucceeded();
  } else if (grace_.HoldFailure(now_ms)) {
    ClockEffects effects = RetryTimer(now_ms);
    effects.push_back(Just(Kind::kHoldFailure));
    return effects;
  }
  return {Just(Kind::kRecordResult)};
}

ClockEffects CheckClock::RetryTimer(uint64_t now_ms) const {
  const std::optional<uint64_t> due = grace_.RetryAt();
  if (!due) return {};
  return {Set(ClockTimer::kRetry, *due > now_ms ? *due - now_ms : 0)};
}

}  // namespace lvn
