#include "lookup/wininet_win.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "lookup/fetch_url.h"
#include "lookup/lookup_answer.h"
#include "lookup/redirect.h"
#include "lookup/wininet_api_win.h"
#include "util/scoped_win.h"
#include "util/text.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

constexpr char kUserAgent[] = "MyApp";
constexpr DWORD kStepTimeoutMs = 1000;  // connecting, sending, each receive

}  // namespace

FetchResult WinInet::Fetch(char* answer, const char* url, std::size_t n, FetchCancel* cancel) {
  const WinInetApi* api = Api();
  if (api == nullptr) return FetchResult::kNoSession;
  // Through the proxy the user's Internet settings name, as the browser goes.
  FetchHandle session(
      api->InternetOpenW(Wide(kUserAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0), cancel);
  if (!session) return FetchResult::kNoSession;
  SetTimeouts(*api, session.Get(), kStepTimeoutMs);

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
    SetTimeouts(*api, connection.Get(), kStepTimeoutMs);
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
    SetTimeouts(*api, request.Get(), kStepTimeoutMs);

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
      const DWORD delivered = block ? ReadBody(*api, request.Get(), bytes, kReadBlockSize, before,
                                              kStepTimeoutMs)
                                   : 0;
      AnswerText(answer, bytes, delivered, n);
    }
    if (!IsSuccessStatus(status)) return FetchResult::kFailed;
    return FetchResultForAnswer(answer);
  }
}

}  // namespace lvn
