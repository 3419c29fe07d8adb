#include "util/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

namespace lvn {
namespace {

#define OP(...) [&](char* d, std::size_t n) { __VA_ARGS__; }

// before is stored without its terminator when it is n bytes long. Bytes from n on
// start as sentinels and must stay untouched; with n == 0 nothing may be written at all.
TEST(Text, BoundedWrites) {
  const std::string x(100, 'x'), a(20, 'a'), s30 = "<" + std::string(30, 's') + ">";
  const std::string long_rest = "h/" + std::string(310, 'r');
  const char* p = x.c_str();
  const struct { std::string before; std::size_t n; std::function<void(char*, std::size_t)> op;
                 std::string after; } cases[] = {
      {"", 10, OP(CopyText(d, "abcdefghijkl", n)), "abcdefghi"},
      {a.substr(6), 20, OP(AppendText(d, "12345", n)), a.substr(6) + "1234"},
      {a.substr(1), 20, OP(AppendText(d, "12345", n)), a.substr(1)},
      {a, 20, OP(AppendText(d, "12345", n)), a.substr(1)},
      {"abc", 20, OP(AppendText(d, d, n)), "abcabc"},
      {"old", 300, OP(JoinTexts(d, p, p, p, n)), x + x + x.substr(1)},
      {"ab", 20, OP(JoinTexts(d, "x", d, d, n)), "xabab"},
      {"", 8, OP(JoinTexts(d, "a", nullptr, "b", "c", "d", "e", "fgh", n)), "abcdefg"},
      {"", 20, OP(MidText(d, "abcdef", 0, 3, n)), ""},
      {"", 20, OP(MidText(d, "abcdef", 7, 3, n)), ""},
      {"", 20, OP(MidText(d, "abcdef", 6, 3, n)), "f"},
      {"", 20, OP(MidText(d, "abcdef", INT_MAX, 5, n)), ""},
      {"", 4, OP(MidText(d, "abcdef", 2, 10, n)), "bcd"},
      {"abcdef", 20, OP(MidText(d, d, 2, 4, n)), "bcde"},
      {"", 25, OP(TextBetween(d, s30.c_str(), "<", ">", n)), s30.substr(1, 24)},
      {"", 20, OP(TextBetween(d, "a[]b", "[", "]", n)), ""},
      {"", 20, OP(TextBetween(d, "]x[y]", "[", "]", n)), ""},
      {"", 20, OP(TextBetween(d, "x]", "[", "]", n)), ""},
      {"", 20, OP(TextBetween(d, "ab]", "", "]", n)), "ab"},    // empty marker found at 1
      {"", 20, OP(TextBetween(d, "\x81[x]", "[", "]", n)), "x"},  // search ignores characters
      {"", 5, OP(UrlHost(d, "https://longhost/x", n)), "long"},
      {"", 10, OP(UrlSite(d, "http://h2", n)), "http://h2"},
      {"", 11, OP(UrlSite(d, "http://h2?x", n)), "http://h2/"},
      {"", 310, OP(UrlRest(d, long_rest.c_str(), "h/", n)), std::string(309, 'r')},
      {"#", 0, OP(JoinTexts(d, d, n); MidText(d, "x", 1, 1, n)), ""},
  };
  for (const auto& c : cases) {
    char buf[320];
    std::fill(std::begin(buf), std::end(buf), '#');
    std::copy_n(c.before.c_str(), c.before.size() + (c.before.size() < c.n), buf);
    c.op(buf, c.n);
    EXPECT_EQ(std::string(buf + c.n, std::end(buf)), std::string(sizeof buf - c.n, '#')) << c.after;
    const std::string text(buf, std::find(buf, std::end(buf), '\0'));
    EXPECT_TRUE(c.n == 0 || text == c.after) << text << " instead of " << c.after;
  }
  char big[16];
  EXPECT_STREQ(CopyText(big, "abcdefghijkl", 0), "abcdefghijkl");
}

TEST(Text, UrlParts) {
  const struct { const char *url, *host, *site, *rest; } cases[] = {
      {"https://host/dir/lvn.php?a=1", "host", "https://host/", "dir/lvn.php?a=1"},
      // A host that no path follows: its root.
      {"http://h2", "h2", "http://h2/", ""},
      {"http://h2?x=/y#f", "h2", "http://h2/", "?x=/y#f"},
      {"http://h2#f", "h2", "http://h2/", "#f"},
      {"http://h2/", "h2", "http://h2/", ""},
      {"host/path", "", "", "host/path"},
      {"host/dir/path", "", "", "host/dir/path"},
      // Edges of the lead byte ranges: a "/" after a lead byte is no separator.
      {"\x80/\x81/\x9F/\xE0/\xFC/\xFD/h/p", "h", "\x80/\x81/\x9F/\xE0/\xFC/\xFD/h/", "p"},
      {"/\xA0/\xDF/x", "\xDF", "/\xA0/\xDF/", "x"},
      {"http://ho\x81/st/p", "ho\x81/st", "http://ho\x81/st/", "p"},
  };
  for (const auto& c : cases) {
    char host[64], site[64], rest[64];
    EXPECT_STREQ(UrlHost(host, c.url, sizeof host), c.host) << c.url;
    EXPECT_STREQ(UrlSite(site, c.url, sizeof site), c.site) << c.url;
    EXPECT_STREQ(UrlRest(rest, c.url, site, sizeof rest), c.rest) << c.url;
  }
}

TEST(Text, ASwitchCountsOnlyAsAWordOfItsOwn) {
  const std::pair<const char*, bool> cases[] = {
      {"/tray", true}, {"  /TRAY\t", true}, {"-x /Tray -y", true},
      {"", false}, {"/trayx", false}, {"x/tray", false}, {"\"/tray\"", false},
  };
  for (const auto& [arguments, has] : cases) EXPECT_EQ(HasSwitch(arguments, "/tray"), has) << arguments;
}

}  // namespace
}  // namespace lvn
