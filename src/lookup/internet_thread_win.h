// The lookup worker: one thread per lookup, at most one at a time. It fetches the lookup
// URL, reduces the answer to the result text and hands it to its target window on the
// user-interface thread, then frees itself.
#pragma once

#include <windows.h>

#include <atomic>

#include "lookup/lookup_answer.h"

namespace lvn {

// True from the start of a worker until it has freed itself. Set on the user-interface
// thread, cleared on the worker's.
extern std::atomic<bool> LookupRunning;

class InternetThread {
 public:
  // Starts a worker for url that hands its result to target with kMsgLookupResult.
  // False, with LookupRunning untouched, when the system cannot make the thread.
  // Callers check LookupRunning first: only one worker may exist.
  static bool Start(const char* url, HWND target);

  InternetThread(const InternetThread&) = delete;
  InternetThread& operator=(const InternetThread&) = delete;

 private:
  explicit InternetThread(HWND target) : target_(target) {}
  ~InternetThread();

  static DWORD WINAPI ThreadMain(void* self) noexcept;
  void Execute();

  HWND target_;
  char Url[300] = "";
  char ResultText[kResultTextCapacity] = "";
};

}  // namespace lvn
