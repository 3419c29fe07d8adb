// The update targets as a user meets them: targets deployed in lvn.ini, sends made by the
// real program to the fault server's services (what they got on the wire), and what the
// program keeps of them: Sent= in lvn.ini, update.log, and no secret in any file.
#include <gtest/gtest.h>
#include <windows.h>

#include <charconv>
#include <string>
#include <utility>
#include <vector>

#include "harness_win.h"
#include "lvn_version.h"
#include "update_server_win.h"
#include "windows/main/main_window_ids.h"

namespace lvn::e2e {
namespace {

constexpr char kSecret[] = "Sekr1t-plain-7Q";
// "lvnuser:Sekr1t-plain-7Q" as Basic authentication sends it.
constexpr char kBasic[] = "bHZudXNlcjpTZWtyMXQtcGxhaW4tN1E=";
constexpr char kDuckToken[] = "duck-tok-5e2f";
constexpr char kHookToken[] = "hookTok-9aZ";
constexpr char kUserAgent[] = "Lorvane/" LVN_VERSION_TEXT;

// A start whose last address was 8.8.4.4, checked only when asked.
std::string Settings(const std::string& more) {
  return "[Value]\r\nIpUrl=http://127.0.0.2/lvn.php\r\nInterval=3600000\r\nIpHoz=8.8.4.4\r\n" +
         more;
}

std::string Dyndns2(int slot, const std::string& host, const std::string& sent = "") {
  return "[Target" + std::to_string(slot) +
         "]\r\nKind=dyndns2\r\nUrl=https://www.ombrix.example/u/nic/update\r\nHost=" + host +
         "\r\nUser=lvnuser\r\nSecret=" + kSecret + "\r\n" +
         (sent.empty() ? "" : "Sent=" + sent + "\r\n");
}

std::string Dyndns2Target(const std::string& host, const std::string& ip) {
  return "/u/nic/update?hostname=" + host + "&myip=" + ip;
}

bool IniHas(const std::string& text) {
  return ReadDataFile("lvn.ini").find(text) != std::string::npos;
}

bool ShowsNowIp(HWND main, const std::string& address) {
  return IsNowIp(WindowText(::GetDlgItem(main, kIdNowIp)), address);
}

// Starts the program and waits until its first check has found address.
bool StartChecked(Session* run, const std::string& address) {
  if (!Program::Launch(&run->program)) return false;
  run->main = WaitForWindow(run->program.Id(), "TfrmMain");
  return run->main != nullptr && WaitUntil([&] { return ShowsNowIp(run->main, address); });
}

// A lookup that finds address, handled.
bool CheckFinds(const Session& run, const std::string& address) {
  SetLookupAnswer("[" + address + "]\r\n");
  return CheckNow(run.main) && WaitUntil([&] { return ShowsNowIp(run.main, address); });
}

bool WaitForRecords(std::size_t count) {
  return WaitUntil([&] { return UpdateRecords().size() >= count; });
}

// An update.log line begins with its date and time.
bool IsStamped(const std::string& line) {
  return MatchesTime(line.substr(0, 20), "", "9999/99/99 99:99:99\t");
}

int NumberOf(const std::string& text) {
  int number = -1;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

// "hh:nn" in minutes of the day.
int MinutesOf(const std::string& clock) {
  return NumberOf(clock.substr(0, 2)) * 60 + NumberOf(clock.substr(3, 2));
}

TEST(UpdateTargets, ADeployedSecretIsProtectedSentOnceAndFoundInNoFile) {
  ResetUpdateServer();
  ClearDataFolder();
  WriteDataFile("lvn.ini", Settings(Dyndns2(1, "home.example.net")));
  SetLookupAnswer("[8.8.4.4]\r\n");
  Session run;
  ASSERT_TRUE(StartChecked(&run, "8.8.4.4"));

  // The first check of a start sends what the service was never sent, over TLS, with the
  // account in Basic authentication; the secret left lvn.ini before.
  ASSERT_TRUE(WaitForRecords(1));
  UpdateRecord sent = UpdateRecords()[0];
  EXPECT_EQ(sent.Method, "GET");
  EXPECT_EQ(sent.Target, Dyndns2Target("home.example.net", "8.8.4.4"));
  EXPECT_EQ(sent.Scheme, "https");
  EXPECT_EQ(sent.Headers["authorization"], std::string("Basic ") + kBasic);
  EXPECT_EQ(sent.Headers["user-agent"], kUserAgent);
  EXPECT_TRUE(IniHas("\r\nSecretProtected=")) << ReadDataFile("lvn.ini");
  EXPECT_FALSE(IniHas("\r\nSecret=")) << ReadDataFile("lvn.ini");
  EXPECT_TRUE(WaitUntil([] { return IniHas("\r\nSent=8.8.4.4\r\n"); })) << ReadDataFile("lvn.ini");
  const std::string line = WaitForUpdateLogLine("\tdyndns2 home.example.net\t");
  ASSERT_FALSE(line.empty()) << "no update.log line";
  EXPECT_TRUE(IsStamped(line)) << line;
  EXPECT_EQ(line.substr(19), "\tdyndns2 home.example.net\tchange\t8.8.4.4\t成功 good\t"
                             "https://www.ombrix.example" +
                                 Dyndns2Target("home.example.net", "8.8.4.4"));
  ASSERT_TRUE(EndSession(&run));

  // Started again with the same address: the service already has it.
  ASSERT_TRUE(StartChecked(&run, "8.8.4.4"));
  ASSERT_TRUE(EndSession(&run));
  EXPECT_EQ(UpdateRecords().size(), 1u);
  EXPECT_EQ(UpdateLogLines().size(), 1u);
  for (const char* secret : {kSecret, kBasic}) {
    EXPECT_EQ(DataFilesHolding(secret), std::vector<std::string>{}) << secret;
  }
}

TEST(UpdateTargets, ARefusedAccountStopsItsTargetAndATemporaryFailureWaitsForItsRetry) {
  ResetUpdateServer();
  ClearDataFolder();
  WriteDataFile("lvn.ini", Settings(Dyndns2(1, "stop.example.net") +
                                    Dyndns2(2, "retry.example.net", "8.8.4.4")));
  SetUpdateAnswer("200 badauth");
  SetLookupAnswer("[8.8.4.4]\r\n");
  Session run;
  ASSERT_TRUE(StartChecked(&run, "8.8.4.4"));
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_EQ(UpdateRecords()[0].Target, Dyndns2Target("stop.example.net", "8.8.4.4"));
  const std::string refused = WaitForUpdateLogLine("\tdyndns2 stop.example.net\t");
  EXPECT_NE(refused.find("\tchange\t8.8.4.4\t失敗 (再試行なし) badauth\t"), std::string::npos)
      << refused;

  // A new address reaches only the target that was not refused; the server is busy.
  SetUpdateAnswer("200 911");
  ASSERT_TRUE(CheckFinds(run, "9.9.9.9"));
  ASSERT_TRUE(WaitForRecords(2));
  EXPECT_EQ(UpdateRecords()[1].Target, Dyndns2Target("retry.example.net", "9.9.9.9"));
  const std::string busy = WaitForUpdateLogLine("\tdyndns2 retry.example.net\t");
  const std::string retry_at = "\tchange\t9.9.9.9\t失敗 (再試行: ";
  const std::size_t retry = busy.find(retry_at);
  ASSERT_NE(retry, std::string::npos) << busy;
  const std::string clock = busy.substr(retry + retry_at.size(), 5);
  EXPECT_EQ(busy.substr(retry + retry_at.size() + 5, 5), ") 911") << busy;
  // Five minutes on, as the stamp reads (a minute less when the stamp's minute just began).
  const int delay = (MinutesOf(clock) - MinutesOf(busy.substr(11, 5)) + 1440) % 1440;
  EXPECT_TRUE(delay == 5 || (delay == 4 && NumberOf(busy.substr(17, 2)) < 2)) << busy;

  // For a minute, checks that find new addresses send nothing more.
  SetUpdateAnswer("");
  const ULONGLONG until = ::GetTickCount64() + 60000;
  for (int i = 0; ::GetTickCount64() < until; ++i) {
    ASSERT_TRUE(CheckFinds(run, i % 2 == 0 ? "8.8.8.8" : "9.9.9.9"));
    EXPECT_FALSE(WaitUntil([] { return UpdateRecords().size() > 2; }, 5000))
        << UpdateRecords().back().Target;
  }
  ASSERT_TRUE(EndSession(&run));
  EXPECT_EQ(UpdateRecords().size(), 2u);
  EXPECT_TRUE(IniHas("\r\nSent=8.8.4.4\r\n")) << ReadDataFile("lvn.ini");
}

TEST(UpdateTargets, DuckdnsAndAWebhookHearOfAChangeAndTheWebhookOfAnOutage) {
  ResetUpdateServer();
  ClearDataFolder();
  WriteDataFile("lvn.ini",
                Settings(std::string("[Target1]\r\nKind=duckdns\r\n"
                                     "Url=https://www.ombrix.example/u/duckdns/update\r\n"
                                     "Host=home\r\nSecret=") +
                         kDuckToken + "\r\nSent=8.8.4.4\r\n[Target2]\r\nKind=discord\r\n"
                         "Secret=https://www.ombrix.example/u/discord/4711/" + kHookToken +
                         "\r\nOn=change,outage\r\n"));
  SetLookupAnswer("[8.8.4.4]\r\n");
  Session run;
  ASSERT_TRUE(StartChecked(&run, "8.8.4.4"));

  // A change: duckdns gets the address with its token, the webhook a JSON message.
  ASSERT_TRUE(CheckFinds(run, "9.9.9.9"));
  ASSERT_TRUE(WaitForRecords(2));
  std::vector<UpdateRecord> sent = UpdateRecords();
  if (sent[0].Method == "POST") std::swap(sent[0], sent[1]);
  EXPECT_EQ(sent[0].Method, "GET");
  EXPECT_EQ(sent[0].Target,
            std::string("/u/duckdns/update?domains=home&token=") + kDuckToken + "&ip=9.9.9.9");
  EXPECT_EQ(sent[1].Method, "POST");
  EXPECT_EQ(sent[1].Target, std::string("/u/discord/4711/") + kHookToken);
  EXPECT_EQ(sent[1].Headers["content-type"], "application/json");
  EXPECT_EQ(sent[1].Body, "{\"content\":\"IPアドレスが変わりました\\u000a8.8.4.4 → 9.9.9.9\"}");
  for (UpdateRecord& record : sent) EXPECT_EQ(record.Headers["user-agent"], kUserAgent);
  EXPECT_TRUE(WaitUntil([] { return IniHas("\r\nSent=9.9.9.9\r\n"); })) << ReadDataFile("lvn.ini");
  EXPECT_NE(WaitForUpdateLogLine("\tduckdns home\t").find(
                "\tchange\t9.9.9.9\t成功 OK\thttps://www.ombrix.example/u/duckdns/update"
                "?domains=home&token=***&ip=9.9.9.9"),
            std::string::npos);
  const std::string hook = WaitForUpdateLogLine("\tchange\t9.9.9.9\t成功 204\t");
  EXPECT_TRUE(hook.ends_with("\thttps://www.ombrix.example/***")) << hook;

  // An outage reaches the webhook alone; its redirect, which would carry the secret
  // elsewhere, is not followed.
  SetUpdateAnswer("302 /u/elsewhere");
  SetLookupAnswer("!down");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitForRecords(3));
  const UpdateRecord outage = UpdateRecords()[2];
  EXPECT_EQ(outage.Target, std::string("/u/discord/4711/") + kHookToken);
  EXPECT_EQ(outage.Body.rfind("{\"content\":\"通信エラー\\u000a開始:", 0), 0u) << outage.Body;
  EXPECT_NE(WaitForUpdateLogLine("\toutage\t").find("\t失敗 (再試行なし) 302\t"),
            std::string::npos);
  ASSERT_TRUE(EndSession(&run));
  EXPECT_EQ(UpdateRecords().size(), 3u);
  for (const char* secret : {kDuckToken, kHookToken}) {
    EXPECT_EQ(DataFilesHolding(secret), std::vector<std::string>{}) << secret;
  }
}

TEST(UpdateTargets, OnlyAGlobalAddressReachesADnsTarget) {
  ResetUpdateServer();
  ClearDataFolder();
  WriteDataFile("lvn.ini", Settings(Dyndns2(1, "home.example.net", "8.8.4.4")));
  SetLookupAnswer("[198.51.100.7]\r\n");
  Session run;
  ASSERT_TRUE(StartChecked(&run, "198.51.100.7"));
  // A documentation address, then a private one: logged as not sent, Sent= kept.
  const std::string not_sent = "\t送信しません (グローバルアドレスではありません)";
  EXPECT_NE(WaitForUpdateLogLine("\tchange\t198.51.100.7\t").find(not_sent), std::string::npos);
  ASSERT_TRUE(CheckFinds(run, "192.168.1.20"));
  EXPECT_NE(WaitForUpdateLogLine("\tchange\t192.168.1.20\t").find(not_sent), std::string::npos);
  EXPECT_TRUE(IniHas("\r\nSent=8.8.4.4\r\n"));
  // The next global address is the first one sent.
  ASSERT_TRUE(CheckFinds(run, "9.9.9.9"));
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_EQ(UpdateRecords()[0].Target, Dyndns2Target("home.example.net", "9.9.9.9"));
  EXPECT_TRUE(WaitUntil([] { return IniHas("\r\nSent=9.9.9.9\r\n"); }));
  ASSERT_TRUE(EndSession(&run));
  EXPECT_EQ(UpdateRecords().size(), 1u);
}

TEST(UpdateTargets, ANewAddressCountsOnlyWhenTheFallbackPageConfirmsIt) {
  ResetUpdateServer();
  ClearDataFolder();
  WriteDataFile("lvn.ini", Settings("[Lookup]\r\nFallbackUrl=http://127.0.0.2/lvn2.php\r\n"
                                    "ConfirmChange=1\r\n" +
                                    Dyndns2(1, "home.example.net", "8.8.4.4")));
  SetLookupAnswer("[8.8.4.4]\r\n");
  SetFallbackAnswer("[8.8.4.4]\r\n");
  Session run;
  ASSERT_TRUE(StartChecked(&run, "8.8.4.4"));
  const std::size_t lines = LogLines().size();

  // The pages disagree: nothing recorded, nothing sent, both answers logged.
  const int asked = RequestCount("GET /lvn2.php ");
  SetFallbackAnswer("[1.1.1.1]\r\n");
  SetLookupAnswer("[9.9.9.9]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  const std::string unconfirmed = WaitForUpdateLogLine("\tunconfirmed\t");
  ASSERT_FALSE(unconfirmed.empty()) << "no update.log line";
  EXPECT_TRUE(IsStamped(unconfirmed)) << unconfirmed;
  EXPECT_EQ(unconfirmed.substr(19), "\t-\tunconfirmed\t9.9.9.9\t1.1.1.1\t");
  EXPECT_EQ(RequestCount("GET /lvn2.php ") - asked, 1);
  EXPECT_EQ(LogLines().size(), lines);

  // Asked again at the next check, the pages agree: the change is recorded and sent.
  SetFallbackAnswer("[9.9.9.9]\r\n");
  ASSERT_TRUE(CheckNow(run.main));
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_EQ(UpdateRecords()[0].Target, Dyndns2Target("home.example.net", "9.9.9.9"));
  ASSERT_TRUE(WaitForLogLines(lines + 1));
  EXPECT_EQ(Text(LogLines().back()), "9.9.9.9");
  ASSERT_TRUE(EndSession(&run));
  EXPECT_EQ(UpdateRecords().size(), 1u);
  EXPECT_EQ(RequestCount("GET /lvn2.php ") - asked, 2);
}

}  // namespace
}  // namespace lvn::e2e
