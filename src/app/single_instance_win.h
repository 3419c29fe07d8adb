#pragma once

#include "util/scoped_win.h"

namespace lvn {

inline constexpr char kInstanceMutexName[] = "Ombrix_LORVANE";

enum class InstanceClaim {
  kFirst,           // this process holds the mutex
  kAlreadyRunning,  // another copy in this logon holds it, or one we may not open
  kUnguarded,       // the mutex could not be created; run without the guard
};

// Creates the mutex named name (UTF-8). On kFirst, *mutex owns it for the life of the process.
InstanceClaim ClaimSingleInstance(const char* name, ScopedHandle* mutex);

}  // namespace lvn
