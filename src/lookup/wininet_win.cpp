#include "lookup/wininet_win.h"

#include <windows.h>
#include <wininet.h>
#include <mmsystem.h>

#include <cstdint>

#include "lookup/lookup_answer.h"
#include "util/scoped_win.h"
#include "util/text.h"

namespace lvn {

namespace {

using ScopedInternet = Scoped<NullHandleTraits<HINTERNET, &::InternetCloseHandle>>;

constexpr char kUserAgent[] = "MyApp";
constexpr INTERNET_PORT kPort = 80;

// Short time-outs keep a failing exchange short. Some implementations honour them only on
// one kind of handle, so every handle gets all four.
void SetTimeouts(HINTERNET handle) {
  if (handle == nullptr) return;
  struct Option {
    DWORD id;
    DWORD value;
  };
  for (Option option : {Option{INTERNET_OPTION_CONNECT_TIMEOUT, 1000},
                        Option{INTERNET_OPTION_CONNECT_RETRIES, 1},
                        Option{INTERNET_OPTION_SEND_TIMEOUT, 1000},
                        Option{INTERNET_OPTION_RECEIVE_TIMEOUT, 1000}}) {
    ::InternetSetOptionA(handle, option.id, &option.value, sizeof option.value);
  }
}

std::uint32_t StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr)) {
    return 0;
  }
  return status;
}

}  // namespace

int WinInet::Fetch(char* answer, const char* url, std::size_t n) {
  UrlHost(Host_, url, sizeof Host_);
  UrlSite(Site_, url, sizeof Site_);
  UrlRest(ObjectName_, url, Site_, sizeof ObjectName_);

  // Declared in this order so that they close request, connection, session.
  ScopedInternet session(
      ::InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return kFetchNoSession;
  SetTimeouts(session.Get());

  // A missing connection or request is not checked here: the steps below fail on it and
  // the answer comes out empty.
  ScopedInternet connection(::InternetConnectA(session.Get(), Host_, kPort, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
  SetTimeouts(connection.Get());
  ScopedInternet request(::HttpOpenRequestA(connection.Get(), nullptr, ObjectName_, nullptr,
                                            Site_, nullptr, 0, 0));
  SetTimeouts(request.Get());

  const std::uint32_t before = ::timeGetTime();
  ::HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0);
  const std::uint32_t after = ::timeGetTime();
  if (SendTookTooLong(before, after)) return kFetchFailed;
  const bool success_status = IsSuccessStatus(StatusCode(request.Get()));

  {
    ScopedGlobal block(::GlobalAlloc(0, kReadBlockSize));
    DWORD delivered = 0;
    if (!block || !::InternetReadFile(request.Get(), block.Get(),
                                      static_cast<DWORD>(kReadBlockSize), &delivered)) {
      delivered = 0;
    }
    AnswerText(answer, static_cast<const char*>(block.Get()), delivered, n);
  }
  if (!success_status) return kFetchFailed;
  return FetchCodeForAnswer(answer);
}

}  // namespace lvn
