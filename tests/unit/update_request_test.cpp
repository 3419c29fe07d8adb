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

UpdateRequest RequestOf(const std::string& keys, const UpdateFacts& facts) {
  UpdateRequest request;
  EXPECT_EQ(BuildUpdateRequest(TargetOf(keys), facts, &request), TargetProblem::kNone) << keys;
  return request;
}

TEST(UpdateRequest, EachKindAsItsServiceExpects) {
  const UpdateFacts v4{.Ip = "203.0.113.9", .OldIp = "198.51.100.1", .Title = "IP changed",
                       .Text = "a \"b\"\r\n"};
  const UpdateFacts v6{.Ip = "2001:db8::1", .Title = "アドレス", .Text = "x", .Secret = "tk"};
  using H = std::vector<HttpHeader>;
  const struct {
    std::string keys;
    UpdateFacts facts;
    HttpMethod method;
    std::string url;
    H headers;
    std::string body;
    std::string logged;
  } cases[] = {
      {"Kind=dyndns2\nUrl=https://d.example/nic/update\nHost=a.example,b.example\nUser=me\n"
       "Secret=pa:ss",
       v4, HttpMethod::kGet,
       "https://d.example/nic/update?hostname=a.example,b.example&myip=203.0.113.9",
       H{{"Authorization", "Basic bWU6cGE6c3M="}}, "",
       "https://d.example/nic/update?hostname=a.example,b.example&myip=203.0.113.9"},
      {"Kind=duckdns\nHost=mine\nSecret=t&k", v4, HttpMethod::kGet,
       "https://www.duckdns.org/update?domains=mine&token=t%26k&ip=203.0.113.9", H{}, "",
       "https://www.duckdns.org/update?domains=mine&token=***&ip=203.0.113.9"},
      {"Kind=duckdns\nUrl=https://dd.example/u?verbose=true\nHost=mine\nSecret=x", v6,
       HttpMethod::kGet, "https://dd.example/u?verbose=true&domains=mine&token=tk&ipv6=2001:db8::1",
       H{}, "", "https://dd.example/u?verbose=true&domains=mine&token=***&ipv6=2001:db8::1"},
      {"Kind=dynv6\nHost=h.dynv6.net\nSecret=tk", v4, HttpMethod::kGet,
       "https://dynv6.com/api/update?hostname=h.dynv6.net&token=tk&ipv4=203.0.113.9", H{}, "",
       "https://dynv6.com/api/update?hostname=h.dynv6.net&token=***&ipv4=203.0.113.9"},
      {"Kind=dynv6\nHost=h.dynv6.net\nSecretProtected=AAAA", v6, HttpMethod::kGet,
       "https://dynv6.com/api/update?hostname=h.dynv6.net&token=tk&ipv6=2001:db8::1", H{}, "",
       "https://dynv6.com/api/update?hostname=h.dynv6.net&token=***&ipv6=2001:db8::1"},
      {"Kind=ntfy\nUrl=https://ntfy.example/topic", v4, HttpMethod::kPost,
       "https://ntfy.example/topic", H{{"Title", "IP changed"}}, "a \"b\"\r\n",
       "https://ntfy.example/topic"},
      {"Kind=ntfy\nUrl=https://ntfy.example/topic", v6, HttpMethod::kPost,
       "https://ntfy.example/topic",
       H{{"Title", "=?UTF-8?B?44Ki44OJ44Os44K5?="}, {"Authorization", "Bearer tk"}}, "x",
       "https://ntfy.example/topic"},
      {"Kind=discord\nSecret=https://discord.example/api/webhooks/1/zz", v4, HttpMethod::kPost,
       "https://discord.example/api/webhooks/1/zz", H{{"Content-Type", "application/json"}},
       "{\"content\":\"IP changed\\u000aa \\\"b\\\"\\u000d\\u000a\"}",
       "https://discord.example/***"},
      {"Kind=slack\nSecretProtected=AAAA", {.Title = "T", .Secret = "https://hooks.example?x"},
       HttpMethod::kPost, "https://hooks.example?x", H{{"Content-Type", "application/json"}},
       "{\"text\":\"T\"}", "https://hooks.example/***"},
  };
  for (const auto& c : cases) {
    const UpdateRequest r = RequestOf(c.keys, c.facts);
    EXPECT_EQ(r.Method, c.method) << c.keys;
    EXPECT_EQ(r.Url, c.url) << c.keys;
    EXPECT_EQ(r.Headers, c.headers) << c.keys;
    EXPECT_EQ(r.Body, c.body) << c.keys;
    EXPECT_EQ(r.LoggedUrl, c.logged) << c.keys;
    EXPECT_TRUE(r.CarriesSecret || c.keys.find("Kind=ntfy") != std::string::npos) << c.keys;
  }
  // A secret known only in protected form cannot be sent; the request is left alone.
  UpdateRequest untouched{.Url = "u"};
  EXPECT_EQ(BuildUpdateRequest(TargetOf("Kind=duckdns\nHost=h\nSecretProtected=AAAA"), v4,
                               &untouched),
            TargetProblem::kNoSecret);
  EXPECT_EQ(untouched.Url, "u");
}

