// When the main window checks: the periodic timer, the lookup that runs and how long the
// window waits for it, the fallback page, and the check after a network change or a
// resume from sleep with its while of grace. The window hands it its messages and does
// what it answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "check/network_grace.h"
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

  // window: where the timers and result_message go; network_message is posted there for
  // each network change.
  void Attach(HWND window, UINT result_message, UINT network_message);
  // The periodic check; the same period again keeps its rhythm.
  void SetPeriod(int32_t period_ms);
  // Checks after a network change or a resume from sleep, or not.
  void WatchNetwork(bool on);
  // A lookup of url, then of fallback_url when url fails and it is not empty. False when
  // none started: one runs, or there is no thread for it.
  bool Start(const char* url, const std::string& fallback_url);
  bool Running() const { return lookup_.Running(); }
  // Says which page gave the last result when it was the fallback; else empty.
  const std::string& AnswerNote() const { return answer_note_; }
  // One of the window's messages; *result is set for kResult. kNone for every message that
  // is not the scheduler's, and *handled false then.
  Action OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LookupResult* result,
                   bool* handled);
  // At exit.
  void Stop() { watcher_.Stop(); }

 private:
  Action Ended(const LookupResult& result, LookupResult* out);
  void SetRetryTimer();

  HWND window_ = nullptr;
  UINT result_message_ = 0;
  UINT network_message_ = 0;
  int32_t period_ms_ = 0;
  bool watch_ = false;
  std::string fallback_url_;
  std::string answer_note_;
  LookupWorker lookup_;
  NetworkGrace grace_;
  NetworkWatcher watcher_;
};

}  // namespace lvn
