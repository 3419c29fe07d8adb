// The check of a lookup URL the user types on the options window's 接続 page.
#include <gtest/gtest.h>

#include <string>

#include "settings/lookup_settings.h"

namespace lvn {
namespace {

using namespace std::string_literals;

TEST(LookupUrlCheck, TellsTheFirstProblem) {
  const std::string longest = "http://h/" + std::string(290, 'p');  // 299 bytes
  const struct {
    std::string url;
    UrlProblem problem;
  } cases[] = {
      {"https://www.ombrix.example/lvn.php", UrlProblem::kNone},
      {"HTTP://Host-1.example./dir/lvn.php?a=1#f", UrlProblem::kNone},
      {"http://203.0.113.5", UrlProblem::kNone},
      {"http://h?x=/y", UrlProblem::kNone},
      {"http://h:1/", UrlProblem::kNone},
      {"http://h:65535", UrlProblem::kNone},
      {"http://[2001:db8::1]:8080/x", UrlProblem::kNone},
      {"http://[::ffff:192.0.2.1]", UrlProblem::kNone},
      {longest, UrlProblem::kNone},
      {"", UrlProblem::kEmpty},
      {longest + "p", UrlProblem::kTooLong},
      {"http://h/a b", UrlProblem::kBlank},
      {" http://h/", UrlProblem::kBlank},
      {"http://h/\t", UrlProblem::kBlank},
      {"http://h/\x7F", UrlProblem::kBlank},
      {"http://h/\0"s, UrlProblem::kBlank},
      {"http://h/\x83\x5C", UrlProblem::kNotAscii},
      {"http://h/\x81\x40", UrlProblem::kNotAscii},  // a double-byte space
      {"ftp://h/", UrlProblem::kNotHttp},
      {"http:/h/", UrlProblem::kNotHttp},
      {"www.ombrix.example/lvn.php", UrlProblem::kNotHttp},
      {"httpx://h/", UrlProblem::kNotHttp},
      {"http://", UrlProblem::kNoHost},
      {"https:///lvn.php", UrlProblem::kNoHost},
      {"http://?q", UrlProblem::kNoHost},
      {"http://:80/", UrlProblem::kNoHost},
      {"http://user:pw@h/", UrlProblem::kBadHost},
      {"http://a..b/", UrlProblem::kBadHost},
      {"http://.a/", UrlProblem::kBadHost},
      {"http://-a.example/", UrlProblem::kBadHost},
      {"http://a-.example/", UrlProblem::kBadHost},
      {"http://a_b/", UrlProblem::kBadHost},
      {"http://h\\x/", UrlProblem::kBadHost},
      {"http://" + std::string(64, 'a') + ".example/", UrlProblem::kBadHost},
      {"http://[2001:db8::1/", UrlProblem::kBadHost},
      {"http://[2001:db8::g]/", UrlProblem::kBadHost},
      {"http://[]/", UrlProblem::kBadHost},
      {"http://[::1]x/", UrlProblem::kBadHost},
      {"http://h:0/", UrlProblem::kBadPort},
      {"http://h:65536/", UrlProblem::kBadPort},
      {"http://h:/", UrlProblem::kBadPort},
      {"http://h:8o/", UrlProblem::kBadPort},
      {"http://h:-1/", UrlProblem::kBadPort},
      {"http://[::1]:99999/", UrlProblem::kBadPort},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LookupUrlProblem(c.url), c.problem) << c.url;
    EXPECT_EQ(FallbackUrlProblem(c.url), c.url.empty() ? UrlProblem::kNone : c.problem) << c.url;
  }
}

}  // namespace
}  // namespace lvn
