#include "check/network_grace.h"

namespace lvn {

void NetworkGrace::OnEvent(uint64_t now_ms) {
  until_ = now_ms + kNetworkGraceMs;
  // A retry already waiting moves with the while: one retry, at its end.
  if (retry_at_) retry_at_ = until_;
}

bool NetworkGrace::HoldFailure(uint64_t now_ms) {
  if (!until_ || now_ms >= *until_) return false;
  retry_at_ = until_;
  return true;
}

}  // namespace lvn
