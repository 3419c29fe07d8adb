#include "lookup/lookup_worker_win.h"

#include <cstring>
#include <utility>

#include "lookup/wininet_win.h"
#include "util/scoped_win.h"
#include "util/text.h"
#include "util/worker_thread_win.h"

namespace lvn {
namespace {

// One lookup's thread: the thread owns it and frees it; nobody keeps a pointer to it.
class InternetThread {
 public:
  InternetThread(std::shared_ptr<LookupSlot> slot, HWND target, UINT message)
      : slot_(std::move(slot)), target_(target), message_(message) {}

  void operator()() noexcept {
    LookupResult result = LookUp(Url);
    const bool fallback = FallbackUrl[0] != '\0' && !slot_->Cancel.Cancelled();
    if (fallback && result.Status == LookupStatus::kFailed) {
      result = LookUp(FallbackUrl);
      result.FromFallback = result.Status == LookupStatus::kAnswered;
      // One page alone cannot confirm a new address.
      result.Unconfirmed = result.FromFallback && Confirm &&
                           std::strcmp(result.Address, ConfirmUnless) != 0;
    } else if (fallback && Confirm && std::strcmp(result.Address, ConfirmUnless) != 0) {
      const LookupResult second = LookUp(FallbackUrl);
      if (second.Status != LookupStatus::kAnswered ||
          std::strcmp(second.Address, result.Address) != 0) {
        result.Unconfirmed = true;
        CopyText(result.FallbackAddress, second.Address, sizeof result.FallbackAddress);
      }
    }
    slot_->Result = result;
    slot_->Filled.store(true, std::memory_order_release);
    // A window that no longer exists makes this fail; its LookupWorker is gone with it.
    ::PostMessageW(target_, message_, 0, 0);
  }

  char Url[kUrlCapacity] = "";
  char FallbackUrl[kUrlCapacity] = "";
  bool Confirm = false;
  char ConfirmUnless[kResultTextCapacity] = "";

 private:
  LookupResult LookUp(const char* url) {
    char answer[kAnswerCapacity] = "";
    WinInet client;
    const FetchResult fetch = client.Fetch(answer, url, sizeof answer, &slot_->Cancel);
    return LookupResultOf(fetch, answer);
  }

  // Shared, so that the slot outlives whichever of the window and the thread ends first.
  std::shared_ptr<LookupSlot> slot_;
  HWND target_;
  UINT message_;
};

// A timer may fire a little before its time by the tick count.
constexpr DWORD kTimerSlackMs = 250;

}  // namespace

bool LookupWorker::Start(const char* url, HWND target, UINT message, UINT_PTR limit_timer,
                         const char* fallback_url, const char* confirm_unless) {
  if (Running()) return false;
  if (abandoned_ && ::WaitForSingleObject(abandoned_.Get(), 0) == WAIT_TIMEOUT) {
    // The page still holds the lookup given up before: a second request would only add a
    // thread and a socket to it.
    slot_ = std::make_shared<LookupSlot>();
    slot_->Filled.store(true, std::memory_order_release);
    target_ = target;
    limit_timer_ = limit_timer;
    started_ms_ = ::GetTickCount();
    ::PostMessageW(target, message, 0, 0);
    return true;
  }
  abandoned_.Reset();
  auto slot = std::make_shared<LookupSlot>();
  InternetThread worker(slot, target, message);
  CopyText(worker.Url, url, sizeof worker.Url);
  CopyText(worker.FallbackUrl, fallback_url, sizeof worker.FallbackUrl);
  worker.Confirm = confirm_unless != nullptr;
  if (worker.Confirm) CopyText(worker.ConfirmUnless, confirm_unless, sizeof worker.ConfirmUnless);
  const bool with_fallback = worker.FallbackUrl[0] != '\0';
  std::optional<ScopedHandle> thread = StartWorkerThread(&worker);
  if (!thread) return false;
  // The result is looked at only on the window's thread, after this returns.
  slot_ = std::move(slot);
  target_ = target;
  limit_timer_ = limit_timer;
  started_ms_ = ::GetTickCount();
  limit_ms_ = with_fallback ? 2 * kLookupLimitMs : kLookupLimitMs;
  ::SetTimer(target_, limit_timer_, limit_ms_, nullptr);
  thread_ = std::move(*thread);
  return true;
}

std::optional<LookupResult> LookupWorker::TakeResult() {
  if (!slot_ || !slot_->Filled.load(std::memory_order_acquire)) return std::nullopt;
  const LookupResult result = slot_->Result;
  End();
  return result;
}

std::optional<LookupResult> LookupWorker::GiveUpWhenOverdue() {
  if (!slot_) {
    ::KillTimer(target_, limit_timer_);
    return std::nullopt;
  }
  // Any program can post a WM_TIMER: only a lookup that has run that long is given up.
  if (::GetTickCount() - started_ms_ < limit_ms_ - kTimerSlackMs) return std::nullopt;
  slot_->Cancel.Cancel();
  // A check that failed at once has no thread of its own: the one still abandoned stays.
  if (thread_) abandoned_ = std::move(thread_);
  End();
  return LookupResult{};
}

void LookupWorker::End() {
  slot_.reset();
  thread_.Reset();
  ::KillTimer(target_, limit_timer_);
}

}  // namespace lvn
