// Address and interface changes of this PC, from the IP helper API, taken from System32
// like WinINet. The system calls back on threads of its own; each change only posts a
// message that says "look".
#pragma once

#include <windows.h>

#include <memory>

namespace lvn {

// Where a change is posted; read by the system's callback threads.
struct NetworkWatchTarget {
  HWND Window;
  UINT Message;
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

 private:
  std::unique_ptr<NetworkWatchTarget> target_;
  HANDLE interfaces_ = nullptr;
  HANDLE addresses_ = nullptr;
};

}  // namespace lvn
