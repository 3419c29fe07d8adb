// The one network exchange of the program: an HTTP GET of the lookup URL, over TLS for
// https, of whose answer the first part is kept, redirects followed by hand. Blocking; runs
// on the lookup worker only.
#pragma once

#include <cstddef>
#include <vector>

#include "lookup/lookup_answer.h"
#include "util/srw_mutex_win.h"

namespace lvn {

// The open handles of one fetch, which another thread may close to end it: a send that a
// server holds with a head that trickles in returns once its request handle is closed.
// Each handle is closed once, by whichever side comes first.
class FetchCancel {
 public:
  FetchCancel() = default;
  FetchCancel(const FetchCancel&) = delete;
  FetchCancel& operator=(const FetchCancel&) = delete;

  // From any thread: closes every handle the fetch holds, newest first, and every one it
  // opens later.
  void Cancel();
  bool Cancelled();

 private:
  friend class FetchHandle;
  // False, with the handle closed, once cancelled.
  bool Adopt(void* handle);
  // Closes handle unless Cancel did.
  void Close(void* handle);

  SrwMutex mutex_;
  std::vector<void*> handles_;
  bool cancelled_ = false;
};

class WinInet {
 public:
  // Fetches url into answer (capacity n). The answer is written only when the read step
  // is reached. cancel, when given, may end the fetch from another thread: it then fails.
  FetchResult Fetch(char* answer, const char* url, std::size_t n, FetchCancel* cancel = nullptr);
};

}  // namespace lvn
