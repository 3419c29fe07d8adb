#include "notify/change_command.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace lvn {
namespace {

using namespace std::string_view_literals;

TEST(ChangeCommand, WellFormedAddresses) {
  const struct {
    std::string_view text;
    bool well_formed;
  } cases[] = {
      {"0.0.0.0", true},
      {"255.255.255.255", true},
      {"203.0.113.9", true},
      {"256.1.1.1", false},
      {"1.2.3", false},
      {"1.2.3.4.5", false},
      {"1.2.3.4.", false},
      {".1.2.3", false},
      {"1..2.3", false},
      {"01.2.3.4", false},  // leading zeros read as octal elsewhere
      {"1.2.3.00", false},
      {"1234.1.1.1", false},
      {"+1.2.3.4", false},
      {"0x1.2.3.4", false},
      {" 1.2.3.4", false},
      {"1.2.3.4\n", false},
      {"1.2.3.4\0"sv, false},
      {"\x82\x50.2.3.4", false},  // a full-width digit
      {"::", true},
      {"::1", true},
      {"1::", true},
      {"2001:DB8:0:0:8:800:200c:417A", true},
      {"1:2:3:4:5:6:7::", true},
      {"::2:3:4:5:6:7:8", true},
      {"::ffff:192.0.2.1", true},
      {"1:2:3:4:5:6:1.2.3.4", true},
      {"0000:0000:0000:0000:0000:0000:255.255.255.255", true},  // 45 bytes
      {"1:2:3:4:5:6:7", false},
      {"1:2:3:4:5:6:7:8:9", false},
      {"1:2:3:4:5:6:7:8::", false},  // "::" stands for at least one group
      {"1::2:3:4:5:6:7:8", false},
      {"1:2:3:4:5:6::1.2.3.4", false},
      {"1:2:3:4:5:6:7:1.2.3.4", false},
      {"1::2::3", false},
      {":::", false},
      {":1::", false},
      {"1:", false},
      {"::1:", false},
      {"12345::", false},
      {"g::", false},
      {"::1.2.3", false},
      {"::01.2.3.4", false},
      {"::1.2.3.4:1", false},
      {"::1.2.3.4.5", false},
      {"fe80::1%eth0", false},
      {"[::1]", false},
      {":: 1", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsWellFormedAddress(c.text), c.well_formed) << c.text;
  }
}

TEST(ChangeCommand, PutsTheAddressesInOrRefuses) {
  const std::string_view ip = "203.0.113.9", old = "2001:db8::1";
  const struct {
    std::string_view command, ip, old_ip;
    CommandRefusal refusal;
    std::string_view line;
  } cases[] = {
      {R"(curl "https://d.example/?ip=%IP%&was=%OLDIP%")", ip, old, CommandRefusal::kNone,
       R"(curl "https://d.example/?ip=203.0.113.9&was=2001:db8::1")"},
      {"%ip%,%Ip%,%oLDiP%", ip, old, CommandRefusal::kNone, "203.0.113.9,203.0.113.9,2001:db8::1"},
      // Other names, and names without both percent signs, stay.
      {"%PATH% %IPS% %IP %OLDIP %NEWIP% 100%", ip, old, CommandRefusal::kNone,
       "%PATH% %IPS% %IP %OLDIP %NEWIP% 100%"},
      {"q=%20%IP%&r=%%OLDIP%%", ip, old, CommandRefusal::kNone, "q=%20203.0.113.9&r=%2001:db8::1%"},
      {"a %OLDIP% b", ip, "", CommandRefusal::kNone, "a  b"},
      {"\x83\x5c %IP%", ip, "", CommandRefusal::kNone, "\x83\x5c 203.0.113.9"},
      {"", ip, old, CommandRefusal::kNoCommand, ""},
      {" \t\r\n", "bad", "bad", CommandRefusal::kNoCommand, ""},
      {"x %IP%", R"(203.0.113.9" & calc)", old, CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "a.b", old, CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "%PATH%", old, CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "1.2.3.4\r\ncalc", old, CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "1.2.3.4\0 & calc"sv, old, CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "", "bad", CommandRefusal::kAddressMalformed, ""},
      {"x %IP%", "%OLDIP%", old, CommandRefusal::kAddressMalformed, ""},
      // A previous answer that was no address counts as none.
      {"x %OLDIP%.", ip, "1.2.3.4 & calc", CommandRefusal::kNone, "x ."},
      {"x %OLDIP%.", ip, "\x1b[2J", CommandRefusal::kNone, "x ."},
  };
  for (const auto& c : cases) {
    ChangeCommand out{"untouched", "u", "u"};
    EXPECT_EQ(PrepareChangeCommand(c.command, c.ip, c.old_ip, &out), c.refusal) << c.command;
    if (c.refusal == CommandRefusal::kNone) {
      EXPECT_EQ(out.Line, c.line);
      EXPECT_EQ(out.Ip, c.ip);
      EXPECT_EQ(out.OldIp, IsWellFormedAddress(c.old_ip) ? c.old_ip : "");
    } else {
      EXPECT_EQ(out.Line + out.Ip + out.OldIp, "untoucheduu") << c.command;
    }
  }
}

}  // namespace
}  // namespace lvn
