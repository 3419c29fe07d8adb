#include "app/single_instance_win.h"

#include <windows.h>

#include "util/wide_text_win.h"

namespace lvn {

InstanceClaim ClaimSingleInstance(const char* name, ScopedHandle* mutex) {
  const std::wstring wide_name = Wide(name);
  ScopedHandle handle(::CreateMutexW(nullptr, TRUE, wide_name.c_str()));
  // Read at once: the next call may change it.
  const DWORD error = ::GetLastError();
  // A copy running elevated owns a mutex that a plain user's copy may not open: that is
  // another copy, not a reason to run unguarded beside it.
  if (!handle) {
    return error == ERROR_ACCESS_DENIED ? InstanceClaim::kAlreadyRunning
                                        : InstanceClaim::kUnguarded;
  }
  if (error == ERROR_ALREADY_EXISTS) return InstanceClaim::kAlreadyRunning;
  *mutex = std::move(handle);
  return InstanceClaim::kFirst;
}

}  // namespace lvn
