#include "app/single_instance_win.h"

#include <windows.h>

namespace lvn {

InstanceClaim ClaimSingleInstance(const char* name, ScopedHandle* mutex) {
  ScopedHandle handle(::CreateMutexA(nullptr, TRUE, name));
  // Read at once: the next call may change it.
  const DWORD error = ::GetLastError();
  if (!handle) return InstanceClaim::kUnguarded;
  if (error == ERROR_ALREADY_EXISTS) return InstanceClaim::kAlreadyRunning;
  *mutex = std::move(handle);
  return InstanceClaim::kFirst;
}

}  // namespace lvn
