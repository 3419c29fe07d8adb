// A mutex on the system's slim reader/writer lock, for std::lock_guard. std::mutex would
// bring the C++ runtime's thread library and its exceptions into the program: a lock that
// cannot fail needs neither.
#pragma once

#include <windows.h>

namespace lvn {

class SrwMutex {
 public:
  SrwMutex() = default;
  SrwMutex(const SrwMutex&) = delete;
  SrwMutex& operator=(const SrwMutex&) = delete;

  void lock() { ::AcquireSRWLockExclusive(&lock_); }
  void unlock() { ::ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace lvn
