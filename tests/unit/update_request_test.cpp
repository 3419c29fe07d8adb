// The requests sent to update targets: each kind's wire form, the url kind's escaping, and
// the log's form of a URL, which never holds a secret.
#include "notify/update_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lvn {
namespace {

UpdateTarget TargetOf(const std::string& keys) {
  IniFile ini;
  ini.Load("[Target1]\n" + keys);
  return *ReadUpdateTargets(ini)[0];
}

// The request as a text: its first line, whether it follows redirects, the URL as logged
// when it differs, its headers and, after an empty line, its body.
std::string WireOf(const std::string& keys, const UpdateFacts& facts) {
  UpdateRequest r;
  EXPECT_EQ(BuildUpdateRequest(TargetOf(keys), facts, &r), TargetProblem::kNone) << keys;
  std::string wire = (r.Method == HttpMethod::kGet ? "GET " : "POST ") + r.Url;
  if (r.CarriesSecret) wire += "\n[no redirect]";
  if (r.LoggedUrl != r.Url) wire += "\n[logged] " + r.LoggedUrl;
  for (const HttpHeader& header : r.Headers) wire += "\n" + header.Name + ": " + header.Value;
  if (!r.Body.empty()) wire += "\n\n" + r.Body;
  return wire;
}

TEST(UpdateRequest, EachKindAsItsServiceExpects) {
  const UpdateFacts v4{.Ip = "203.0.113.9", .OldIp = "198.51.100.1", .Title = "IP changed",
                       .Text = "a \"b\"\r\n"};
  const UpdateFacts v6{.Ip = "2001:db8::1", .Title = "アドレス!", .Text = "x", .Secret = "tk"};
  const struct {
    std::string keys;
    UpdateFacts facts;
    std::string wire;
  } cases[] = {
      {"Kind=dyndns2\nUrl=https://d.example/nic/update\nHost=a.example,b.example\nUser=me\n"
       "Secret=pa:ss",
       v4, "GET https://d.example/nic/update?hostname=a.example,b.example&myip=203.0.113.9\n"
           "[no redirect]\nAuthorization: Basic bWU6cGE6c3M="},
      {"Kind=duckdns\nHost=mine\nSecret=t&k", v4,
       "GET https://www.duckdns.org/update?domains=mine&token=t%26k&ip=203.0.113.9\n"
       "[no redirect]\n"
       "[logged] https://www.duckdns.org/update?domains=mine&token=***&ip=203.0.113.9"},
      {"Kind=duckdns\nUrl=https://dd.example/u?verbose=true\nHost=mine\nSecret=x", v6,
       "GET https://dd.example/u?verbose=true&domains=mine&token=tk&ipv6=2001:db8::1\n"
       "[no redirect]\n"
       "[logged] https://dd.example/u?verbose=true&domains=mine&token=***&ipv6=2001:db8::1"},
      {"Kind=dynv6\nHost=h.dynv6.net\nSecret=tk", v4,
       "GET https://dynv6.com/api/update?hostname=h.dynv6.net&token=tk&ipv4=203.0.113.9\n"
       "[no redirect]\n"
       "[logged] https://dynv6.com/api/update?hostname=h.dynv6.net&token=***&ipv4=203.0.113.9"},
      {"Kind=ntfy\nUrl=https://ntfy.example/topic", v4,
       "POST https://ntfy.example/topic\nTitle: IP changed\n\na \"b\"\r\n"},
      {"Kind=ntfy\nUrl=https://ntfy.example/topic", v6,
       "POST https://ntfy.example/topic\n[no redirect]\nTitle: =?UTF-8?B?44Ki44OJ44Os44K5IQ==?=\n"
       "Authorization: Bearer tk\n\nx"},
      {"Kind=discord\nSecret=https://discord.example/api/webhooks/1/zz", v4,
       "POST https://discord.example/api/webhooks/1/zz\n[no redirect]\n"
       "[logged] https://discord.example/***\nContent-Type: application/json\n\n"
       "{\"content\":\"IP changed\\u000aa \\\"b\\\"\\u000d\\u000a\"}"},
      {"Kind=slack\nSecretProtected=AAAA", {.Title = "T", .Secret = "https://hooks.example?x"},
       "POST https://hooks.example?x\n[no redirect]\n[logged] https://hooks.example/***\n"
       "Content-Type: application/json\n\n{\"text\":\"T\"}"},
  };
  for (const auto& c : cases) EXPECT_EQ(WireOf(c.keys, c.facts), c.wire) << c.keys;
  // A secret known only in protected form cannot be sent; the request is left alone.
  UpdateRequest untouched{.Url = "u"};
  EXPECT_EQ(BuildUpdateRequest(TargetOf("Kind=duckdns\nHost=h\nSecretProtected=AAAA"), v4,
                               &untouched),
            TargetProblem::kNoSecret);
  EXPECT_EQ(untouched.Url, "u");
}

TEST(UpdateRequest, UrlTemplatesEscapeForWhereTheValueGoes) {
  const UpdateFacts facts{.Event = TargetEvent::kRecovery, .Ip = "2001:db8::1", .OldIp = ""};
  const std::pair<std::string, std::string> cases[] = {
      {"Url=https://u.example/%ip%/%OLDIP%?h=%HOST%&e=%Event%&x=%20%IP%%%\n"
       "Host=a b&c\nBody={\"ip\":\"%IP%\"}",  // a GET sends no body
       "GET https://u.example/2001%3Adb8%3A%3A1/?h=a%20b%26c&e=recovery&x=%202001%3Adb8%3A%3A1%%"},
      {"Url=https://u.example/?k=%SECRET%\nSecret=s/\"k\nMethod=post\nHost=\x93\xfa\x96\x7b\n"
       "Body={\"host\":\"%HOST%\",\"key\":\"%SECRET%\",\"event\":\"%EVENT%\"}",
       "POST https://u.example/?k=s%2F%22k\n[no redirect]\n[logged] https://u.example/?k=***\n"
       "Content-Type: application/json\n\n"
       "{\"host\":\"日本\",\"key\":\"s/\\\"k\",\"event\":\"recovery\"}"},
      {"Url=https://u.example/\nMethod=POST\nHost=\x93\xfa\x96\x7b\nBody=ip=%IP% \"%HOST%\"",
       "POST https://u.example/\n\nip=2001:db8::1 \"日本\""},
  };
  for (const auto& [keys, wire] : cases) EXPECT_EQ(WireOf("Kind=url\n" + keys, facts), wire);
}

// Whatever a secret holds and wherever it goes, the log's URL shows none of its forms.
TEST(UpdateRequest, LoggedUrlNeverHoldsTheSecret) {
  const struct {
    const char* secret;
    std::vector<std::string> forms;  // as it is, and as a URL may carry it
  } secrets[] = {
      {"t:k,1/2?&=", {"t:k,1/2?&=", "t:k,1%2F2%3F%26%3D", "t%3Ak%2C1%2F2%3F%26%3D"}},
      {"https://hook.example/a/b",
       {"/a/b", "https:%2F%2Fhook.example%2Fa%2Fb", "https%3A%2F%2Fhook.example%2Fa%2Fb"}},
  };
  int built = 0;
  for (const auto& [secret, forms] : secrets) {
    const UpdateFacts facts{.Ip = "203.0.113.9", .Secret = secret};
    for (const char* keys :
         {"Kind=duckdns\nHost=h", "Kind=url\nUrl=https://u.example/%SECRET%/?a=%SECRET%",
          "Kind=url\nUrl=https://u.example/?k=t%3Ak%2C1%2F2%3F%26%3D", "Kind=discord"}) {
      UpdateRequest r;
      if (BuildUpdateRequest(TargetOf(keys), facts, &r) != TargetProblem::kNone) continue;
      ++built;
      for (const std::string& form : forms) {
        EXPECT_EQ(r.LoggedUrl.find(form), std::string::npos) << keys << " " << r.LoggedUrl;
      }
    }
  }
  EXPECT_EQ(built, 7);  // a webhook's URL must be one; the others take any secret
}

}  // namespace
}  // namespace lvn
