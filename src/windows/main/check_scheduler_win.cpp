#include "windows/main/check_scheduler_win.h"

#include "windows/main/main_window_messages_win.h"

namespace lvn {
namespace {

UINT_PTR TimerId(ClockTimer timer) {
  switch (timer) {
    case ClockTimer::kPeriod: return kTimerPeriod;
    case ClockTimer::kSettle: return kTimerSettle;
    case ClockTimer::kRetry: return kTimerRetry;
  }
  return kTimerPeriod;
}

bool IsResume(UINT message, WPARAM wparam) {
  return message == WM_POWERBROADCAST &&
         (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND);
}

}  // namespace

bool CheckScheduler::Start(const char* url, const std::string& fallback_url,
                           const char* confirm_unless) {
  fallback_url_ = fallback_url;
  return lookup_.Start(url, window_, kMsgLookupResult, kTimerLookupLimit, fallback_url.c_str(),
                       confirm_unless);
}

CheckScheduler::Action CheckScheduler::Apply(const ClockEffects& effects) {
  Action action = Action::kNone;
  for (const ClockEffect& effect : effects) {
    switch (effect.What) {
      case ClockEffect::Kind::kStartCheck: action = Action::kCheck; break;
      case ClockEffect::Kind::kRecordResult: action = Action::kResult; break;
      case ClockEffect::Kind::kHoldFailure: action = Action::kHeldFailure; break;
      case ClockEffect::Kind::kSetTimer:
        ::SetTimer(window_, TimerId(effect.Timer), effect.DelayMs, nullptr);
        break;
      case ClockEffect::Kind::kKillTimer:
        ::KillTimer(window_, TimerId(effect.Timer));
        break;
      case ClockEffect::Kind::kWatchNetwork:
        watcher_.Start(window_, kMsgNetworkChanged);
        break;
      case ClockEffect::Kind::kStopWatching:
        watcher_.Stop();
        break;
    }
  }
  return action;
}

CheckScheduler::Action CheckScheduler::OnMessage(UINT message, WPARAM wparam,
                                                 LookupResult* result, bool* handled) {
  *handled = true;
  std::optional<LookupResult> ended;
  if (message == kMsgLookupResult) {
    ended = lookup_.TakeResult();
  } else if (message == WM_TIMER && wparam == kTimerLookupLimit) {
    ended = lookup_.GiveUpWhenOverdue();
  } else if ((message == kMsgNetworkChanged && watcher_.TakeChange()) ||
             IsResume(message, wparam)) {
    // A network message that the watcher did not post finds no change to take.
    return Apply(clock_.NetworkEvent(::GetTickCount64()));
  } else if (message == WM_TIMER && wparam == kTimerPeriod) {
    return Apply(clock_.TimerDue(ClockTimer::kPeriod));
  } else if (message == WM_TIMER && wparam == kTimerSettle) {
    return Apply(clock_.TimerDue(ClockTimer::kSettle));
  } else if (message == WM_TIMER && wparam == kTimerRetry) {
    return Apply(clock_.TimerDue(ClockTimer::kRetry));
  } else {
    *handled = message == kMsgNetworkChanged;
    return Action::kNone;
  }
  if (!ended) return Action::kNone;
  *result = *ended;
  return Apply(clock_.LookupEnded(ended->Status == LookupStatus::kFailed, ::GetTickCount64()));
}

}  // namespace lvn