TEST(UpdateRequest, UrlTemplatesEscapeForWhereTheValueGoes) {
  const UpdateFacts facts{.Event = TargetEvent::kRecovery, .Ip = "2001:db8::1",
                          .OldIp = "", .Secret = "s/\"k"};
  const struct {
    std::string keys;
    std::string url;
    std::string body;
    bool json;
  } cases[] = {
      {"Url=https://u.example/%ip%/%OLDIP%?h=%HOST%&e=%Event%&k=%SECRET%&x=%20%IP%%%\n"
       "Host=a b&c\nBody={\"ip\":\"%IP%\"}",  // a GET sends no body
       "https://u.example/2001%3Adb8%3A%3A1/?h=a%20b%26c&e=recovery&k=s%2F%22k"
       "&x=%202001%3Adb8%3A%3A1%%",
       "", false},
      {"Url=https://u.example/\nMethod=post\nHost=\x93\xfa\x96\x7b\n"
       "Body={\"host\":\"%HOST%\",\"key\":\"%SECRET%\",\"event\":\"%EVENT%\"}",
       "https://u.example/", "{\"host\":\"日本\",\"key\":\"s/\\\"k\",\"event\":\"recovery\"}",
       true},
      {"Url=https://u.example/\nMethod=POST\nHost=\x93\xfa\x96\x7b\n"
       "Body=ip=%IP% \"%HOST%\" %SECRET%",
       "https://u.example/", "ip=2001:db8::1 \"日本\" s/\"k", false},
  };
  for (const auto& c : cases) {
    const UpdateRequest r = RequestOf("Kind=url\n" + c.keys, facts);
    EXPECT_EQ(r.Url, c.url) << c.keys;
    EXPECT_EQ(r.Body, c.body) << c.keys;
    EXPECT_EQ(r.Headers.size(), c.json ? 1u : 0u) << c.keys;
  }
}

// Whatever a secret holds and wherever it goes, the log's URL shows none of its forms.
TEST(UpdateRequest, LoggedUrlNeverHoldsTheSecret) {
  const struct {
    const char* secret;
    std::vector<std::string> forms;  // as it is, and as a URL may carry it
  } secrets[] = {
      {"plain-token", {"plain-token"}},
      {"t:k,1/2?&=", {"t:k,1/2?&=", "t:k,1%2F2%3F%26%3D", "t%3Ak%2C1%2F2%3F%26%3D"}},
      {"ひみつ", {"ひみつ", "%E3%81%B2%E3%81%BF%E3%81%A4"}},
      {"https://hook.example/a/b",
       {"/a/b", "https:%2F%2Fhook.example%2Fa%2Fb", "https%3A%2F%2Fhook.example%2Fa%2Fb"}},
  };
  int built = 0;
  for (const auto& [secret, forms] : secrets) {
    const UpdateFacts facts{.Ip = "203.0.113.9", .Title = "t", .Secret = secret};
    for (const char* keys :
         {"Kind=dyndns2\nUrl=https://d.example/\nHost=h\nUser=u", "Kind=duckdns\nHost=h",
          "Kind=dynv6\nHost=h", "Kind=ntfy\nUrl=https://n.example/t",
          "Kind=url\nUrl=https://u.example/%SECRET%/?a=%SECRET%",
          "Kind=url\nUrl=https://u.example/?k=plain-token", "Kind=discord", "Kind=slack"}) {
      UpdateRequest r;
      if (BuildUpdateRequest(TargetOf(keys), facts, &r) != TargetProblem::kNone) continue;
      ++built;
      EXPECT_TRUE(r.CarriesSecret) << keys;
      for (const std::string& form : forms) {
        EXPECT_EQ(r.LoggedUrl.find(form), std::string::npos) << keys << " " << r.LoggedUrl;
      }
    }
  }
  EXPECT_EQ(built, 26);  // a webhook's URL must be one; the others take any secret
}

}  // namespace
}  // namespace lvn
