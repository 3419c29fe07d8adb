// Carries out the check clock on the main window: its timers, the lookup that runs and how
// long the window waits for it, and the system's network notices. The window hands it its
// messages and does what it answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "check/check_clock.h"
#include "lookup/lookup_answer.h"
#include "lookup/lookup_worker_win.h"
#include "lookup/network_watch_win.h"

namespace lvn {

class CheckScheduler {
 public:
  enum class Action {
    kNone,
    kCheck,         // start a check now
    kResult,        // a lookup ended: record its result
    kHeldFailure,   // a lookup failed within the grace: it is retried later, not recorded
  };

  // The timers and messages go to window.
  void Attach(HWND window) { window_ = window; }
  void SetPeriod(int32_t period_ms) { Apply(clock_.SetPeriod(period_ms)); }
  void WatchNetwork(bool on) { Apply(clock_.WatchNetwork(on)); }
  // A lookup of url, then of fallback_url when url fails and it is not empty. False when
  // none started: one runs, or there is no thread for it.
  // With confirm_unless, a new address needs the fallback page's word (LookupWorker).
  bool Start(const char* url, const std::string& fallback_url,
             const char* confirm_unless = nullptr);
  bool Running() const { return lookup_.Running(); }
  // The fallback page of the lookup that ran last.
  const std::string& FallbackUrl() const { return fallback_url_; }
  // One of the window's messages; *result is set for kResult. kNone for every message that
  // is not the scheduler's, and *handled false then.
  Action OnMessage(UINT message, WPARAM wparam, LookupResult* result, bool* handled);
  // At exit.
  void Stop() { watcher_.Stop(); }

 private:
  Action Apply(const ClockEffects& effects);

  HWND window_ = nullptr;
  std::string fallback_url_;
  CheckClock clock_;
  LookupWorker lookup_;
  NetworkWatcher watcher_;
};

}  // namespace lvn
