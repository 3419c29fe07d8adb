#include "lookup/lookup_answer.h"
#include "lookup/redirect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lvn {
namespace {

using namespace std::string_literals;

TEST(LookupAnswer, SlowSendLimitSurvivesClockWrap) {
  const struct {
    std::uint32_t before, after;
    bool too_long;
    std::uint32_t left;
  } cases[] = {
      {1000, 1000, false, 5000},
      {1000, 6000, false, 0},  // exactly the limit still counts as in time, with none left
      {1000, 6001, true, 0},
      {0xFFFFF000u, 0x00000100u, false, 648},  // wrapped: 4352 ms
      {0xFFFFF000u, 0x00000389u, true, 0},     // wrapped: 5001 ms
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendTookTooLong(c.before, c.after), c.too_long) << c.after;
    EXPECT_EQ(TimeLeftMs(c.before, c.after), c.left) << c.after;
  }
}

TEST(LookupAnswer, OnlyA2xxStatusIsAnAnswer) {
  for (std::uint32_t status : {0u, 100u, 199u, 300u, 304u, 404u, 500u}) {
    EXPECT_FALSE(IsSuccessStatus(status)) << status;
  }
  for (std::uint32_t status : {200u, 204u, 299u}) EXPECT_TRUE(IsSuccessStatus(status)) << status;
}

TEST(LookupAnswer, AnswerTextStopsAtZeroAndCapacity) {
  const struct {
    std::string block;
    std::size_t n;
    std::string text;
    FetchResult fetch;
  } cases[] = {
      {"[198.51.100.7]", 500, "[198.51.100.7]", FetchResult::kOk},
      {"[1.2.3.4]", 500, "[1.2.3.4]", FetchResult::kFailed},
      {"[1.2.3.45]", 500, "[1.2.3.45]", FetchResult::kOk},
      {"1.2.3.4\n", 500, "1.2.3.4\n", FetchResult::kOk},  // a bare address may be short
      {"[1.2.\0.3.4.5.6.7]"s, 500, "[1.2.", FetchResult::kFailed},
      {std::string(1000, 'x'), 500, std::string(499, 'x'), FetchResult::kOk},
      {"", 500, "", FetchResult::kFailed},
  };
  for (const auto& c : cases) {
    char dest[600];
    std::memset(dest, '#', sizeof dest);
    AnswerText(dest, c.block.data(), c.block.size(), c.n);
    EXPECT_EQ(dest, c.text);
    EXPECT_EQ(FetchResultForAnswer(dest), c.fetch) << c.text;
    EXPECT_EQ(dest[c.n], '#') << "wrote past the capacity";
  }
  char dest[4] = "old";
  EXPECT_STREQ(AnswerText(dest, nullptr, 0, sizeof dest), "");
}

TEST(LookupAnswer, TheAddressIsWhatStandsBetweenTheFirstMarkers) {
  const struct {
    FetchResult fetch;
    const char* answer;
    const char* result;
  } cases[] = {
      {FetchResult::kOk, "[198.51.100.7]", "198.51.100.7"},
      {FetchResult::kOk, "IP=[203.0.113.9] ok", "203.0.113.9"},
      {FetchResult::kOk, "[2001:db8:85a3:1234:5678:8a2e:370:7334]", "2001:db8:85a3:1234:5678:8a2e:370:7334"},
      {FetchResult::kOk, "[0000:0000:0000:0000:0000:ffff:255.255.255.255]",
       "0000:0000:0000:0000:0000:ffff:255.255.255.255"},
      {FetchResult::kOk, "[0000:0000:0000:0000:0000:ffff:255.255.255.255x]",
       "0000:0000:0000:0000:0000:ffff:255.255.255.255"},
      {FetchResult::kOk, "[ 198.51.100.7\t]", "198.51.100.7"},
      {FetchResult::kOk, "[\x01\r\n198.51.100.7 x \x1f]", "198.51.100.7 x"},
      {FetchResult::kOk, "[   ]        ", ""},
      // A double-byte character across the cut goes whole.
      {FetchResult::kOk, "[0123456789012345678901234567890123456789abcd\x83\x41]",
       "0123456789012345678901234567890123456789abcd"},
      {FetchResult::kOk, "x]y[203.0.113.9]", ""},
      // Without markers, only a bare address is an answer: a captive portal's page is none.
      {FetchResult::kOk, "203.0.113.9\n", "203.0.113.9"},
      {FetchResult::kOk, " 2001:db8::1\r\n", "2001:db8::1"},
      {FetchResult::kOk, "no markers at all", nullptr},
      {FetchResult::kOk, "<html><title>Sign in to Wi-Fi</title></html>", nullptr},
      {FetchResult::kOk, "203.0.113.9 is your address", nullptr},
      {FetchResult::kOk, "only [ an opener", nullptr},
      {FetchResult::kOk, "[]          ", ""},
      // A page that reports its own failure between the markers.
      {FetchResult::kOk, "[ error: rate limited]", nullptr},
      {FetchResult::kFailed, "[1.2.3.4]", nullptr},
      {FetchResult::kNoSession, "", nullptr},
  };
  for (const auto& c : cases) {
    const LookupResult result = LookupResultOf(c.fetch, c.answer);
    EXPECT_EQ(result.Status, c.result != nullptr ? LookupStatus::kAnswered : LookupStatus::kFailed)
        << c.answer;
    EXPECT_STREQ(result.Address, c.result != nullptr ? c.result : "") << c.answer;
  }
}

