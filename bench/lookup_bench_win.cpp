// How long a lookup takes from its start to the hand-off, against a plain TCP request and
// response to the same server: lookup_bench.exe [URL] [COUNT]
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lookup/lookup_worker_win.h"

namespace {

constexpr UINT kMsgResult = WM_APP + 1;
LARGE_INTEGER g_handoff{};
bool g_handed_off = false;
lvn::LookupWorker g_lookup;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kMsgResult) {
    ::QueryPerformanceCounter(&g_handoff);
    g_handed_off = g_lookup.TakeResult().has_value();
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

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("%-22s median %8.2f ms  mean %8.2f ms  min %8.2f ms  max %8.2f ms  (n=%zu)\n", what,
              ms[ms.size() / 2], sum / static_cast<double>(ms.size()), ms.front(), ms.back(),
              ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string url = argc > 1 ? argv[1] : "http://127.0.0.1/lvn.php";
  const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
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

  std::vector<double> lookup_ms, tcp_ms;
  for (int i = 0; i < count; ++i) {
    g_handed_off = false;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (!g_lookup.Start(url.c_str(), target, kMsgResult, 1)) return 2;
    PumpUntil(g_handed_off);
    lookup_ms.push_back(Milliseconds(start, g_handoff));

    LARGE_INTEGER tcp_start, tcp_end;
    ::QueryPerformanceCounter(&tcp_start);
    if (!TcpExchange(host, path)) return 3;
    ::QueryPerformanceCounter(&tcp_end);
    tcp_ms.push_back(Milliseconds(tcp_start, tcp_end));
  }
  Report("lookup to hand-off", lookup_ms);
  Report("plain TCP exchange", tcp_ms);
  std::sort(lookup_ms.begin(), lookup_ms.end());
  std::sort(tcp_ms.begin(), tcp_ms.end());
  std::printf("ratio of medians (lookup / TCP): %.1f\n",
              lookup_ms[lookup_ms.size() / 2] / tcp_ms[tcp_ms.size() / 2]);
  ::WSACleanup();
  return 0;
}
