// The lookup worker: one thread per lookup, at most one at a time, started by a
// LookupWorker. The thread fetches the lookup URL, reduces the answer to a LookupResult,
// leaves it in the slot it shares with its LookupWorker and posts the target window a
// message that only says "look there". No message ever carries the result: a message from
// another program must not be able to hand the window a pointer or end a lookup that runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>

#include "lookup/lookup_answer.h"
#include "lookup/wininet_win.h"
#include "settings/settings.h"
#include "util/scoped_win.h"

namespace lvn {

// A lookup ends by itself within 5 s, reads included, but a server can hold the send step
// for as long as it likes with a head that trickles in: past this, the window stops
// waiting for the worker and counts the lookup as failed.
inline constexpr UINT kLookupLimitMs = 8000;

// Filled once by the worker thread; read by the window's thread only after Filled. Cancel
// is the window's, to end a lookup it gave up.
struct LookupSlot {
  LookupResult Result;
  std::atomic<bool> Filled{false};
  FetchCancel Cancel;
};

// Lives on the window's thread, as a member of the window that takes the results; every
// member function is called there.
class LookupWorker {
 public:
  LookupWorker() = default;
  LookupWorker(const LookupWorker&) = delete;
  LookupWorker& operator=(const LookupWorker&) = delete;

  // Starts a worker for url, and for fallback_url when url fails and it is not empty, that
  // posts message to target once its result is in the slot, and sets target's timer
  // limit_timer for the time the window waits at most (the limit for each page). False,
  // with nothing started, while a lookup runs or when the system cannot make the thread.
  // While a lookup given up before still holds its thread, no request is made: the
  // lookup fails at once, its result handed over as any other.
  // With confirm_unless, an answer other than it counts only when the fallback page,
  // asked at once, gives the same; else the result is Unconfirmed.
  bool Start(const char* url, HWND target, UINT message, UINT_PTR limit_timer,
             const char* fallback_url = "", const char* confirm_unless = nullptr);
  // From Start until its result has been taken or it was given up.
  bool Running() const { return slot_ != nullptr; }
  // On the message: the running lookup's result, which ends the lookup. Nothing, with
  // nothing changed, when there is none yet, as for a message some other program sent.
  std::optional<LookupResult> TakeResult();
  // On the limit timer: a failed result when the running lookup has run for the limit. Its
  // handles are closed, which ends its thread as soon as the system lets it; its result,
  // left in a slot nobody reads any more, is never taken. Nothing for a timer message that
  // came early or from elsewhere.
  std::optional<LookupResult> GiveUpWhenOverdue();

 private:
  void End();

  std::shared_ptr<LookupSlot> slot_;
  ScopedHandle thread_;
  // The thread of the lookup given up last, until it has ended: one at most.
  ScopedHandle abandoned_;
  HWND target_ = nullptr;
  UINT_PTR limit_timer_ = 0;
  DWORD started_ms_ = 0;
  DWORD limit_ms_ = 0;
};

}  // namespace lvn
