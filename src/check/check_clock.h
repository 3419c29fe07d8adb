// When the main window checks, as a state machine over a monotonic millisecond clock: the
// periodic check, the check after a burst of network events or a resume from sleep, and
// the retry of a failure held in the grace that follows them. Each input gives the effects
// to carry out, in order; the window's adapter sets its timers and starts the lookups.
#pragma once

#include <cstdint>
#include <cstddef>
#include <initializer_list>

#include "check/network_grace.h"

namespace lvn {

enum class ClockTimer { kPeriod, kSettle, kRetry };

struct ClockEffect {
  enum class Kind {
    kStartCheck,
    kSetTimer,       // Timer, due in DelayMs (set again if it runs)
    kKillTimer,      // Timer
    kWatchNetwork,   // start the system's network notices
    kStopWatching,
    kRecordResult,   // the ended lookup's result counts: record and show it
    kHoldFailure,    // the ended lookup failed within the grace: only let Update be used
  };
  Kind What;
  ClockTimer Timer = ClockTimer::kPeriod;
  uint32_t DelayMs = 0;

  bool operator==(const ClockEffect&) const = default;
};

// At most four effects follow one input: kept in place, with no allocation on the timer's
// path.
class ClockEffects {
 public:
  ClockEffects() = default;
  ClockEffects(std::initializer_list<ClockEffect> effects) {
    for (const ClockEffect& effect : effects) push_back(effect);
  }
  void push_back(const ClockEffect& effect) {
    if (count_ < kCapacity) items_[count_++] = effect;
  }
  const ClockEffect* begin() const { return items_; }
  const ClockEffect* end() const { return items_ + count_; }

 private:
  static constexpr std::size_t kCapacity = 4;
  ClockEffect items_[kCapacity]{};
  std::size_t count_ = 0;
};

class CheckClock {
 public:
  // The periodic check's interval; the same one again keeps its rhythm.
  ClockEffects SetPeriod(int32_t period_ms);
  // Checks after network events, or not. Without the system's notices a resume from sleep
  // brings no check of its own either.
  ClockEffects WatchNetwork(bool on);

  ClockEffects PeriodElapsed();
  // An address or interface changed, or the system resumed from sleep.
  ClockEffects NetworkEvent(uint64_t now_ms);
  ClockEffects TimerDue(ClockTimer timer);
  ClockEffects LookupEnded(bool failed, uint64_t now_ms);

 private:
  ClockEffects RetryTimer(uint64_t now_ms) const;

  int32_t period_ms_ = 0;
  bool watch_ = false;
  NetworkGrace grace_;
};

}  // namespace lvn
