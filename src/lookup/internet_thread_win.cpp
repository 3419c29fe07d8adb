#include "lookup/internet_thread_win.h"

#include <new>

#include "lookup/wininet_win.h"
#include "util/scoped_win.h"
#include "util/text.h"

namespace lvn {

std::atomic<bool> LookupRunning{false};

bool InternetThread::Start(const char* url, HWND target, UINT message) {
  auto* worker = new (std::nothrow) InternetThread(target, message);
  if (worker == nullptr) return false;
  ScopedHandle thread(::CreateThread(nullptr, 0, &InternetThread::ThreadMain, worker,
                                     CREATE_SUSPENDED, nullptr));
  if (!thread) {
    delete worker;
    return false;
  }
  LookupRunning = true;
  // Written before the thread runs; ResumeThread orders it before the worker's reads.
  CopyText(worker->Url, url, sizeof worker->Url);
  ::ResumeThread(thread.Get());
  // The worker frees itself; nobody keeps a way to reach it.
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
  LookupResultText(ResultText, code, answer);
  // Synchronous: ResultText stays valid until the handler has returned. A window that no
  // longer exists makes this fail at once; after the message loop has ended it never
  // returns, and the worker ends with the process.
  const LRESULT taken =
      ::SendMessageA(target_, message_, 0, reinterpret_cast<LPARAM>(ResultText));
  // The taker cleared the flag, and a new lookup may already run; otherwise nobody will.
  if (taken == 0) LookupRunning = false;
}

}  // namespace lvn
