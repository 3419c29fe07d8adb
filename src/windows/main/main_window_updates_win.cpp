// The update targets: the sends a check asks for, their results on the screen, in the
// notices and in lvn.ini, and the options' test.
#include "windows/main/main_window_win.h"

#include <algorithm>
#include <utility>

#include "util/wide_text_win.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn {
namespace {

// slot's entry among the targets held back this run, or none.
const HeldTarget* HeldOf(const std::vector<HeldTarget>& held, std::size_t slot) {
  const auto found = std::find_if(held.begin(), held.end(),
                                  [slot](const HeldTarget& h) { return h.Number == slot + 1; });
  return found == held.end() ? nullptr : &*found;
}

}  // namespace

std::string TfrmMain::TargetStatus(std::size_t slot) const {
  if (const HeldTarget* held = HeldOf(model_.HeldTargets(), slot)) {
    return held->Fault == SecretFault::kNotUnprotected ? texts::Ui().UpdateHeldTitle
                                                       : texts::Ui().UpdateUnprotected;
  }
  const auto& target = model_.Current().Targets[slot < kMaxTargets ? slot : 0];
  if (updates_.Status(slot).empty() && target && IsStopped(*target)) {
    return texts::Ui().UpdateHardFailure;  // by a run before this one
  }
  return updates_.Status(slot);
}

void TfrmMain::TestTargetSend(std::size_t slot, HWND owner) {
  const UpdateTargets& targets = model_.Current().Targets;
  if (slot >= kMaxTargets || !targets[slot]) return;
  // A stopped target may be tried: the account may have been put right on the service's side.
  const bool usable = HeldOf(model_.HeldTargets(), slot) == nullptr;
  std::string why = usable ? std::string() : TargetStatus(slot);
  if (usable && updates_.Test(slot, *targets[slot], model_.Current().Value.LastIp, &why)) {
    test_box_owners_[slot] = owner;
    return;
  }
  ::MessageBoxW(owner, Wide(why).c_str(), Wide(texts::Ui().UpdateTestTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

void TfrmMain::TargetEdited(std::size_t slot) { updates_.Reset(slot); }

void TfrmMain::SendToTargets(const CheckOutcome& outcome, const LocalTime& now) {
  if (outcome.Unconfirmed) {
    const auto& [address, fallback] = *outcome.Unconfirmed;
    const auto answer = [](const std::string& text) {
      return text.empty() ? std::string(texts::Ui().CommError) : text;
    };
    updates_.Log({now, "-", "unconfirmed", answer(address), answer(fallback), ""});
    return;
  }
  const CheckEvents& events = outcome.Events;
  // A start brings each DNS target up to the first address it finds, once.
  const bool first = !targets_checked_ && !events.Ip.empty();
  targets_checked_ = targets_checked_ || first;
  if (!first && !events.Changed && !events.OutageBegan && !events.Recovered) return;
  updates_.OnCheck(model_.Current().Targets, model_.HeldTargets(), events, first, now);
}

void TfrmMain::TellHeldTargets() {
  std::string numbers;
  for (const HeldTarget& held : model_.HeldTargets()) {
    numbers += (numbers.empty() ? "" : ", ") + std::to_string(held.Number);
  }
  if (numbers.empty()) return;
  tray_.ShowNotice({texts::Ui().UpdateHeldTitle, texts::Ui().UpdateHeldText + numbers, true});
}

bool TfrmMain::OnUpdateMessage(UINT message, WPARAM wparam) {
  const UpdateTargets& targets = model_.Current().Targets;
  if (message == WM_TIMER && wparam == kTimerUpdateRetry) {
    if (!destroying_) updates_.OnRetryTimer(targets);
    return true;
  }
  if (message != kMsgUpdateEnded) return false;
  const NotifySettings& notify = model_.Current().Notify;
  for (const UpdateEnded& ended : updates_.TakeEnded(targets)) {
    const auto& target = targets[ended.Slot];
    const bool success = !ended.Refused && ended.Result.Verdict == UpdateVerdict::kSuccess;
    if (success && target && IsDnsKind(target->Kind) && !ended.Order.Ip.empty()) {
      model_.TargetSent(ended.Slot, ended.Order.Ip);
    }
    const bool hard = !ended.Refused && ended.Result.Verdict == UpdateVerdict::kHardFailure;
    if (target && ((hard && !ended.Order.Test) || (success && !target->Stopped.empty()))) {
      model_.TargetStopped(ended.Slot, hard);
      if (success) updates_.Reset(ended.Slot);
    }
    if (ended.Order.Test) {
      const HWND owner = std::exchange(test_box_owners_[ended.Slot], nullptr);
      ::MessageBoxW(::IsWindow(owner) ? owner : Handle(),
                    Wide(ended.TargetName + "\r\n" + ended.Text).c_str(),
                    Wide(texts::Ui().UpdateTestTitle).c_str(),
                    MB_OK | static_cast<UINT>(success ? MB_ICONINFORMATION : MB_ICONWARNING));
    } else if (!success && (notify.Change || notify.Outage)) {
      tray_.ShowNotice({texts::Ui().UpdateFailedTitle, ended.TargetName + "\n" + ended.Text,
                        true});
    }
  }
  return true;
}

}  // namespace lvn
