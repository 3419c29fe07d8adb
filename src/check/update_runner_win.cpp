#include "check/update_runner_win.h"

#include <atomic>
#include <mutex>  // std::lock_guard
#include <utility>

#include "history/clock_win.h"
#include "lvn_version.h"
#include "lookup/http_send_win.h"
#include "lookup/wininet_win.h"
#include "notify/log_file_win.h"
#include "notify/update_request.h"
#include "settings/lookup_settings.h"
#include "settings/settings.h"
#include "util/address.h"
#include "util/data_folder.h"
#include "util/secret_win.h"
#include "util/srw_mutex_win.h"
#include "util/text.h"
#include "util/texts.h"
#include "util/worker_thread_win.h"

namespace lvn {

static_assert(sizeof kUpdateLogFileName - 1 + sizeof ".tmp" - 1 <= kLongestDataFileName,
              "the data folder must leave room for every file kept in it");

struct UpdateRunner::Slot {
  FetchCancel Cancel;
  std::atomic<bool> Filled{false};
  UpdateEnded Ended;  // written by the thread before Filled, read by the window after
};

namespace {

constexpr DWORD kExitWaitMs = 2000;

// The sends of several targets may end at once; update.log takes one at a time.
SrwMutex g_log_mutex;

bool AppendToUpdateLog(const std::string& path, const UpdateLogLine& line) {
  const std::lock_guard lock(g_log_mutex);
  return AppendToBoundedLog(path, UpdateLogEntry(line));
}

// A line about no request, written off the window's thread: the log may be a megabyte to
// read and replace.
struct LogLineWork {
  std::string Path;
  UpdateLogLine Line;
  void operator()() noexcept { AppendToUpdateLog(Path, Line); }
};

int64_t NowSeconds() { return static_cast<int64_t>(::GetTickCount64() / 1000); }

// The local time minutes from now, for the next try's time in the log.
LocalTime LocalTimeIn(int minutes) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  FILETIME file;
  if (!::SystemTimeToFileTime(&now, &file)) return CurrentLocalTime();
  ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
  ticks.QuadPart += static_cast<ULONGLONG>(minutes) * 60 * 10'000'000;
  file = {ticks.LowPart, ticks.HighPart};
  SYSTEMTIME later;
  if (!::FileTimeToSystemTime(&file, &later)) return CurrentLocalTime();
  return {later.wYear, later.wMonth, later.wDay, later.wHour, later.wMinute, later.wSecond};
}

// The balloon notice's title and text for the order, whatever the notices' own switches.
Notice NoticeOf(const SendOrder& order, const LocalTime& now) {
  if (order.Test) return {texts::Ui().UpdateTestTitle, texts::Ui().UpdateTestText, false};
  CheckEvents events;
  events.Ip = order.Ip;
  events.OldIp = order.OldIp;
  events.OutageBegan = order.Event == TargetEvent::kOutage;
  events.Recovered = order.Event == TargetEvent::kRecovery;
  events.Changed = order.Event == TargetEvent::kChange;
  const std::vector<Notice> notices = NoticesFor(events, {true, true, "", 0}, now);
  return notices.empty() ? Notice{} : notices.front();
}

// One send's thread; it owns its copy of the target, and its secret in plain text for no
// longer than the request takes.
class SendThread {
 public:
  std::shared_ptr<UpdateRunner::Slot> Shared;
  HWND Window = nullptr;
  UINT Message = 0;
  UpdateTarget Target;
  SendOrder Order;
  std::string UserAgent;
  std::string LogPath;
  int SoftFailures = 0;  // before this send

