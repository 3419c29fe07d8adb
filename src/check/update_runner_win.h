// The update targets' sends, each on a thread of its own and never on the window's: the
// schedule decides which start, the thread makes the request, writes its line in
// update.log and leaves the result for the window, which a message tells to look.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "check/update_schedule.h"
#include "history/local_time.h"
#include "notify/notices.h"
#include "notify/update_log.h"
#include "notify/update_result.h"
#include "settings/target_secrets_win.h"
#include "settings/update_targets.h"
#include "util/scoped_win.h"

namespace lvn {

// A send that ended, for the window to carry out: Sent= after a DNS target's success, a
// notice after a failure, the box of a test.
struct UpdateEnded {
  std::size_t Slot = 0;
  SendOrder Order;
  UpdateResult Result;
  std::string Text;  // the result as update.log has it
  std::string TargetName;  // "kind host"
  bool Refused = false;    // no request was made, a hard failure: Text says why
};

// Lives on the window's thread; every member function is called there.
class UpdateRunner {
 public:
  UpdateRunner() = default;
  UpdateRunner(const UpdateRunner&) = delete;
  UpdateRunner& operator=(const UpdateRunner&) = delete;
  ~UpdateRunner() { Close(); }

  // window is told by message when a send has ended, and by its retry_timer when a retry
  // is due; update.log is in data_folder (with its "\").
  void Attach(HWND window, UINT message, UINT_PTR retry_timer, std::string data_folder);
  // After a check that recorded events, or after the first check of a start that found
  // an address: each target sends what it acts on.
  void OnCheck(const UpdateTargets& targets, const std::vector<HeldTarget>& held,
               const CheckEvents& events, bool first_check, const LocalTime& now);
  // The options' test: ip, or a test notice, to slot's target at once. False, with
  // *why set, when it cannot start.
  bool Test(std::size_t slot, const UpdateTarget& target, const std::string& ip,
            std::string* why);
  // On the message: the sends that ended; the next ones of their targets start.
  std::vector<UpdateEnded> TakeEnded(const UpdateTargets& targets);
  // On the retry timer: the retries due start.
  void OnRetryTimer(const UpdateTargets& targets);
  // The options changed slot's target, or a test reached it: its stop and its retries end.
  void Reset(std::size_t slot);
  // What the last send of slot came to, for the options' list; empty before any.
  const std::string& Status(std::size_t slot) const;
  // A line in update.log that is about no request (a check's address left unconfirmed, a
  // send refused), written on a thread of its own.
  void Log(const UpdateLogLine& line);
  // At exit: waits at most 2 s in all for the running sends, then ends them.
  void Close();

  struct Slot;  // what a send's thread and the window share

 private:
  void Start(std::size_t slot, const UpdateTarget& target, const SendOrder& order);
  void LogNotSent(const PlannedSend& send, const UpdateTarget& target, const LocalTime& now);
  void SetRetryTimer();

  HWND window_ = nullptr;
  UINT message_ = 0;
  UINT_PTR retry_timer_ = 0;
  std::string log_path_;
  std::string user_agent_;
  UpdateSchedule schedule_;
  std::array<std::shared_ptr<Slot>, kMaxTargets> running_{};
  std::array<ScopedHandle, kMaxTargets> threads_{};
  std::array<std::string, kMaxTargets> status_{};
};

// "kind host" for update.log and the notices.
std::string TargetName(const UpdateTarget& target);

}  // namespace lvn
