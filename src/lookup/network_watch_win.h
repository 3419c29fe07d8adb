// Address and interface changes of this PC, from the IP helper API, taken from System32
// like WinINet. The system calls back on threads of its own; each change only posts a
// message that says "look".
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

namespace lvn {

// Where a change is posted; read by the system's callback threads. The message only says
// "look": any program can post it, so a change counts only when Changed was set.
struct NetworkWatchTarget {
  HWND Window = nullptr;
  UINT Message = 0;
  std::atomic<bool> Changed{false};
};

class NetworkWatcher {
 public:
  NetworkWatcher() = default;
  ~NetworkWatcher() { Stop(); }
  NetworkWatcher(const NetworkWatcher&) = delete;
  NetworkWatcher& operator=(const NetworkWatcher&) = delete;

  // Posts message to target after each change, until Stop. False when the system offers
  // no such notices; the program then checks on its timer only.
  bool Start(HWND target, UINT message);
  // Returns once no callback runs any more.
  void Stop();
  bool Watching() const { return target_ != nullptr; }
  // True once for each burst of changes the system reported since the last call.
  bool TakeChange();

 private:
  std::unique_ptr<NetworkWatchTarget> target_;
  HANDLE interfaces_ = nullptr;
  HANDLE addresses_ = nullptr;
};

}  // namespace lvn
