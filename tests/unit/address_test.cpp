// Which addresses a name on the internet may point at: each excluded block at both of its
// edges, with the first address past it.
#include <gtest/gtest.h>

#include <string_view>

#include "util/address.h"

namespace lvn {
namespace {

TEST(Address, GlobalUnicastExcludesEveryListedBlock) {
  const struct {
    std::string_view text;
    bool global;
  } cases[] = {
      {"0.255.255.255", false}, {"1.0.0.0", true}, {"10.255.255.255", false},
      {"100.63.255.255", true}, {"100.64.0.0", false}, {"100.127.255.255", false},
      {"100.128.0.0", true}, {"127.0.0.1", false}, {"169.254.0.1", false},
      {"172.15.255.255", true}, {"172.31.255.255", false}, {"172.32.0.0", true},
      {"192.0.0.255", false}, {"192.0.1.0", true}, {"192.0.2.1", false}, {"192.168.1.1", false},
      {"198.17.255.255", true}, {"198.19.255.255", false}, {"198.20.0.0", true},
      {"198.51.100.7", false}, {"203.0.113.9", false}, {"223.255.255.255", true},
      {"224.0.0.1", false}, {"255.255.255.255", false}, {"2000::", true},
      {"3fff:ffff::1", true}, {"1fff:ffff::", false}, {"4000::1", false},
      {"2001:0DB8:ffff::", false}, {"2001:db9::", true}, {"::1", false}, {"fe80::1", false},
      {"::ffff:8.8.8.8", false}, {"::2001:db8:0:1", false}, {"2001:db8:1::2001:db8", false},
      {"2a00::8.8.8.8", true}, {"2a00:1:2:3:4:5:6:7:8", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsGlobalUnicast(c.text), c.global) << c.text;
}

}  // namespace
}  // namespace lvn
