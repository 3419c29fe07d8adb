// After a network change or a resume from sleep the line may need a moment before the
// lookup page answers. For a while after such an event a failing check is not an outage
// yet: it is retried once when that while is over, and only the retry's failure counts.
#pragma once

#include <cstdint>
#include <optional>

namespace lvn {

// The check after an event waits this long after the last of a burst of events.
inline constexpr uint32_t kNetworkSettleMs = 5000;
// How long after an event a failure is held.
inline constexpr uint32_t kNetworkGraceMs = 30000;
// A held failure is retried no later than this after it was first held, however many
// events follow: a line that re-dials all the time must not hide an outage for ever.
inline constexpr uint32_t kMaxHoldMs = 60000;

class NetworkGrace {
 public:
  // An event at now_ms (a monotonic millisecond clock); each one starts the while anew,
  // and moves a waiting retry with it, up to kMaxHoldMs after the failure was first held.
  void OnEvent(uint64_t now_ms);
  // A check failed at now_ms. True when the failure is held: the retry is then due at
  // RetryAt(). A failure after the while, or the retry's, is not held.
  bool HoldFailure(uint64_t now_ms);
  // A check succeeded: nothing is held any more.
  void CheckSucceeded();
  // When the held failure's retry is due; nothing when none is.
  std::optional<uint64_t> RetryAt() const { return retry_at_; }
  // The retry has started: its failure is decided.
  void RetryStarted();

 private:
  void Decided();

  std::optional<uint64_t> until_;
  std::optional<uint64_t> retry_at_;
  std::optional<uint64_t> held_since_;
  bool retrying_ = false;
};

}  // namespace lvn