TEST(Redirect, LocationIsResolvedAgainstTheCurrentUrl) {
  const struct {
    const char* url;
    const char* location;
    const char* next;  // null: no redirect to follow
  } cases[] = {
      {"http://a.example/x/lvn.php", "http://b.example/y", "http://b.example/y"},
      {"http://a.example/x/lvn.php", "HTTPS://b.example/y#top", "HTTPS://b.example/y"},
      {"https://a.example/x/lvn.php", "//b.example/y", "https://b.example/y"},
      {"http://a.example/x/lvn.php?q=/z", "/y?r", "http://a.example/y?r"},
      {"http://a.example/x/lvn.php?q=/z", " next.php\t", "http://a.example/x/next.php"},
      {"http://a.example/lvn.php", "?again", "http://a.example/lvn.php?again"},
      {"http://h/dir/page.php", "?x=1", "http://h/dir/page.php?x=1"},
      // A host without a path is the host's root.
      {"http://h/dir/page.php", "http://h2", "http://h2/"},
      {"http://h/dir/page.php", "Http://h2?x=1#f", "Http://h2/?x=1"},
      {"http://h/dir/page.php", "//h2", "http://h2/"},
      {"http://a.example", "/y", "http://a.example/y"},
      {"http://h2", "?x", "http://h2/?x"},
      {"http://h2", "y", "http://h2/y"},
      {"http://h2?q", "../y", "http://h2/y"},
      {"http://h/a/b", "http://h2/p/../q/./r", "http://h2/q/r"},
      // RFC 3986 section 5.4, the examples a fetch can follow.
      {"http://a/b/c/d;p?q", "g", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "./g", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "g/", "http://a/b/c/g/"},
      {"http://a/b/c/d;p?q", "/g", "http://a/g"},
      {"http://a/b/c/d;p?q", "//g", "http://g/"},
      {"http://a/b/c/d;p?q", "?y", "http://a/b/c/d;p?y"},
      {"http://a/b/c/d;p?q", "g?y", "http://a/b/c/g?y"},
      {"http://a/b/c/d;p?q", "g#s", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "g?y#s", "http://a/b/c/g?y"},
      {"http://a/b/c/d;p?q", ";x", "http://a/b/c/;x"},
      {"http://a/b/c/d;p?q", "g;x?y#s", "http://a/b/c/g;x?y"},
      {"http://a/b/c/d;p?q", ".", "http://a/b/c/"},
      {"http://a/b/c/d;p?q", "./", "http://a/b/c/"},
      {"http://a/b/c/d;p?q", "..", "http://a/b/"},
      {"http://a/b/c/d;p?q", "../", "http://a/b/"},
      {"http://a/b/c/d;p?q", "../g", "http://a/b/g"},
      {"http://a/b/c/d;p?q", "../..", "http://a/"},
      {"http://a/b/c/d;p?q", "../../g", "http://a/g"},
      {"http://a/b/c/d;p?q", "../../../../g", "http://a/g"},
      {"http://a/b/c/d;p?q", "/./g", "http://a/g"},
      {"http://a/b/c/d;p?q", "/../g", "http://a/g"},
      {"http://a/b/c/d;p?q", "g.", "http://a/b/c/g."},
      {"http://a/b/c/d;p?q", ".g", "http://a/b/c/.g"},
      {"http://a/b/c/d;p?q", "g..", "http://a/b/c/g.."},
      {"http://a/b/c/d;p?q", "..g", "http://a/b/c/..g"},
      {"http://a/b/c/d;p?q", "./../g", "http://a/b/g"},
      {"http://a/b/c/d;p?q", "./g/.", "http://a/b/c/g/"},
      {"http://a/b/c/d;p?q", "g/./h", "http://a/b/c/g/h"},
      {"http://a/b/c/d;p?q", "g/../h", "http://a/b/c/h"},
      {"http://a/b/c/d;p?q", "g;x=1/./y", "http://a/b/c/g;x=1/y"},
      {"http://a/b/c/d;p?q", "g;x=1/../y", "http://a/b/c/y"},
      {"http://a/b/c/d;p?q", "g?y/./x", "http://a/b/c/g?y/./x"},
      {"http://a/b/c/d;p?q", "g#s/../x", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "g:h", nullptr},     // another scheme
      {"http://a/b/c/d;p?q", "http:g", nullptr},  // no host
      {"http://a/b/c/d;p?q", "", nullptr},
      {"http://a/b/c/d;p?q", "#s", nullptr},
      {"http://a.example/x/lvn.php", "http://", nullptr},
      {"http://a.example/x/lvn.php", "//", nullptr},
      {"host/path", "y", nullptr},  // nothing to resolve against
  };
  for (const auto& c : cases) {
    char next[64] = "untouched";
    EXPECT_EQ(RedirectUrl(next, c.url, c.location, sizeof next), c.next != nullptr) << c.location;
    EXPECT_STREQ(next, c.next != nullptr ? c.next : "untouched") << c.location;
  }
  char small[20] = "untouched";
  EXPECT_FALSE(RedirectUrl(small, "http://a.example/", "http://b.example/abc", sizeof small))
      << "a URL that does not fit is not cut";
  EXPECT_FALSE(IsRedirectStatus(200));
  EXPECT_FALSE(IsRedirectStatus(304));
  EXPECT_TRUE(IsRedirectStatus(308));
}

}  // namespace
}  // namespace lvn