  void operator()() noexcept {
    const LocalTime now = CurrentLocalTime();
    UpdateEnded& ended = Shared->Ended;
    ended.Order = Order;
    ended.TargetName = TargetName(Target);
    std::string secret = Target.Secret;
    if (!Target.SecretProtected.empty()) secret = UnprotectSecret(Target.SecretProtected).value_or("");
    const Notice notice = NoticeOf(Order, now);
    UpdateFacts facts{Order.Event, Order.Ip, Order.OldIp, notice.Title, notice.Text, secret};
    UpdateRequest request;
    const TargetProblem problem = secret.empty() && !Target.SecretProtected.empty()
                                      ? TargetProblem::kNoSecret
                                      : BuildUpdateRequest(Target, facts, &request);
    if (problem != TargetProblem::kNone || request.Url.size() >= kUrlCapacity) {
      // Sent again, a URL that does not fit would only fail again.
      ended.Refused = true;
      ended.Result = {UpdateVerdict::kHardFailure, ""};
      ended.Text = problem != TargetProblem::kNone ? TargetProblemText(problem)
                                                   : UrlProblemText(UrlProblem::kTooLong);
      WipeSecret(&request.Url);
      request.LoggedUrl.clear();
    } else {
      HttpCall call{request.Method == HttpMethod::kPost, request.Url, "", request.Body,
                    UserAgent, !request.CarriesSecret};
      for (const HttpHeader& header : request.Headers) {
        call.Headers += header.Name + ": " + header.Value + "\r\n";
      }
      const HttpReply reply = SendHttp(call, &Shared->Cancel);
      WipeSecret(&call.Headers);
      WipeSecret(&call.Url);
      WipeSecret(&call.Body);
      WipeSecret(&request.Url);
      WipeSecret(&request.Body);
      for (HttpHeader& header : request.Headers) WipeSecret(&header.Value);
      ended.Result = UpdateResultOf(Target.Kind, reply.Status, reply.Body);
      ended.Text = UpdateResultText(ended.Result, LocalTimeIn(RetryDelayMinutes(SoftFailures + 1)));
    }
    WipeSecret(&secret);
    WipeSecret(&Target.Secret);
    const char* event = Order.Test ? "test" : EventName(Order.Event);
    AppendToUpdateLog(LogPath, {now, ended.TargetName, event, Order.Ip, ended.Text,
                                request.LoggedUrl});
    Shared->Filled.store(true, std::memory_order_release);
    // A window that no longer exists makes this fail; its runner is gone with it.
    ::PostMessageW(Window, Message, 0, 0);
  }
};

}  // namespace

std::string TargetName(const UpdateTarget& target) {
  const std::string host(TrimBlanks(target.Host));
  return std::string(KindName(target.Kind)) + (host.empty() ? "" : " " + host);
}

void UpdateRunner::Attach(HWND window, UINT message, UINT_PTR retry_timer,
                          std::string data_folder) {
  window_ = window;
  message_ = message;
  retry_timer_ = retry_timer;
  log_path_ = std::move(data_folder) + kUpdateLogFileName;
  user_agent_ = "Lorvane/" LVN_VERSION_TEXT;
}

void UpdateRunner::OnCheck(const UpdateTargets& targets, const std::vector<HeldTarget>& held,
                           const CheckEvents& events, bool first_check, const LocalTime& now) {
  std::vector<std::size_t> held_slots;
  for (const HeldTarget& target : held) held_slots.push_back(target.Number - 1);
  for (const PlannedSend& send : PlanSends(targets, events, first_check, held_slots)) {
    const UpdateTarget& target = *targets[send.Slot];
    if (send.Problem != TargetProblem::kNone || send.Decision != SendDecision::kSend) {
      LogNotSent(send, target, now);
      continue;
    }
    if (auto order = schedule_.Ask(send.Slot, send.Order, NowSeconds())) {
      Start(send.Slot, target, *order);
    }
  }
  SetRetryTimer();
}

bool UpdateRunner::Test(std::size_t slot, const UpdateTarget& target, const std::string& ip,
                        std::string* why) {
  if (slot >= kMaxTargets) return false;
  const TargetProblem problem = TargetProblemOf(target);
  if (problem != TargetProblem::kNone) {
    *why = TargetProblemText(problem);
    return false;
  }
  // A DNS service is told only an address it may hold.
  if (IsDnsKind(target.Kind) && !IsGlobalUnicast(ip)) {
    *why = texts::Ui().UpdateNotGlobal;
    return false;
  }
  const auto order = schedule_.Ask(slot, {TargetEvent::kChange, ip, "", true}, NowSeconds());
  if (!order) {
    *why = texts::Ui().UpdateBusy;
    return false;
  }
  Start(slot, target, *order);
  return true;
}

