// The help pages beside the program, one per interface language, stay true to it: every key
// the program reads from lvn.ini is explained there, and each page is self-contained.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "settings/lookup_settings.h"
#include "settings/notify_settings.h"
#include "settings/settings.h"
#include "settings/update_targets.h"

namespace lvn {
namespace {

std::string HelpPage(const char* name) {
  std::ifstream file(std::string(LVN_SOURCE_DIR) + "/help/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

TEST(HelpPage, ExplainsEverySettingAndStandsAlone) {
  for (const char* name : {"index.htm", "index.en.html"}) {
    SCOPED_TRACE(name);
    const std::string page = HelpPage(name);
    ASSERT_FALSE(page.empty());
    for (const char* key : {kKeyInterval, kKeyLookupUrl, kKeyLastIp, kKeyLastChange,
                            kKeyPrimaryKey, kKeyViewCheckStart, kKeyViewConnectError,
                            kKeyViewOff, kKeyNotifyChange, kKeyNotifyOutage, kKeyCommand,
                            kKeyCommandTimeout, kKeyFallbackUrl, kKeyCheckOnNetworkChange,
                            kKeyConfirmChange, kKeyLanguage, kKeyTargetKind, kKeyTargetUrl,
                            kKeyTargetHost, kKeyTargetUser, kKeyTargetSecret,
                            kKeyTargetSecretProtected, kKeyTargetOn, kKeyTargetMethod,
                            kKeyTargetBody, kKeyTargetEnabled, kKeyTargetSent,
                            kKeyTargetStopped}) {
      EXPECT_NE(page.find("<tr><td><code>" + std::string(key) + "</code></td>"),
                std::string::npos)
          << key << " has no row in the table of lvn.ini";
    }
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* outside : {"<script", "src=", "<link", "href=\"http", "@import", "url("}) {
      EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
  }
}

}  // namespace
}  // namespace lvn
