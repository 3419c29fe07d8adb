#include "lookup/wininet_win.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <mutex>

#include "lookup/fetch_url.h"
#include "lookup/lookup_answer.h"
#include "lookup/redirect.h"
#include "util/scoped_win.h"
#include "util/system_library_win.h"
#include "util/text.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

// WinINet is not a KnownDLL, so it is taken from System32 by hand rather than imported.
struct WinInetApi {
  decltype(&::InternetOpenW) InternetOpenW = nullptr;
  decltype(&::InternetConnectW) InternetConnectW = nullptr;
  decltype(&::HttpOpenRequestW) HttpOpenRequestW = nullptr;
  decltype(&::InternetSetOptionW) InternetSetOptionW = nullptr;
  decltype(&::HttpSendRequestW) HttpSendRequestW = nullptr;
  decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
  decltype(&::InternetQueryDataAvailable) InternetQueryDataAvailable = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
};

// Loaded once and never unloaded: WinINet may keep threads of its own running after the
// last handle is closed.
const WinInetApi* Api() {
  static const WinInetApi* const api = []() -> const WinInetApi* {
    static WinInetApi table;
    const HMODULE module = LoadSystemLibrary("wininet.dll");
    if (module == nullptr) return nullptr;
    const bool complete =
        BindSystemFunction(module, "InternetOpenW", &table.InternetOpenW) &&
        BindSystemFunction(module, "InternetConnectW", &table.InternetConnectW) &&
        BindSystemFunction(module, "HttpOpenRequestW", &table.HttpOpenRequestW) &&
        BindSystemFunction(module, "InternetSetOptionW", &table.InternetSetOptionW) &&
        BindSystemFunction(module, "HttpSendRequestW", &table.HttpSendRequestW) &&
        BindSystemFunction(module, "HttpQueryInfoW", &table.HttpQueryInfoW) &&
        BindSystemFunction(module, "InternetQueryDataAvailable",
                           &table.InternetQueryDataAvailable) &&
        BindSystemFunction(module, "InternetReadFile", &table.InternetReadFile) &&
        BindSystemFunction(module, "InternetCloseHandle", &table.InternetCloseHandle);
    return complete ? &table : nullptr;
  }();
  return api;
}

// Handles exist only once Api() has loaded, so it is there to close them.
void CloseInternetHandle(HINTERNET handle) { Api()->InternetCloseHandle(handle); }

}  // namespace

// One handle of a fetch, closed at the end of its scope unless its FetchCancel closed it.
class FetchHandle {
 public:
  FetchHandle(HINTERNET handle, FetchCancel* cancel) : handle_(handle), cancel_(cancel) {
    if (handle_ != nullptr && cancel_ != nullptr && !cancel_->Adopt(handle_)) handle_ = nullptr;
  }
  FetchHandle(const FetchHandle&) = delete;
  FetchHandle& operator=(const FetchHandle&) = delete;
  ~FetchHandle() {
    if (handle_ == nullptr) return;
    if (cancel_ != nullptr) {
      cancel_->Close(handle_);
    } else {
      CloseInternetHandle(handle_);
    }
  }
  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
  FetchCancel* cancel_;
};

void FetchCancel::Cancel() {
  const std::lock_guard lock(mutex_);
  cancelled_ = true;
  for (auto handle = handles_.rbegin(); handle != handles_.rend(); ++handle) {
    CloseInternetHandle(*handle);
  }
  handles_.clear();
}

bool FetchCancel::Cancelled() {
  const std::lock_guard lock(mutex_);
  return cancelled_;
}

bool FetchCancel::Adopt(void* handle) {
  const std::lock_guard lock(mutex_);
  if (!cancelled_) {
    // Without memory for the entry the handle goes at once, and the fetch fails on it.
    try {
      handles_.push_back(handle);
      return true;
    } catch (...) {
    }
  }
  CloseInternetHandle(handle);
  return false;
}

void FetchCancel::Close(void* handle) {
  const std::lock_guard lock(mutex_);
  for (auto at = handles_.begin(); at != handles_.end(); ++at) {
    if (*at == handle) {
      handles_.erase(at);
      CloseInternetHandle(handle);
      return;
    }
  }
}

namespace {

constexpr char kUserAgent[] = "MyApp";
constexpr DWORD kStepTimeoutMs = 1000;  // connecting, sending, each receive

// Short time-outs keep a failing exchange short. Some implementations honour them only on
// one kind of handle, so every handle gets all four.
void SetTimeouts(const WinInetApi& api, HINTERNET handle) {
  if (handle == nullptr) return;
  struct Option {
    DWORD id;
    DWORD value;
  };
  for (Option option : {Option{INTERNET_OPTION_CONNECT_TIMEOUT, kStepTimeoutMs},
                        Option{INTERNET_OPTION_CONNECT_RETRIES, 1},
                        Option{INTERNET_OPTION_SEND_TIMEOUT, kStepTimeoutMs},
                        Option{INTERNET_OPTION_RECEIVE_TIMEOUT, kStepTimeoutMs}}) {
    api.InternetSetOptionW(handle, option.id, &option.value, sizeof option.value);
  }
}

std::uint32_t StatusCode(const WinInetApi& api, HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!api.HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &size, nullptr)) {
    return 0;
  }
  return status;
}

