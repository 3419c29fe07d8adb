#include "lookup/lookup_worker_win.h"

#include <cstring>
#include <new>

#include "lookup/wininet_win.h"
#include "util/scoped_win.h"
#include "util/text.h"

namespace lvn {

bool LookupWorker::Start(const char* url, HWND target, UINT message) {
  if (Running()) return false;
  auto slot = std::make_shared<LookupSlot>();
  auto* worker = new (std::nothrow) InternetThread(slot, target, message);
  if (worker == nullptr) return false;
  ScopedHandle thread(::CreateThread(nullptr, 0, &InternetThread::ThreadMain, worker,
                                     CREATE_SUSPENDED, nullptr));
  if (!thread) {
    delete worker;
    return false;
  }
  // Written before the thread runs; ResumeThread orders it before the worker's reads.
  CopyText(worker->Url, url, sizeof worker->Url);
  slot_ = std::move(slot);
  ::ResumeThread(thread.Get());
  // The worker frees itself; nobody keeps a way to reach it.
  return true;
}

bool LookupWorker::TakeResult(char (&text)[kResultTextCapacity]) {
  if (!slot_ || !slot_->Filled.load(std::memory_order_acquire)) return false;
  std::memcpy(text, slot_->ResultText, sizeof text);
  slot_.reset();
  return true;
}

DWORD WINAPI InternetThread::ThreadMain(void* self) noexcept {
  auto* worker = static_cast<InternetThread*>(self);
  worker->Execute();
  delete worker;
  return 0;
}

void InternetThread::Execute() {
  char answer[kAnswerCapacity] = "";
  int code = kFetchFailed;
  {
    WinInet client;
    code = client.Fetch(answer, Url, sizeof answer);
  }
  LookupResultText(slot_->ResultText, code, answer);
  slot_->Filled.store(true, std::memory_order_release);
  // A window that no longer exists makes this fail; its LookupWorker is gone with it.
  ::PostMessageA(target_, message_, 0, 0);
}

}  // namespace lvn