void UpdateRunner::Start(std::size_t slot, const UpdateTarget& target, const SendOrder& order) {
  auto shared = std::make_shared<Slot>();
  SendThread work{shared, window_, message_, target, order, user_agent_, log_path_, 0};
  work.SoftFailures = schedule_.SoftFailures(slot);
  std::optional<ScopedHandle> thread = StartWorkerThread(&work);
  if (!thread) {
    // No thread: the send counts as one that found no server, and is tried again later.
    schedule_.Ended(slot, UpdateVerdict::kSoftFailure, NowSeconds());
    WipeSecret(&work.Target.Secret);
    return;
  }
  running_[slot] = std::move(shared);
  threads_[slot] = std::move(*thread);
}

std::vector<UpdateEnded> UpdateRunner::TakeEnded(const UpdateTargets& targets) {
  std::vector<UpdateEnded> ended;
  for (std::size_t slot = 0; slot < kMaxTargets; ++slot) {
    if (!running_[slot] || !running_[slot]->Filled.load(std::memory_order_acquire)) continue;
    UpdateEnded result = std::move(running_[slot]->Ended);
    result.Slot = slot;
    running_[slot].reset();
    threads_[slot].Reset();
    status_[slot] = result.Text;
    const auto next = schedule_.Ended(slot, result.Result.Verdict, NowSeconds());
    if (!targets[slot]) {
      schedule_.Drop(slot);
    } else if (next) {
      Start(slot, *targets[slot], *next);
    }
    ended.push_back(std::move(result));
  }
  SetRetryTimer();
  return ended;
}

void UpdateRunner::OnRetryTimer(const UpdateTargets& targets) {
  ::KillTimer(window_, retry_timer_);
  for (const auto& [slot, order] : schedule_.Due(NowSeconds())) {
    if (targets[slot]) {
      Start(slot, *targets[slot], order);
    } else {
      schedule_.Drop(slot);
    }
  }
  SetRetryTimer();
}

void UpdateRunner::Reset(std::size_t slot) {
  schedule_.Reset(slot);
  SetRetryTimer();
}

const std::string& UpdateRunner::Status(std::size_t slot) const {
  static const std::string none;
  return slot < kMaxTargets ? status_[slot] : none;
}

void UpdateRunner::Log(const UpdateLogLine& line) {
  LogLineWork work{log_path_, line};
  // Without a thread the line is written here rather than lost.
  if (!StartWorkerThread(&work)) work();
}

void UpdateRunner::LogNotSent(const PlannedSend& send, const UpdateTarget& target,
                              const LocalTime& now) {
  const std::string why = send.Problem != TargetProblem::kNone
                              ? TargetProblemText(send.Problem)
                              : texts::Ui().UpdateNotGlobal;
  status_[send.Slot] = why;
  Log({now, TargetName(target), EventName(send.Order.Event), send.Order.Ip, why, ""});
}

void UpdateRunner::SetRetryTimer() {
  if (window_ == nullptr) return;
  const std::optional<int64_t> due = schedule_.NextDue();
  if (!due) {
    ::KillTimer(window_, retry_timer_);
    return;
  }
  const int64_t wait_s = *due > NowSeconds() ? *due - NowSeconds() : 0;
  ::SetTimer(window_, retry_timer_, static_cast<UINT>(wait_s * 1000 + 500), nullptr);
}

void UpdateRunner::Close() {
  HANDLE handles[kMaxTargets];
  DWORD count = 0;
  for (const ScopedHandle& thread : threads_) {
    if (thread) handles[count++] = thread.Get();
  }
  if (count > 0) ::WaitForMultipleObjects(count, handles, TRUE, kExitWaitMs);
  // Their handles closed, the sends still running end as soon as the system lets them.
  for (auto& shared : running_) {
    if (shared) shared->Cancel.Cancel();
    shared.reset();
  }
  for (ScopedHandle& thread : threads_) thread.Reset();
  if (window_ != nullptr) ::KillTimer(window_, retry_timer_);
}

}  // namespace lvn
