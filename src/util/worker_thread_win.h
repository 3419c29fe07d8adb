// Starting a worker thread that owns what it works on. What a thread gets through its one
// pointer must be freed by the thread once it started and by its starter when it did not:
// the one place where that hand-over is written.
#pragma once

#include <windows.h>

#include <memory>
#include <new>
#include <optional>
#include <type_traits>
#include <utility>

#include "util/scoped_win.h"

namespace lvn {

namespace worker_thread_detail {

template <class Work>
DWORD WINAPI RunOwned(void* work) noexcept {
  const std::unique_ptr<Work> owned(static_cast<Work*>(work));
  (*owned)();
  return 0;
}

}  // namespace worker_thread_detail

// Moves *work onto a new thread, which runs (*work)() once and then destroys it there.
// The thread's handle; or nothing when there is no memory or the system cannot make the
// thread, with *work given back and ::GetLastError() saying why, so that the caller can
// still carry out or report what it asked.
template <class Work>
  requires std::is_nothrow_invocable_v<Work&> && std::is_nothrow_move_constructible_v<Work> &&
           std::is_nothrow_move_assignable_v<Work>
std::optional<ScopedHandle> StartWorkerThread(Work* work) noexcept {
  auto* start = new (std::nothrow) Work(std::move(*work));
  if (start == nullptr) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return std::nullopt;
  }
  ScopedHandle thread(
      ::CreateThread(nullptr, 0, &worker_thread_detail::RunOwned<Work>, start, 0, nullptr));
  if (thread) return thread;
  const DWORD error = ::GetLastError();
  *work = std::move(*start);
  delete start;
  // The heap may have set its own error on the way back.
  ::SetLastError(error);
  return std::nullopt;
}

}  // namespace lvn
