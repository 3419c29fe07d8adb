#include "notify/run_queue.h"

#include <utility>

namespace lvn {

std::optional<RunRequest> RunQueue::Add(RunRequest request) {
  if (closed_) return std::nullopt;
  if (!running_) {
    running_ = true;
    return request;
  }
  (request.Test ? test_ : change_) = std::move(request);
  return std::nullopt;
}

std::optional<RunRequest> RunQueue::Next() {
  std::optional<RunRequest> next;
  if (change_) {
    next.swap(change_);
  } else if (test_) {
    next.swap(test_);
  }
  running_ = next.has_value();
  return next;
}

void RunQueue::Close() {
  closed_ = true;
  change_.reset();
  test_.reset();
}

}  // namespace lvn
