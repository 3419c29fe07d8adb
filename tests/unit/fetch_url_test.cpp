#include "lookup/fetch_url.h"

#include <gtest/gtest.h>

namespace lvn {
namespace {

TEST(FetchUrl, TakesThePortOffTheHostAndTheSchemeDecidesTls) {
  const struct {
    const char* url;
    bool secure;
    const char* host;
    int port;
    const char* site;
    const char* object;
  } cases[] = {
      {"http://h/lvn.php", false, "h", 80, "http://h/", "lvn.php"},
      {"https://h/lvn.php", true, "h", 443, "https://h/", "lvn.php"},
      {"HTTPS://h:8443/dir/x?q=1", true, "h", 8443, "HTTPS://h:8443/", "dir/x?q=1"},
      {"https://h:80", true, "h", 80, "https://h:80/", ""},
      {"http://h:1?q", false, "h", 1, "http://h:1/", "?q"},
      {"http://h:065535/", false, "h", 65535, "http://h:065535/", ""},
      {"http://[::1]:8080/x", false, "[::1]", 8080, "http://[::1]:8080/", "x"},
      {"https://[2001:db8::1]/x", true, "[2001:db8::1]", 443, "https://[2001:db8::1]/", "x"},
      // Not https: plain HTTP, as every such URL always was.
      {"ftp://h/x", false, "h", 80, "ftp://h/", "x"},
      {"httpsx://h/x", false, "h", 80, "httpsx://h/", "x"},
  };
  for (const auto& c : cases) {
    FetchTarget target;
    ASSERT_TRUE(ParseFetchUrl(c.url, &target)) << c.url;
    EXPECT_EQ(target.Secure, c.secure) << c.url;
    EXPECT_STREQ(target.Host, c.host) << c.url;
    EXPECT_EQ(target.Port, c.port) << c.url;
    EXPECT_STREQ(target.Site, c.site) << c.url;
    EXPECT_STREQ(target.ObjectName, c.object) << c.url;
  }
}

TEST(FetchUrl, RefusesAMissingHostOrABadPortAndLeavesTheTargetAlone) {
  for (const char* url : {"127.0.0.2/ok", "http://:8080/", "http://h:/", "http://h:0/",
                          "http://h:65536/", "http://h:99999999999999999999/", "http://h:+80/",
                          "http://h:8a/", "http://h: 80/", "http://h:80:81/", "http://::1/",
                          "http://[::1/", "http://[::1]80/", "http://[::1]:/"}) {
    FetchTarget target;
    target.Port = 7;
    EXPECT_FALSE(ParseFetchUrl(url, &target)) << url;
    EXPECT_EQ(target.Port, 7) << url;
  }
}

TEST(FetchUrl, ARedirectNeverLeavesTls) {
  FetchTarget plain, secure;
  secure.Secure = true;
  EXPECT_TRUE(IsRedirectAllowed(plain, plain));
  EXPECT_TRUE(IsRedirectAllowed(plain, secure));
  EXPECT_TRUE(IsRedirectAllowed(secure, secure));
  EXPECT_FALSE(IsRedirectAllowed(secure, plain));
}

}  // namespace
}  // namespace lvn
