// The fetch client and the lookup worker against real servers on loopback: the shipped
// nginx lookup page and the fault server (scripts/servers.sh starts both).
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "lookup/lookup_worker_win.h"
#include "lookup/lookup_answer.h"
#include "lookup/wininet_win.h"
#include "test_paths.h"
#include "util/scoped_win.h"

namespace lvn {
namespace {

const std::string kNginx = "http://127.0.0.1";
const std::string kFault = "http://127.0.0.2";
const std::string kDead = "http://127.0.0.3";
const std::string kPhp = "http://127.0.0.4";
// The fault server over TLS; the name reaches it through the test run's hosts file.
const std::string kTls = "https://www.ombrix.example:8443";

// What a user would read of a result: the address, or "err" for a failed lookup.
std::string Described(const LookupResult& result) {
  return result.Status == LookupStatus::kFailed ? "err" : result.Address;
}

std::string UniqueId() {
  static int counter = 0;
  return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

// The fault server's request log, one line per request: request line, Host, User-Agent,
// Referer and the scheme and port it came in on, tab-separated. Its Unix path comes from
// the environment.
std::vector<std::vector<std::string>> FaultServerRequests() {
  const char* unix_path = std::getenv("LVN_FAULT_LOG");
  if (unix_path == nullptr) return {};
  std::string path = std::string("Z:") + unix_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  std::vector<std::vector<std::string>> requests;
  std::istringstream lines(test::ReadFileBytes(path));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
    fields.resize(5);
    requests.push_back(fields);
  }
  return requests;
}

TEST(LookupServers, AreRunning) {
  ASSERT_NE(std::getenv("LVN_FAULT_LOG"), nullptr) << "run through scripts/test.sh";
}

TEST(WinInetFetch, SortsAnswersIntoResultCodes) {
  const std::string huge_prefix = [] {
    std::string s;
    for (int i = 0; i < 100; ++i) {
      char piece[8];
      std::snprintf(piece, sizeof piece, "%04d|", i);
      s += piece;
    }
    return s.substr(0, 499);
  }();
  const struct {
    std::string url;
    FetchResult code;
    std::string answer;
  } cases[] = {
      {kFault + "/ok", FetchResult::kOk, "[198.51.100.7]"},
      {kFault + "/nine", FetchResult::kFailed, "[1.2.3.4]"},
      {kFault + "/ten", FetchResult::kOk, "[1.2.3.45]"},
      {kFault + "/huge", FetchResult::kOk, huge_prefix},
      {kFault + "/nul", FetchResult::kFailed, "[1.2."},
      {kFault + "/reversed", FetchResult::kOk, "x]y[203.0.113.9]"},
      // An error page is a failure, however address-like its text.
      {kFault + "/nf", FetchResult::kFailed, "[203.0.113.1] not found"},
      {kFault + "/err", FetchResult::kFailed, "[203.0.113.2] server error"},
      {kFault + "/garbled", FetchResult::kFailed, ""},
      {kFault + "/stall", FetchResult::kFailed, ""},
      {kDead + "/ok", FetchResult::kFailed, ""},
      {kNginx + "/lvn.php", FetchResult::kOk, "[127.0.0.1]\r\nLorvane lookup\r\n"},
      {kPhp + "/lvn.php", FetchResult::kOk, "[127.0.0.1]\r\nLorvane lookup\r\n"},
  };
  for (const auto& c : cases) {
    char answer[kAnswerCapacity];
    std::memset(answer, 'u', sizeof answer);
    answer[sizeof answer - 1] = '\0';
    WinInet client;
    EXPECT_EQ(client.Fetch(answer, c.url.c_str(), sizeof answer), c.code) << c.url;
    if (c.url.find("/garbled") == std::string::npos) {
      EXPECT_EQ(std::string(answer), c.answer) << c.url;
    } else {
      EXPECT_LT(std::strlen(answer), kShortestAnswer) << "a headless reply is no answer";
    }
  }
}

// What goes over the wire: a plain http URL without a port exactly as it always did; a
// port, https and an IPv6 literal each to where the URL says.
TEST(WinInetFetch, SendsTheRequestToTheUrlsSchemeAndPort) {
  const std::string id = UniqueId();
  const struct {
    std::string url;
    std::string request_line;
    std::string host;
    std::string referrer;
    std::string came_in_on;
  } cases[] = {
      {kFault + "/dir/ok?id=" + id, "GET /dir/ok?id=" + id + " HTTP/1.1", "127.0.0.2",
       "http://127.0.0.2/", "http 80"},
      // No path: the host's root.
      {kFault, "GET / HTTP/1.1", "127.0.0.2", "http://127.0.0.2/", "http 80"},
      {kFault + "?id=" + id, "GET /?id=" + id + " HTTP/1.1", "127.0.0.2", "http://127.0.0.2/",
       "http 80"},
      {kFault + ":8080/ok", "GET /ok HTTP/1.1", "127.0.0.2:8080", "http://127.0.0.2:8080/",
       "http 8080"},
      {kTls + "/dir/ok?id=" + id, "GET /dir/ok?id=" + id + " HTTP/1.1",
       "www.ombrix.example:8443", "https://www.ombrix.example:8443/", "https 8443"},
      {"https://www.ombrix.example/ok", "GET /ok HTTP/1.1", "www.ombrix.example",
       "https://www.ombrix.example/", "https 443"},
      {"http://[::1]:8080/ok", "GET /ok HTTP/1.1", "[::1]:8080", "http://[::1]:8080/",
       "http 8080"},
  };
  for (const auto& c : cases) {
    const std::size_t before = FaultServerRequests().size();
    WinInet client;
    char answer[kAnswerCapacity] = "";
    ASSERT_EQ(client.Fetch(answer, c.url.c_str(), sizeof answer), FetchResult::kOk) << c.url;
    const auto requests = FaultServerRequests();
    ASSERT_EQ(requests.size(), before + 1) << c.url;
    EXPECT_EQ(requests.back(), (std::vector<std::string>{c.request_line, c.host, "MyApp",
                                                         c.referrer, c.came_in_on}));
  }
}

// The system checks the certificate, and nothing waives its verdict: no request is sent to
// a server whose certificate it turns down.
TEST(WinInetFetch, TlsAnswersOnlyWithACertificateTheSystemTrusts) {
  const struct {
    std::string url;
    FetchResult code;
    std::size_t requests;
  } cases[] = {
      {kTls + "/ok", FetchResult::kOk, 1},
      {"https://www.ombrix.example:8444/ok", FetchResult::kFailed, 0},  // another CA's
      {"https://www.ombrix.example:8445/ok", FetchResult::kFailed, 0},  // expired
      {"https://www.ombrix.example:8446/ok", FetchResult::kFailed, 0},  // another name's
      {"https://127.0.0.2:8443/ok", FetchResult::kFailed, 0},           // not the IP's
  };
  for (const auto& c : cases) {
    const std::size_t before = FaultServerRequests().size();
    WinInet client;
    char answer[kAnswerCapacity] = "";
    EXPECT_EQ(client.Fetch(answer, c.url.c_str(), sizeof answer), c.code) << c.url;
    EXPECT_EQ(FaultServerRequests().size() - before, c.requests) << c.url;
  }
}

// Redirects are followed by the client itself, with the first request's headers, to the
// target's scheme and port, five at most, never from https to plain http: a page that
// redirects to itself ends the lookup, not the server.
TEST(WinInetFetch, FollowsAtMostFiveRedirects) {
  const std::string https = "https://www.ombrix.example";
  const struct {
    std::string first;  // scheme and authority of the first URL
    const char* path;
    FetchResult code;
    const char* answer;
    std::size_t requests;
    const char* last_request;  // how the last request line starts
    const char* last_came_in_on;
  } cases[] = {
      {https, "/dir/hop", FetchResult::kOk, "[198.51.100.7]", 2, "GET /dir/ok HTTP/1.1",
       "https 443"},
      {https, "/dir/hopabs", FetchResult::kOk, "[198.51.100.7]", 2, "GET /ok HTTP/1.1",
       "https 8443"},
      {https, "/dir/hophost", FetchResult::kOk, "[198.51.100.7]", 2, "GET / HTTP/1.1",
       "https 443"},
      {https, "/dir/hopquery", FetchResult::kOk, "[198.51.100.7]", 2,
       "GET /dir/hopquery?hopped HTTP/1.1", "https 443"},
      {https, "/dir/chain5", FetchResult::kOk, "[198.51.100.7]", 6, "GET /dir/chain0 HTTP/1.1",
       "https 443"},
      {https, "/dir/chain6", FetchResult::kFailed, "untouched", 6, "GET /dir/chain1 HTTP/1.1",
       "https 443"},
      {https, "/dir/loop", FetchResult::kFailed, "untouched", 6, "GET /dir/loop?id=", "https 443"},
      {https, "/dir/tohttp", FetchResult::kFailed, "untouched", 1, "GET /dir/tohttp?id=",
       "https 443"},
      {kFault, "/dir/tohttp", FetchResult::kOk, "[198.51.100.7]", 2, "GET /ok HTTP/1.1",
       "http 8080"},
      {kFault, "/dir/hopabs", FetchResult::kOk, "[198.51.100.7]", 2, "GET /ok HTTP/1.1",
       "https 8443"},
  };
  for (const auto& c : cases) {
    const std::size_t before = FaultServerRequests().size();
    const std::string url = c.first + c.path + "?id=" + UniqueId();
    char answer[kAnswerCapacity] = "untouched";
    WinInet client;
    EXPECT_EQ(client.Fetch(answer, url.c_str(), sizeof answer), c.code) << url;
    EXPECT_STREQ(answer, c.answer) << url;
    const auto requests = FaultServerRequests();
    ASSERT_EQ(requests.size() - before, c.requests) << url;
    EXPECT_EQ(requests.back()[0].rfind(c.last_request, 0), 0u) << requests.back()[0];
    EXPECT_EQ(requests.back()[4], c.last_came_in_on) << url;
    for (std::size_t i = before; i < requests.size(); ++i) {
      EXPECT_EQ(requests[i][2], "MyApp") << url;
      EXPECT_EQ(requests[i][3], c.first + "/") << url;
    }
  }
}

// Nothing is sent for a URL without a host or with a port out of range, which a 16-bit
// port would wrap to 0 (WinINet's default) or to 80.
TEST(WinInetFetch, FailsWithoutAUsableHostOrPort) {
  for (const char* url : {"127.0.0.2/ok", "http://127.0.0.2:0/ok", "http://127.0.0.2:65616/ok",
                          "http://127.0.0.2:80x/ok"}) {
    const std::size_t before = FaultServerRequests().size();
    WinInet client;
    char answer[kAnswerCapacity] = "";
    EXPECT_EQ(client.Fetch(answer, url, sizeof answer), FetchResult::kFailed) << url;
    EXPECT_EQ(FaultServerRequests().size(), before) << url;
  }
}

TEST(WinInetFetch, ASlowSendFailsWithoutARead) {
  char answer[kAnswerCapacity] = "untouched";
  WinInet client;
  const DWORD before = ::GetTickCount();
  EXPECT_EQ(client.Fetch(answer, (kFault + "/trickle").c_str(), sizeof answer), FetchResult::kFailed);
  EXPECT_GT(::GetTickCount() - before, kSlowSendLimitMs) << "the server did not trickle";
  EXPECT_STREQ(answer, "untouched");
}

// A body that drips in a byte at a time would take minutes: the exchange ends at the limit,
// and what arrived by then is the answer, under the usual rules.
TEST(WinInetFetch, ASlowBodyEndsAtTheLimitWithWhatArrived) {
  const struct {
    const char* path;
    FetchResult code;
    const char* result;
  } cases[] = {
      {"/drip", FetchResult::kOk, "203.0.113.7"},
      {"/dripnf", FetchResult::kFailed, "err"},
  };
  for (const auto& c : cases) {
    char answer[kAnswerCapacity] = "untouched";
    WinInet client;
    const DWORD before = ::GetTickCount();
    const FetchResult code = client.Fetch(answer, (kFault + c.path).c_str(), sizeof answer);
    EXPECT_LT(::GetTickCount() - before, 8000u) << c.path;
    EXPECT_EQ(code, c.code) << c.path;
    // More than the first line: the reads went on until the limit.
    EXPECT_EQ(std::string(answer).rfind("[203.0.113.7]\r\n.", 0), 0u) << answer;
    EXPECT_EQ(Described(LookupResultOf(code, answer)), c.result) << c.path;
  }
}

// A page that lets caches keep its answer for an hour still gets every lookup, and its
// answer is not kept for the next one.
TEST(WinInetFetch, EveryLookupAsksTheServer) {
  std::string first, second;
  for (std::string* address : {&first, &second}) {
    char answer[kAnswerCapacity] = "";
    WinInet client;
    const FetchResult code = client.Fetch(answer, (kFault + "/cached").c_str(), sizeof answer);
    *address = Described(LookupResultOf(code, answer));
  }
  EXPECT_EQ(first.rfind("203.0.113.", 0), 0u) << first;
  EXPECT_NE(first, second);
  // Nor is it in the user's WinINet cache, for this program or any other to find.
  using GetEntryFn = BOOL(WINAPI*)(const char*, void*, DWORD*);
  const auto get_entry = reinterpret_cast<GetEntryFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::LoadLibraryA("wininet.dll"), "GetUrlCacheEntryInfoA")));
  ASSERT_NE(get_entry, nullptr);
  DWORD size = 0;
  EXPECT_FALSE(get_entry((kFault + "/cached").c_str(), nullptr, &size));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// The process's threads, as the system counts them.
