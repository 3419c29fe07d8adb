#include "check/update_schedule.h"

#include <algorithm>
#include <utility>

namespace lvn {

std::vector<PlannedSend> PlanSends(const UpdateTargets& targets, const CheckEvents& events,
                                   bool first_check, const std::vector<std::size_t>& held) {
  std::vector<PlannedSend> plan;
  for (std::size_t slot = 0; slot < kMaxTargets; ++slot) {
    if (!targets[slot] || std::find(held.begin(), held.end(), slot) != held.end()) continue;
    const UpdateTarget& target = *targets[slot];
    // Until its settings change: the services block accounts that repeat a refused request.
    if (IsStopped(target)) continue;
    for (const TargetEvent event :
         {TargetEvent::kRecovery, TargetEvent::kChange, TargetEvent::kOutage}) {
      // A DNS target's service may hold an older address than this start found.
      const bool happened = event == TargetEvent::kChange
                                ? events.Changed || (first_check && IsDnsKind(target.Kind))
                            : event == TargetEvent::kOutage ? events.OutageBegan
                                                            : events.Recovered;
      if (!target.Enabled || !happened || !ActsOn(target, event)) continue;
      PlannedSend send{slot, {event, events.Ip, events.OldIp, false}};
      send.Problem = TargetProblemOf(target);
      if (send.Problem == TargetProblem::kNone) {
        send.Decision = DecideSend(target, event, events, first_check);
        if (send.Decision == SendDecision::kNone) continue;
      } else if (IsDnsKind(target.Kind) && (events.Ip.empty() || events.Ip == target.Sent)) {
        continue;  // it would not have sent: nothing to say
      }
      plan.push_back(std::move(send));
    }
  }
  return plan;
}

std::optional<SendOrder> UpdateSchedule::Ask(std::size_t slot, SendOrder order, int64_t now_s) {
  if (slot >= kMaxTargets) return std::nullopt;
  Run& run = runs_[slot];
  if (run.Stopped && !order.Test) return std::nullopt;
  if (run.Running || (run.RetryAt && *run.RetryAt > now_s && !order.Test)) {
    if (!order.Test) run.Waiting = std::move(order);
    return std::nullopt;
  }
  run.Running = true;
  run.Current = order;
  return order;
}

std::optional<SendOrder> UpdateSchedule::Ended(std::size_t slot, UpdateVerdict verdict,
                                               int64_t now_s) {
  if (slot >= kMaxTargets || !runs_[slot].Running) return std::nullopt;
  Run& run = runs_[slot];
  run.Running = false;
  const bool test = run.Current && run.Current->Test;
  std::optional<SendOrder> sent = std::exchange(run.Current, std::nullopt);
  // A test says how the target answers; it neither stops nor retries the target's sends.
  if (!test) {
    if (verdict == UpdateVerdict::kSuccess) {
      run.SoftFailures = 0;
      run.RetryAt.reset();
    } else if (verdict == UpdateVerdict::kHardFailure) {
      run = Run{};
      run.Stopped = true;
      return std::nullopt;
    } else {
      ++run.SoftFailures;
      run.RetryAt = now_s + int64_t{60} * RetryDelayMinutes(run.SoftFailures);
      // The newest news goes when the retry does, in place of what failed.
      if (!run.Waiting) run.Waiting = std::move(sent);
      return std::nullopt;
    }
  }
  if (!run.Waiting || (run.RetryAt && *run.RetryAt > now_s)) return std::nullopt;
  run.Running = true;
  run.Current = std::exchange(run.Waiting, std::nullopt);
  return run.Current;
}

std::vector<std::pair<std::size_t, SendOrder>> UpdateSchedule::Due(int64_t now_s) {
  std::vector<std::pair<std::size_t, SendOrder>> due;
  for (std::size_t slot = 0; slot < kMaxTargets; ++slot) {
    Run& run = runs_[slot];
    if (run.Running || !run.RetryAt || *run.RetryAt > now_s) continue;
    // The retry's time has come; the target stays in its failure count until a success.
    run.RetryAt.reset();
    if (!run.Waiting) continue;
    run.Running = true;
    run.Current = std::exchange(run.Waiting, std::nullopt);
    due.emplace_back(slot, *run.Current);
  }
  return due;
}

std::optional<int64_t> UpdateSchedule::NextDue() const {
  std::optional<int64_t> next;
  for (const Run& run : runs_) {
    if (run.RetryAt && !run.Running && (!next || *run.RetryAt < *next)) next = run.RetryAt;
  }
  return next;
}

void UpdateSchedule::Reset(std::size_t slot) {
  if (slot >= kMaxTargets) return;
  const bool running = runs_[slot].Running;
  const std::optional<SendOrder> current = runs_[slot].Current;
  runs_[slot] = Run{};
  runs_[slot].Running = running;
  runs_[slot].Current = current;
}

}  // namespace lvn