// Reads the body into block (kReadBlockSize bytes) until it is full, ends, a read fails or
// the limit that began at before_ms has passed, and returns how much arrived. A receive
// waits its whole time-out for a byte, so each is cut to the time left: a body that drips
// in holds the worker no longer than one that stalls.
DWORD ReadBody(const WinInetApi& api, HINTERNET request, char* block, std::uint32_t before_ms) {
  DWORD delivered = 0;
  while (delivered < kReadBlockSize) {
    DWORD wait = TimeLeftMs(before_ms, ::GetTickCount());
    if (wait == 0) break;
    if (wait > kStepTimeoutMs) wait = kStepTimeoutMs;
    api.InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &wait, sizeof wait);
    // Blocks for the next bytes; reading no more than it reports never blocks.
    DWORD available = 0;
    if (!api.InternetQueryDataAvailable(request, &available, 0, 0) || available == 0) break;
    const DWORD room = static_cast<DWORD>(kReadBlockSize) - delivered;
    DWORD got = 0;
    if (!api.InternetReadFile(request, block + delivered, available < room ? available : room,
                              &got) ||
        got == 0) {
      break;
    }
    delivered += got;
  }
  return delivered;
}

// The redirect's target seen from url, or false when there is none that fits.
bool NextUrl(const WinInetApi& api, HINTERNET request, const char* url,
             char (&next)[kUrlCapacity]) {
  wchar_t location[kUrlCapacity];
  DWORD size = sizeof location;
  if (!api.HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) return false;
  const std::string text = Utf8Of(std::wstring_view(location, size / sizeof(wchar_t)));
  return RedirectUrl(next, url, text, sizeof next);
}

}  // namespace

FetchResult WinInet::Fetch(char* answer, const char* url, std::size_t n, FetchCancel* cancel) {
  const WinInetApi* api = Api();
  if (api == nullptr) return FetchResult::kNoSession;
  // Through the proxy the user's Internet settings name, as the browser goes.
  FetchHandle session(
      api->InternetOpenW(Wide(kUserAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0), cancel);
  if (!session) return FetchResult::kNoSession;
  SetTimeouts(*api, session.Get());

  char target_url[kUrlCapacity];
  CopyText(target_url, url, sizeof target_url);
  FetchTarget target;
  if (!ParseFetchUrl(target_url, &target)) return FetchResult::kFailed;
  // Every request of a redirect chain carries the first one's headers.
  char referrer[kUrlCapacity];
  CopyText(referrer, target.Site, sizeof referrer);

  // The millisecond clock of kernel32, a KnownDLL; the limit covers every redirect and the
  // reading of the answer.
  const std::uint32_t before = ::GetTickCount();
  for (int redirects = 0;; ++redirects) {
    // A missing connection or request is not checked here: the steps below fail on it and
    // the answer comes out empty. Declared in this order so that they close request, then
    // connection.
    FetchHandle connection(api->InternetConnectW(session.Get(), Wide(target.Host).c_str(),
                                                 target.Port, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0),
                           cancel);
    SetTimeouts(*api, connection.Get());
    // No flag waives a certificate error: it fails the send like an unreachable host. The
    // answer always comes from the server and is never kept: a cached one would hide a
    // change for as long as the page lets it be cached. No cookie goes either way.
    const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD |
                        INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | (target.Secure ? INTERNET_FLAG_SECURE : 0);
    FetchHandle request(api->HttpOpenRequestW(connection.Get(), nullptr,
                                              Wide(target.ObjectName).c_str(), nullptr,
                                              Wide(referrer).c_str(), nullptr, flags, 0),
                        cancel);
    SetTimeouts(*api, request.Get());

    api->HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0);
    // A cancelled fetch's handles are closed: nothing more may be asked of them.
    if (SendTookTooLong(before, ::GetTickCount()) || (cancel != nullptr && cancel->Cancelled())) {
      return FetchResult::kFailed;
    }
    const std::uint32_t status = StatusCode(*api, request.Get());

    if (IsRedirectStatus(status)) {
      char next[kUrlCapacity];
      FetchTarget next_target;
      if (redirects == kMaxRedirects || !NextUrl(*api, request.Get(), target_url, next) ||
          !ParseFetchUrl(next, &next_target) || !IsRedirectAllowed(target, next_target)) {
        return FetchResult::kFailed;
      }
      CopyText(target_url, next, sizeof target_url);
      target = next_target;
      continue;
    }

    {
      ScopedGlobal block(::GlobalAlloc(0, kReadBlockSize));
      char* const bytes = static_cast<char*>(block.Get());
      const DWORD delivered = block ? ReadBody(*api, request.Get(), bytes, before) : 0;
      AnswerText(answer, bytes, delivered, n);
    }
    if (!IsSuccessStatus(status)) return FetchResult::kFailed;
    return FetchResultForAnswer(answer);
  }
}

}  // namespace lvn
