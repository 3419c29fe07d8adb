// How long a lookup takes from its start to the hand-off, for each URL in turn, against a
// plain TCP request and response to the nginx lookup page on 127.0.0.1:80; each URL's
// median also against the one before (an https URL against the same server's plain one):
//   lookup_bench.exe [COUNT [URL...]]
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "lookup/lookup_worker_win.h"

namespace {

constexpr UINT kMsgResult = WM_APP + 1;
LARGE_INTEGER g_handoff{};
bool g_handed_off = false;
bool g_answered = false;
lvn::LookupWorker g_lookup;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kMsgResult) {
    ::QueryPerformanceCounter(&g_handoff);
    const std::optional<lvn::LookupResult> result = g_lookup.TakeResult();
    g_handed_off = result.has_value();
    g_answered = result && result->Status == lvn::LookupStatus::kAnswered;
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

void PumpUntil(const bool& flag) {
  while (!flag) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (!flag) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

bool TcpExchange(const std::string& host, const std::string& path) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(80);
  ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
  bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  const std::string request =
      "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n";
  ok = ok && ::send(s, request.data(), static_cast<int>(request.size()), 0) ==
                 static_cast<int>(request.size());
  char buffer[4096];
  int got = 0;
  std::size_t total = 0;
  while (ok && (got = ::recv(s, buffer, sizeof buffer, 0)) > 0) total += static_cast<std::size_t>(got);
  ::closesocket(s);
  return ok && total > 0;
}

double Median(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

void Report(const std::string& what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("%-44s median %7.2f ms  mean %7.2f ms  min %7.2f ms  max %7.2f ms  (n=%zu)\n",
              what.c_str(), ms[ms.size() / 2], sum / static_cast<double>(ms.size()), ms.front(),
              ms.back(), ms.size());
}

// One lookup of url, from its start to its hand-off; nothing when it failed.
std::optional<double> TimeLookup(const std::string& url, HWND target) {
  g_handed_off = false;
  LARGE_INTEGER start;
  ::QueryPerformanceCounter(&start);
  if (!g_lookup.Start(url.c_str(), target, kMsgResult, 1)) return std::nullopt;
  PumpUntil(g_handed_off);
  if (!g_answered) return std::nullopt;
  return Milliseconds(start, g_handoff);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  std::vector<std::string> urls(argv + std::min(argc, 2), argv + argc);
  if (urls.empty()) urls.push_back("http://127.0.0.1/lvn.php");
  const std::string host = "127.0.0.1", path = "/lvn.php";

  WNDCLASSA wc{};
  wc.lpfnWndProc = &TargetProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "LvnBenchTarget";
  ::RegisterClassA(&wc);
  HWND target = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
  WSADATA wsa;
  if (target == nullptr || ::WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;

  // Round by round, so that a slow moment of the machine falls on every kind alike.
  std::vector<std::vector<double>> lookup_ms(urls.size());
  std::vector<double> tcp_ms;
  for (int i = 0; i < count; ++i) {
    for (std::size_t u = 0; u < urls.size(); ++u) {
      const std::optional<double> ms = TimeLookup(urls[u], target);
      if (!ms) {
        std::fprintf(stderr, "lookup of %s failed\n", urls[u].c_str());
        return 2;
      }
      lookup_ms[u].push_back(*ms);
    }
    LARGE_INTEGER tcp_start, tcp_end;
    ::QueryPerformanceCounter(&tcp_start);
    if (!TcpExchange(host, path)) return 3;
    ::QueryPerformanceCounter(&tcp_end);
    tcp_ms.push_back(Milliseconds(tcp_start, tcp_end));
  }
  for (std::size_t u = 0; u < urls.size(); ++u) Report("lookup " + urls[u], lookup_ms[u]);
  Report("plain TCP exchange with nginx", tcp_ms);
  std::printf("ratio of medians, lookup of %s / TCP: %.1f\n", urls[0].c_str(),
              Median(lookup_ms[0]) / Median(tcp_ms));
  for (std::size_t u = 1; u < urls.size(); ++u) {
    std::printf("ratio of medians, %s / %s: %.2f\n", urls[u].c_str(), urls[u - 1].c_str(),
                Median(lookup_ms[u]) / Median(lookup_ms[u - 1]));
  }
  ::WSACleanup();
  return 0;
}
