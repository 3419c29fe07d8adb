// WinINet as the lookup and the update sends use it: its functions, taken from System32,
// and the small steps both exchanges share.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "lookup/wininet_win.h"
#include "settings/settings.h"

namespace lvn {

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

// Loaded once; nothing when System32's wininet.dll lacks a function.
const WinInetApi* Api();
void CloseInternetHandle(HINTERNET handle);

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

// Short time-outs keep a failing exchange short. Some implementations honour them only on
// one kind of handle, so every handle gets all four.
void SetTimeouts(const WinInetApi& api, HINTERNET handle, DWORD step_ms);
// The status line's code, 0 when there is none.
std::uint32_t StatusCode(const WinInetApi& api, HINTERNET request);
// Reads the body into block (size bytes) until it is full, ends, a read fails or the limit
// that began at before_ms has passed, and returns how much arrived. A receive waits its
// whole time-out for a byte, so each is cut to the time left (at most step_ms): a body that
// drips in holds the worker no longer than one that stalls.
DWORD ReadBody(const WinInetApi& api, HINTERNET request, char* block, DWORD size,
               std::uint32_t before_ms, DWORD step_ms);
// The redirect's target seen from url, or false when there is none that fits.
bool NextUrl(const WinInetApi& api, HINTERNET request, const char* url,
             char (&next)[kUrlCapacity]);

}  // namespace lvn
