// The [TargetN] sections: what makes a target unusable, and what a save does to the file.
#include "settings/update_targets.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/app_settings.h"

namespace lvn {
namespace {

IniFile Loaded(std::string_view content) {
  IniFile ini;
  ini.Load(content);
  return ini;
}

TEST(UpdateTargets, TellTheFirstProblem) {
  using enum TargetProblem;
  const std::string dyn = "Kind=dyndns2\nUrl=https://d.example/nic/update\nHost=h\n";
  const struct {
    std::string section;
    TargetProblem problem;
    std::string_view secret = {};
  } cases[] = {
      {dyn + "User=u\nSecret=s", kNone}, {"Kind=dyndns3\nUrl=https://d.example/", kUnknownKind},
      {"Kind=dyndns2\nHost=h\nUser=u\nSecret=s", kNoUrl},
      {"Kind=dyndns2\nUrl=ftp://d.example/\nHost=h", kBadUrl},
      {"Kind=dyndns2\nUrl=https://d.example/\nHost= ", kNoHost}, {dyn + "Secret=s", kNoUser},
      {"Kind=DynDNS2\nUrl=HTTP://d/\nHost=h\nUser=u\nSecretProtected=AA", kSecretOverHttp},
      {"Kind=duckdns\nUrl=\nHost=h\nSecretProtected=AAAA", kNone},  // the default URL
      {"Kind=url\nUrl=http://u.example/?ip=%IP%", kNone},
      {"Kind=url\nUrl=http://u.example/?ip=%IP%", kSecretOverHttp, "tk"},
      {"Kind=slack", kNoSecret}, {"Kind=slack\nSecretProtected=AAAA", kNone},
      {"Kind=slack\nSecretProtected=AAAA", kBadUrl, "hooks.example/x"},
      {"Kind=discord\nSecret=http://w.example/api/webhooks/1/x", kSecretOverHttp},
  };
  for (const auto& c : cases) {
    const UpdateTargets targets = ReadUpdateTargets(Loaded("[Target2]\n" + c.section));
    EXPECT_EQ(TargetProblemOf(*targets[1], c.secret), c.problem) << c.section;
  }
}

// A whole save writes only what differs from what the file reads: spelling, order and keys
// of its own stay; an unusable target stays as written, but for its secret.
TEST(UpdateTargets, WholeSaveKeepsTheFileAndDropsThePlainSecret) {
  const struct {
    std::string before;
    void (*edit)(UpdateTargets&);
    std::string after;
  } cases[] = {
      {"[target1]\r\nkind = DuckDNS\r\nhost=h\r\nsecretprotected=AAAA\r\non=Change, outage\r\n"
       "method=post\r\nNote=mine\r\n",
       [](UpdateTargets&) {},
       "[target1]\r\nkind=DuckDNS\r\nhost=h\r\nsecretprotected=AAAA\r\non=Change, outage\r\n"
       "method=post\r\nNote=mine\r\n\r\n"},
      {"[Target1]\r\nKind=dyndns2\r\nUrl=https://d.example/\r\nHost=h\r\nUser=u\r\nSecret=pw\r\n"
       "Sent=1.1.1.1\r\n",
       [](UpdateTargets& t) {
         t[0]->SecretProtected = "QUJD";  // as protecting it at start does
         t[0]->Secret.clear();
         t[0]->Sent = "8.8.8.8";
       },
       "[Target1]\r\nKind=dyndns2\r\nUrl=https://d.example/\r\nHost=h\r\nUser=u\r\n"
       "Sent=8.8.8.8\r\nSecretProtected=QUJD\r\n\r\n"},
      {"[Target3]\r\nKind=carrier-pigeon\r\nSecret=pw\r\nOn=always\r\n",
       [](UpdateTargets& t) {
         t[2]->SecretProtected = "QUJD";
         t[2]->Secret.clear();
       },
       "[Target3]\r\nKind=carrier-pigeon\r\nOn=always\r\nSecretProtected=QUJD\r\n\r\n"},
      {"[Target2]\r\nKind=ntfy\r\n[Value]\r\n",
       [](UpdateTargets& t) {
         t[1].reset();
         t[7] = {.Kind = TargetKind::kDuckdns, .Url = kDefaultDuckdnsUrl, .Host = "h",
                 .SecretProtected = "QUJD", .On = {false, true, true}, .Enabled = false};
       },
       "[Value]\r\n\r\n[Target8]\r\nKind=duckdns\r\nHost=h\r\nSecretProtected=QUJD\r\n"
       "On=outage,recovery\r\nEnabled=0\r\n\r\n"},
  };
  for (const auto& c : cases) {
    IniFile ini = Loaded(c.before);
    UpdateTargets targets = ReadUpdateTargets(ini);
    c.edit(targets);
    WriteUpdateTargets(ini, targets);
    EXPECT_EQ(ini.Serialize(), c.after) << c.before;
    EXPECT_EQ(ReadUpdateTargets(ini), targets) << c.after;
  }
}

// The options' edits, Sent= and a protected secret reach the file at once.
TEST(UpdateTargets, RunningSaveWritesWhatChangedInTheTargets) {
  IniFile ini = Loaded("[Value]\r\nIpUrl=http://a/\r\n[Target1]\r\nKind=duckdns\r\nHost=h\r\n"
                       "Secret=tk\r\n[Target2]\r\nKind=ntfy\r\nUrl=https://n.example/t\r\n");
  const AppSettings saved = ReadAppSettings(ini);
  AppSettings now = saved;
  now.Targets[0]->SecretProtected = "QUJD";
  now.Targets[0]->Sent = "2001:4860::8888";
  now.Targets[1]->Host = "h2";
  EXPECT_TRUE(WriteAppSettings(ini, saved, now, SaveScope::kChanges));
  EXPECT_EQ(ini.Serialize(),
            "[Value]\r\nIpUrl=http://a/\r\n\r\n[Target1]\r\nKind=duckdns\r\nHost=h\r\n"
            "SecretProtected=QUJD\r\nSent=2001:4860::8888\r\n\r\n"
            "[Target2]\r\nKind=ntfy\r\nUrl=https://n.example/t\r\nHost=h2\r\n\r\n");
}

}  // namespace
}  // namespace lvn
