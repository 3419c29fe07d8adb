// The lookup worker: one thread per lookup, at most one at a time. It fetches the lookup
// URL, reduces the answer to the result text and hands it to its target window on the
// user-interface thread, then frees itself.
#pragma once

#include <windows.h>

#include <atomic>

#include "lookup/lookup_answer.h"
#include "settings/settings.h"

namespace lvn {

// True from the start of a worker until its result has been taken. Set and, by the window
// that takes the result, cleared on the user-interface thread; cleared by the worker only
// when no window took the result.
extern std::atomic<bool> LookupRunning;

class InternetThread {
 public:
  // Starts a worker for url that sends message to target with the result text (const char*,
  // valid during the call) as lParam. The target handles it on the user-interface thread:
  // it clears LookupRunning before anything there can start the next lookup, and returns
  // nonzero. A zero return, or a target that no longer exists, leaves the clearing to the
  // worker. False, with LookupRunning untouched, when the system cannot make the thread.
  // Callers check LookupRunning first: only one worker may exist.
  static bool Start(const char* url, HWND target, UINT message);

  InternetThread(const InternetThread&) = delete;
  InternetThread& operator=(const InternetThread&) = delete;

 private:
  InternetThread(HWND target, UINT message) : target_(target), message_(message) {}
  ~InternetThread() = default;

  static DWORD WINAPI ThreadMain(void* self) noexcept;
  void Execute();

  HWND target_;
  UINT message_;
  char Url[kUrlCapacity] = "";
  char ResultText[kResultTextCapacity] = "";
};

}  // namespace lvn
