// When the update targets send: what a check asks of each, one request at a time per
// target, a soft failure tried again after 5, 10, 20 and then every 30 minutes and never
// sooner, a hard one stopping the target until its settings change. Pure: the window's
// runner carries out what it answers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "notify/notices.h"
#include "notify/update_result.h"
#include "settings/update_targets.h"

namespace lvn {

// What one send tells the target.
struct SendOrder {
  TargetEvent Event = TargetEvent::kChange;
  std::string Ip;
  std::string OldIp;
  bool Test = false;  // the options' test send
};

// What a check asks of one target.
struct PlannedSend {
  std::size_t Slot = 0;
  SendOrder Order;
  SendDecision Decision = SendDecision::kSend;  // kNotGlobal: logged, not sent
  TargetProblem Problem = TargetProblem::kNone;  // refused: logged, not sent
};

// The sends a check that recorded events asks for, in slot and event order. A target held
// back (its secret unreadable) asks for none; one that cannot send says why.
std::vector<PlannedSend> PlanSends(const UpdateTargets& targets, const CheckEvents& events,
                                   bool first_check, const std::vector<std::size_t>& held);

class UpdateSchedule {
 public:
  // A send asked for at now_s (seconds on a steady clock): to start at once, or nothing
  // while the target's request runs, a retry waits or it is stopped. The newest order
  // waits in its place, and goes when the target is free.
  std::optional<SendOrder> Ask(std::size_t slot, SendOrder order, int64_t now_s);
  // The slot's request ended with verdict: the next order to start at once, if any.
  std::optional<SendOrder> Ended(std::size_t slot, UpdateVerdict verdict, int64_t now_s);
  // The retries due at now_s, each to start (their slots marked running).
  std::vector<std::pair<std::size_t, SendOrder>> Due(int64_t now_s);
  // When the earliest retry is due; nothing when none waits.
  std::optional<int64_t> NextDue() const;
  // The slot's settings changed: its stop, its failures and what waited are forgotten.
  void Reset(std::size_t slot);
  // The slot's target is gone: nothing of it is left, a send counted as running included.
  void Drop(std::size_t slot) {
    if (slot < kMaxTargets) runs_[slot] = Run{};
  }
  // Its soft failures in a row.
  int SoftFailures(std::size_t slot) const {
    return slot < kMaxTargets ? runs_[slot].SoftFailures : 0;
  }

 private:
  struct Run {
    bool Running = false;
    bool Stopped = false;
    int SoftFailures = 0;
    std::optional<int64_t> RetryAt;
    std::optional<SendOrder> Waiting;  // the newest order, for when the target is free
    std::optional<SendOrder> Current;  // the running one's, for its retry
  };
  std::array<Run, kMaxTargets> runs_{};
};

}  // namespace lvn
