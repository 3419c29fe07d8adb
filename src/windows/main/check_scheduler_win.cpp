#include "windows/main/check_scheduler_win.h"

#include "util/texts.h"

namespace lvn {
namespace {

enum : UINT_PTR {
  kTimerPeriod = 1,
  kTimerLookupLimit = 2,  // set by the lookup worker while the window waits for it
  kTimerSettle = 3,       // the check after a burst of network events
  kTimerRetry = 4,        // the retry of a failure held in the grace
};

bool IsResume(UINT message, WPARAM wparam) {
  return message == WM_POWERBROADCAST &&
         (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND);
}

}  // namespace

void CheckScheduler::Attach(HWND window, UINT result_message, UINT network_message) {
  window_ = window;
  result_message_ = result_message;
  network_message_ = network_message;
}

void CheckScheduler::SetPeriod(int32_t period_ms) {
  if (period_ms == period_ms_) return;
  ::SetTimer(window_, kTimerPeriod, static_cast<UINT>(period_ms), nullptr);
  period_ms_ = period_ms;
}

void CheckScheduler::WatchNetwork(bool on) {
  if (on == watch_) return;
  watch_ = on;
  // Without the system's notices, a resume from sleep still brings a check.
  if (on) {
    watcher_.Start(window_, network_message_);
  } else {
    watcher_.Stop();
    ::KillTimer(window_, kTimerSettle);
  }
}

bool CheckScheduler::Start(const char* url, const std::string& fallback_url) {
  fallback_url_ = fallback_url;
  return lookup_.Start(url, window_, result_message_, kTimerLookupLimit, fallback_url.c_str());
}

void CheckScheduler::SetRetryTimer() {
  const ULONGLONG now = ::GetTickCount64();
  const ULONGLONG due = *grace_.RetryAt();
  ::SetTimer(window_, kTimerRetry, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

CheckScheduler::Action CheckScheduler::Ended(const LookupResult& result, LookupResult* out) {
  if (result.Status != LookupStatus::kFailed) {
    grace_.CheckSucceeded();
  } else if (grace_.HoldFailure(::GetTickCount64())) {
    SetRetryTimer();
    return Action::kHeldFailure;
  }
  answer_note_ = result.FromFallback ? texts::Ui().AnsweredByPrefix + fallback_url_ : std::string();
  *out = result;
  return Action::kResult;
}

CheckScheduler::Action CheckScheduler::OnMessage(UINT message, WPARAM wparam, LPARAM,
                                                 LookupResult* result, bool* handled) {
  *handled = true;
  if (message == result_message_) {
    const std::optional<LookupResult> ended = lookup_.TakeResult();
    return ended ? Ended(*ended, result) : Action::kNone;
  }
  // A network message that the watcher did not post finds no change to take.
  const bool network_change = message == network_message_ && watcher_.TakeChange();
  if ((network_change || IsResume(message, wparam)) && watch_) {
    // The check waits until a burst of events has settled.
    grace_.OnEvent(::GetTickCount64());
    ::SetTimer(window_, kTimerSettle, kNetworkSettleMs, nullptr);
    if (grace_.RetryAt()) SetRetryTimer();
    return Action::kNone;
  }
  if (message != WM_TIMER) {
    *handled = message == network_message_;
    return Action::kNone;
  }
  switch (wparam) {
    case kTimerPeriod:
      return Action::kCheck;
    case kTimerLookupLimit: {
      const std::optional<LookupResult> given_up = lookup_.GiveUpWhenOverdue();
      return given_up ? Ended(*given_up, result) : Action::kNone;
    }
    case kTimerSettle:
    case kTimerRetry:
      ::KillTimer(window_, wparam);
      // A timer message some other program posted finds nothing due.
      if (wparam == kTimerRetry) {
        if (!grace_.RetryAt()) return Action::kNone;
        grace_.RetryStarted();
      }
      return Action::kCheck;
    default:
      return Action::kNone;
  }
}

}  // namespace lvn
