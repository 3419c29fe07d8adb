#include "check/network_grace.h"

#include <algorithm>

namespace lvn {

void NetworkGrace::OnEvent(uint64_t now_ms) {
  until_ = now_ms + kNetworkGraceMs;
  if (retry_at_) retry_at_ = std::min(*until_, *held_since_ + kMaxHoldMs);
}

bool NetworkGrace::HoldFailure(uint64_t now_ms) {
  const bool within = until_ && now_ms < *until_;
  const bool overdue = held_since_ && now_ms >= *held_since_ + kMaxHoldMs;
  if (!within || overdue || retrying_) {
    Decided();
    return false;
  }
  if (!held_since_) held_since_ = now_ms;
  retry_at_ = std::min(*until_, *held_since_ + kMaxHoldMs);
  return true;
}

void NetworkGrace::CheckSucceeded() { Decided(); }

void NetworkGrace::RetryStarted() {
  retry_at_.reset();
  retrying_ = true;
}

void NetworkGrace::Decided() {
  retry_at_.reset();
  held_since_.reset();
  retrying_ = false;
}

}  // namespace lvn
