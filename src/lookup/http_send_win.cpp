#include "lookup/http_send_win.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "lookup/fetch_url.h"
#include "lookup/lookup_answer.h"
#include "lookup/redirect.h"
#include "lookup/wininet_api_win.h"
#include "util/text.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

// Each step may take the whole limit; SendTookTooLong and ReadBody keep the sum within it.
constexpr DWORD kStepTimeoutMs = kSlowSendLimitMs;

}  // namespace

HttpReply SendHttp(const HttpCall& call, FetchCancel* cancel) {
  HttpReply reply;
  const WinInetApi* api = Api();
  if (api == nullptr || call.Url.size() >= kUrlCapacity) return reply;
  FetchHandle session(api->InternetOpenW(Wide(call.UserAgent).c_str(),
                                         INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
                      cancel);
  if (!session) return reply;
  SetTimeouts(*api, session.Get(), kStepTimeoutMs);

  char url[kUrlCapacity];
  CopyText(url, call.Url.c_str(), sizeof url);
  FetchTarget target;
  if (!ParseFetchUrl(url, &target)) return reply;
  bool post = call.Post;
  const std::wstring headers = Wide(call.Headers);
  const std::uint32_t before = ::GetTickCount();
  for (int redirects = 0;; ++redirects) {
    FetchHandle connection(api->InternetConnectW(session.Get(), Wide(target.Host).c_str(),
                                                 target.Port, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0),
                           cancel);
    SetTimeouts(*api, connection.Get(), kStepTimeoutMs);
    // No cache, no cookies, no dialog of WinINet's own, and no certificate error waived.
    const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD |
                        INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_AUTH | (target.Secure ? INTERNET_FLAG_SECURE : 0);
    FetchHandle request(api->HttpOpenRequestW(connection.Get(), post ? L"POST" : L"GET",
                                              Wide(target.ObjectName).c_str(), nullptr,
                                              nullptr, nullptr, flags, 0),
                        cancel);
    SetTimeouts(*api, request.Get(), kStepTimeoutMs);
    const bool sent = api->HttpSendRequestW(
        request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
        post ? const_cast<char*>(call.Body.data()) : nullptr,
        post ? static_cast<DWORD>(call.Body.size()) : 0);
    if (!sent || SendTookTooLong(before, ::GetTickCount()) ||
        (cancel != nullptr && cancel->Cancelled())) {
      return reply;
    }
    const std::uint32_t status = StatusCode(*api, request.Get());
    if (status == 0) return reply;

    if (IsRedirectStatus(status) && call.FollowRedirects) {
      char next[kUrlCapacity];
      FetchTarget next_target;
      if (redirects == kMaxRedirects || !NextUrl(*api, request.Get(), url, next) ||
          !ParseFetchUrl(next, &next_target) || !IsRedirectAllowed(target, next_target)) {
        return reply;
      }
      // As browsers do: only 307 and 308 repeat a POST; the others ask with a GET.
      post = post && (status == 307 || status == 308);
      CopyText(url, next, sizeof url);
      target = next_target;
      continue;
    }

    reply.Status = static_cast<int>(status);
    char body[kReplyCapacity];
    const DWORD delivered =
        ReadBody(*api, request.Get(), body, sizeof body, before, kStepTimeoutMs);
    reply.Body.assign(body, delivered);
    return reply;
  }
}

}  // namespace lvn