int ThreadCount() {
  ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more;
       more = ::Thread32Next(snapshot.Get(), &entry)) {
    count += entry.th32OwnerProcessID == ::GetCurrentProcessId() ? 1 : 0;
  }
  return count;
}

constexpr UINT kMsgResult = WM_APP + 1;

// A hidden window on the test's thread, standing in for the main window.
class ResultTarget {
 public:
  ResultTarget() {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &ResultTarget::Proc;
      wc.hInstance = ::GetModuleHandleA(nullptr);
      wc.lpszClassName = "LvnResultTarget";
      return ::RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    hwnd_ = ::CreateWindowExA(0, "LvnResultTarget", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ResultTarget() { Destroy(); }

  HWND Handle() const { return hwnd_; }
  void Destroy() {
    if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }

  LookupWorker lookup;
  std::vector<std::string> results;
  std::vector<DWORD> handoff_threads;
  // Started from within the next hand-off, as a click the moment Update is enabled would.
  std::string next_url;
  bool restarted = false;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<ResultTarget*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && wparam == 1 && self != nullptr) {
      if (self->lookup.GiveUpWhenOverdue()) self->results.push_back("given up");
      return 0;
    }
    if (message == kMsgResult && self != nullptr) {
      const std::optional<LookupResult> result = self->lookup.TakeResult();
      if (!result) return 0;
      self->results.push_back(Described(*result) + (result->FromFallback ? " (fallback)" : ""));
      self->handoff_threads.push_back(::GetCurrentThreadId());
      if (!self->next_url.empty()) {
        const std::string url = std::move(self->next_url);
        self->next_url.clear();
        self->restarted = self->lookup.Start(url.c_str(), hwnd, kMsgResult, 1);
      }
      return 0;
    }
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
};

using test::PumpUntil;

// Serves this thread's messages until no lookup of target's runs.
bool PumpUntilIdle(const ResultTarget& target) {
  return PumpUntil([&] { return !target.lookup.Running(); });
}

TEST(InternetThread, HandsTheAddressOrErrToTheUserInterfaceThread) {
  const struct {
    std::string url;
    std::string result;
  } cases[] = {
      {kNginx + "/lvn.php", "127.0.0.1"},
      {kFault + "/ok", "198.51.100.7"},
      {kFault + "/marked", "203.0.113.9"},
      {kFault + "/long", "abcdefghijabcdefghijabcdefghij"},
      {kFault + "/ipv6", "2001:db8:85a3:1234:5678:8a2e:370:7334"},
      {kFault + "/padded", "198.51.100.7"},
      {kFault + "/reversed", ""},
      {kFault + "/missing", "err"},  // a captive portal's page is no answer
      {kFault + "/touching", ""},
      {kFault + "/nine", "err"},
      {kFault + "/nf", "err"},
      {kDead + "/lvn.php", "err"},
  };
  ResultTarget target;
  for (const auto& c : cases) {
    ASSERT_FALSE(target.lookup.Running());
    ASSERT_TRUE(target.lookup.Start(c.url.c_str(), target.Handle(), kMsgResult, 1));
    EXPECT_FALSE(target.lookup.Start(c.url.c_str(), target.Handle(), kMsgResult, 1))
        << "one lookup at a time";
    ASSERT_TRUE(PumpUntilIdle(target)) << c.url;
    ASSERT_EQ(target.results.size(), static_cast<std::size_t>(&c - cases) + 1) << c.url;
    EXPECT_EQ(target.results.back(), c.result) << c.url;
    EXPECT_EQ(target.handoff_threads.back(), ::GetCurrentThreadId());
  }
}

// The fallback page is asked only when the lookup URL fails, and the result says so.
TEST(InternetThread, AsksTheFallbackPageOnlyWhenTheLookupUrlFails) {
  const struct {
    std::string url, fallback, result;
  } cases[] = {
      {kFault + "/ok", kFault + "/marked", "198.51.100.7"},
      {kDead + "/ok", kFault + "/marked", "203.0.113.9 (fallback)"},
      {kFault + "/nf", kFault + "/ok", "198.51.100.7 (fallback)"},
      {kDead + "/ok", kDead + "/lvn.php", "err"},
  };
  ResultTarget target;
  for (const auto& c : cases) {
    ASSERT_TRUE(target.lookup.Start(c.url.c_str(), target.Handle(), kMsgResult, 1,
                                    c.fallback.c_str()));
    ASSERT_TRUE(PumpUntilIdle(target)) << c.url;
    EXPECT_EQ(target.results.back(), c.result) << c.url << " then " << c.fallback;
  }
}

// Any program can send the result's message: one that finds no result neither hands the
// window anything nor ends the lookup that runs.
TEST(InternetThread, AMessageFromElsewhereFindsNoResultAndEndsNothing) {
  ResultTarget target;
  ASSERT_TRUE(target.lookup.Start((kFault + "/stall").c_str(), target.Handle(), kMsgResult, 1));
  ::SendMessageA(target.Handle(), kMsgResult, 0, 0x1234);
  ::PostMessageA(target.Handle(), kMsgResult, 0, 0);
  ASSERT_TRUE(PumpUntil([] { return true; }));
  EXPECT_TRUE(target.results.empty());
  EXPECT_TRUE(target.lookup.Running());
  ASSERT_TRUE(PumpUntilIdle(target));
  EXPECT_EQ(target.results, std::vector<std::string>{"err"});
}

// The worker that handed its result over is still ending when the next one starts; it must
// not end the new lookup.
TEST(InternetThread, ALookupStartedAtTheHandOffRunsOnWhenTheWorkerBeforeItEnds) {
  ResultTarget target;
  target.next_url = kFault + "/stall";  // about a second, until the receive time-out
  ASSERT_TRUE(target.lookup.Start((kFault + "/ok").c_str(), target.Handle(), kMsgResult, 1));
  ASSERT_TRUE(PumpUntil([&] { return !target.results.empty(); }));
  ASSERT_TRUE(target.restarted);
  // The first worker has long ended; the second still waits for the server.
  ::Sleep(300);
  EXPECT_TRUE(target.lookup.Running());
  ASSERT_TRUE(PumpUntilIdle(target));
  EXPECT_EQ(target.results, (std::vector<std::string>{"198.51.100.7", "err"}));
}

// A page that never ends its head holds a lookup past its limit. The one given up is ended
// as soon as the system lets it, and while it is not, a check fails without a second
// request: no thread piles up behind such a page, however many checks come.
TEST(InternetThread, ALookupGivenUpAtItsLimitLeavesAtMostOneThreadBehind) {
  ResultTarget target;
  const int threads = ThreadCount();
  const auto requests = [] {
    int count = 0;
    for (const auto& request : FaultServerRequests()) {
      count += request[0].find("/headdrip") != std::string::npos ? 1 : 0;
    }
    return count;
  };
  const int before = requests();
  for (int check = 0; check < 4; ++check) {
    const int lookups = requests();
    const bool free = ThreadCount() <= threads;
    ASSERT_TRUE(target.lookup.Start((kFault + "/headdrip").c_str(), target.Handle(), kMsgResult, 1));
    ASSERT_TRUE(PumpUntilIdle(target));
    EXPECT_LE(ThreadCount(), threads + 2) << check;
    // A check that found the last lookup still held asked nothing.
    if (!free) {
      EXPECT_EQ(requests(), lookups) << check;
    }
  }
  EXPECT_GE(requests() - before, 1);
  EXPECT_EQ(target.results.size(), 4u);
  for (const std::string& result : target.results) {
    EXPECT_TRUE(result == "given up" || result == "err") << result;
  }
}

// The window and its LookupWorker gone while the worker still fetches: the worker's
// result lands in the slot it shares, not in freed memory, and reaches no other window.
TEST(InternetThread, AWorkerOutlivesTheWindowThatStartedIt) {
  std::vector<std::string> results;
  {
    ResultTarget gone;
    ASSERT_TRUE(gone.lookup.Start((kFault + "/stall").c_str(), gone.Handle(), kMsgResult, 1));
    results = gone.results;
  }
  ResultTarget next;
  // Outlasts the stall (about a second) of the worker before.
  for (const char* path : {"/stall", "/ok"}) {
    ASSERT_TRUE(next.lookup.Start((kFault + path).c_str(), next.Handle(), kMsgResult, 1));
    ASSERT_TRUE(PumpUntilIdle(next));
  }
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(next.results, (std::vector<std::string>{"err", "198.51.100.7"}));
}

TEST(InternetThread, TheProgramCanEndWhileALookupRuns) {
  // lookup_exit.exe starts a lookup on a stalling server and returns at once.
  const std::string tool = test::ExecutableFolder() + "lookup_exit.exe";
  for (const char* url : {"http://127.0.0.2/stall", "http://127.0.0.2/trickle"}) {
    std::string command = "\"" + tool + "\" " + url;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(tool.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &info));
    ScopedHandle process(info.hProcess), thread(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);
    DWORD exit_code = 99;
    ::GetExitCodeProcess(process.Get(), &exit_code);
    EXPECT_EQ(exit_code, 0u) << url;
  }
}

}  // namespace
}  // namespace lvn
