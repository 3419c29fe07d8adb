#include "lookup/wininet_api_win.h"

#include <mutex>

#include "lookup/lookup_answer.h"
#include "lookup/redirect.h"
#include "util/wide_text_win.h"
#include "util/system_library_win.h"

namespace lvn {

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

// Short time-outs keep a failing exchange short. Some implementations honour them only on
// one kind of handle, so every handle gets all four.
void SetTimeouts(const WinInetApi& api, HINTERNET handle, DWORD step_ms) {
  if (handle == nullptr) return;
  struct Option {
    DWORD id;
    DWORD value;
  };
  for (Option option : {Option{INTERNET_OPTION_CONNECT_TIMEOUT, step_ms},
                        Option{INTERNET_OPTION_CONNECT_RETRIES, 1},
                        Option{INTERNET_OPTION_SEND_TIMEOUT, step_ms},
                        Option{INTERNET_OPTION_RECEIVE_TIMEOUT, step_ms}}) {
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

DWORD ReadBody(const WinInetApi& api, HINTERNET request, char* block, DWORD size,
               std::uint32_t before_ms, DWORD step_ms) {
  DWORD delivered = 0;
  while (delivered < size) {
    DWORD wait = TimeLeftMs(before_ms, ::GetTickCount());
    if (wait == 0) break;
    if (wait > step_ms) wait = step_ms;
    api.InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &wait, sizeof wait);
    // Blocks for the next bytes; reading no more than it reports never blocks.
    DWORD available = 0;
    if (!api.InternetQueryDataAvailable(request, &available, 0, 0) || available == 0) break;
    const DWORD room = size - delivered;
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

bool NextUrl(const WinInetApi& api, HINTERNET request, const char* url,
             char (&next)[kUrlCapacity]) {
  wchar_t location[kUrlCapacity];
  DWORD size = sizeof location;
  if (!api.HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) return false;
  const std::string text = Utf8Of(std::wstring_view(location, size / sizeof(wchar_t)));
  return RedirectUrl(next, url, text, sizeof next);
}

}  // namespace lvn
