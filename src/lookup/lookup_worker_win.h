// The lookup worker: one thread per lookup, at most one at a time, owned by a LookupWorker.
// It fetches the lookup URL, reduces the answer to the result text, leaves it in the slot
// it shares with its LookupWorker and posts the target window a message that only says
// "look there". No message ever carries the result: a message from another program must
// not be able to hand the window a pointer or end a lookup that runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "lookup/lookup_answer.h"
#include "settings/settings.h"

namespace lvn {

// Filled once by the worker thread; read by the window's thread only after Filled.
struct LookupSlot {
  char ResultText[kResultTextCapacity] = "";
  std::atomic<bool> Filled{false};
};

// Lives on the window's thread, as a member of the window that takes the results.
class LookupWorker {
 public:
  LookupWorker() = default;
  LookupWorker(const LookupWorker&) = delete;
  LookupWorker& operator=(const LookupWorker&) = delete;

  // Starts a worker for url that posts message to target once its result is in the slot.
  // False, with nothing started, while a lookup runs or when the system cannot make the
  // thread.
  bool Start(const char* url, HWND target, UINT message);
  // From Start until its result has been taken.
  bool Running() const { return slot_ != nullptr; }
  // On the message: the running lookup's result text, which ends the lookup. False, with
  // nothing changed, when there is none yet, as for a message some other program sent.
  bool TakeResult(char (&text)[kResultTextCapacity]);
  // Gives up on the running lookup: its thread runs on to its end, and its result, left in
  // a slot nobody reads any more, is never taken.
  void Abandon() { slot_.reset(); }

 private:
  std::shared_ptr<LookupSlot> slot_;
};

class InternetThread {
 public:
  InternetThread(const InternetThread&) = delete;
  InternetThread& operator=(const InternetThread&) = delete;

 private:
  friend class LookupWorker;
  InternetThread(std::shared_ptr<LookupSlot> slot, HWND target, UINT message)
      : slot_(std::move(slot)), target_(target), message_(message) {}
  ~InternetThread() = default;

  static DWORD WINAPI ThreadMain(void* self) noexcept;
  void Execute();

  // Shared, so that the slot outlives whichever of the window and the thread ends first.
  std::shared_ptr<LookupSlot> slot_;
  HWND target_;
  UINT message_;
  char Url[kUrlCapacity] = "";
};

}  // namespace lvn
