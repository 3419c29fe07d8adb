#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "settings/app_settings.h"
#include "settings/lookup_settings.h"
#include "settings/notify_settings.h"
#include "settings/settings.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

using namespace std::string_literals;

IniFile Loaded(std::string_view content) {
  IniFile ini;
  ini.Load(content);
  return ini;
}

TEST(IniFileTest, LoadKeepsOnlyWhatItUnderstands) {
  const std::pair<std::string, std::string> cases[] = {
      {"[a]\nk=v\rx=y\r\nz", "[a]\r\nk=v\r\nx=y\r\nz\r\n\r\n"},
      {"top=1\r\n[a]\r\n; a=b\r\n\r\n \t k = v = w \t", "top=1\r\n[a]\r\n; a=b\r\nk=v = w\r\n\r\n"},
      {"[ b ]\r\n[B]\r\nk=2\r\n", "[b]\r\n\r\n[B]\r\nk=2\r\n\r\n"},
      {"[]\r\n=\r\n[\r\nx]\r\n", "[]\r\n=\r\n[\r\nx]\r\n\r\n"},
      {"[a]\0\r\n\x01k=v\0"s, "[a]\r\nk=v\r\n\r\n"},
      {"k=v\r\n\r\n loose\r\n", "k=v\r\nloose\r\n"},
      {"\xEF\xBB\xBF[a]\r\nk=v", "[a]\r\nk=v\r\n\r\n"},
      {"\xEF\xBB[a]", "\xEF\xBB[a]\r\n"},
      {"\0 \xEF\xBB\xBF\r\n\xEF\xBB\xBF\xEF\xBB\xBF x\r\n\xEF\xBB\xBFy"s, "x\r\n\xEF\xBB\xBFy\r\n"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Loaded(in).Serialize(), out) << in;
}

TEST(IniFileTest, ReadIntegerAcceptsOnlyWholeNumbers) {
  const std::pair<const char*, int32_t> cases[] = {
      {"123", 123}, {"-45", -45}, {"+8", 8}, {"000000000000000000001", 1},
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", 7},
      {"-2147483649", 7}, {"99999999999999999999", 7}, {"0xEA60", 60000},
      {"0XffFFffFF", -1}, {"0x100000000", 7}, {"0x", 7}, {"0x-1", 7}, {"12abc", 7},
      {"", 7}, {"+", 7}, {"--1", 7}, {"1 2", 7},
  };
  for (const auto& [text, want] : cases) {
    EXPECT_EQ(Loaded("[s]\nk="s + text).ReadInteger("s", "k", 7), want) << text;
  }
}

TEST(IniFileTest, LookupRules) {
  const IniFile ini = Loaded("[Sec]\nloose\nKey=first\nkey=second\n[sEC]\nonly=later\n"
                             "[\x83X]\n\x83X=dbcs\n");
  const char* const cases[][3] = {
      {"SEC", "KEY", "first"},  // ASCII folds, the first duplicate wins
      {"sec", "only", "def"},   // only the first section of a name counts
      {"Sec", "loose", "def"},  // keyless lines are not keys
      {"Sec", "", "def"},
      {"\x83X", "\x83X", "dbcs"},  // a trail byte in the letter range is never folded
      {"\x83x", "\x83X", "def"},
      {"\x83X", "\x83x", "def"},
  };
  for (const auto& c : cases) EXPECT_EQ(ini.ReadString(c[0], c[1], "def"), c[2]) << c[1];
}

TEST(IniFileTest, WriteReplacesFirstMatchInPlaceAndAppendsNewKeys) {
  IniFile ini = Loaded("[Gone]\n");
  ini.Load("[Sec]\nKey=1\nx\nkey=2\n[sec]\nKey=3\n");
  ini.WriteString("SEC", "KEY", "new");
  ini.WriteInteger("sec", "Added", -5);
  ini.WriteBool("Other", "flag", true);
  EXPECT_EQ(ini.Serialize(),
            "[Sec]\r\nKey=new\r\nx\r\nkey=2\r\nAdded=-5\r\n\r\n[sec]\r\nKey=3\r\n\r\n"
            "[Other]\r\nflag=1\r\n\r\n");
}

TEST(IniFileTest, WrittenTextCannotBreakTheFileStructure) {
  const std::pair<std::string, std::string> cases[] = {
      {"abc\r\n[Evil]\r\nx=1", "abc  [Evil]  x=1"},
      {"a\0b\rc\nd"s, "a b c d"},
      {"\r\n[Evil]\r\n", "[Evil]"},
      {" \t padded \t ", "padded"},
  };
  for (const auto& [value, read_back] : cases) {
    IniFile ini;
    ini.WriteString("Value", "IpHoz", value);
    const std::string text = ini.Serialize();
    const IniFile reloaded = Loaded(text);
    EXPECT_EQ(reloaded.Serialize(), text);
    EXPECT_EQ(ini.ReadString("Value", "IpHoz", ""), read_back);
    EXPECT_EQ(reloaded.ReadString("Value", "IpHoz", ""), read_back);
    EXPECT_EQ(reloaded.ReadString("Evil", "x", "none"), "none");
  }
}

TEST(SettingsTest, IntervalHasALowerBoundOnly) {
  const std::pair<const char*, int32_t> cases[] = {
      {"0", 15000}, {"-1", 15000}, {"14999", 15000}, {"30000", 30000},
      {"2000000000", 2000000000}, {"0xEA60", 60000}, {"4294967296", 60000}, {"fast", 60000},
  };
  for (const auto& [text, want] : cases) {
    EXPECT_EQ(ReadSettings(Loaded("[Value]\nInterval="s + text)).CheckInterval, want) << text;
  }
}

// The options window's list: a value not in it selects the nearest item (the shorter of two
// as near) and is kept until the user picks one; a pick outside the list means the
// shortest interval.
TEST(SettingsTest, IntervalChoicesMapBothWays) {
  const struct {
    int32_t interval;
    int choice;
  } cases[] = {
      {15000, 0}, {30000, 1}, {60000, 2}, {300000, 3}, {600000, 4}, {1800000, 5}, {3600000, 6},
      {120000, 2}, {45000, 1}, {15001, 0}, {4000000, 6}, {180000, 2}, {INT32_MAX, 6},
  };
  for (const auto& c : cases) EXPECT_EQ(IntervalChoiceOf(c.interval), c.choice) << c.interval;
  for (int i = 0; i < kIntervalChoiceCount; ++i) {
    EXPECT_EQ(IntervalChoiceOf(IntervalOfChoice(i)), i);
  }
  EXPECT_EQ(IntervalOfChoice(-1), 15000);
  EXPECT_EQ(IntervalOfChoice(kIntervalChoiceCount), 15000);
  EXPECT_EQ(IntervalChoiceText(0), "15秒");
  EXPECT_EQ(IntervalChoiceText(2), "1分");
  texts::UseLanguage(texts::Language::kEnglish);
  EXPECT_EQ(IntervalChoiceText(0), "15 s");
  EXPECT_EQ(IntervalChoiceText(6), "60 min");
  texts::UseLanguage(texts::Language::kJapanese);
}

// Values are the program's UTF-8 text; the file holds code page 932 bytes, and a value it
// cannot hold is refused, never stored as "?".
TEST(IniFileTest, ValuesAreCodePage932InTheFile) {
  IniFile ini = Loaded("[Notify]\r\nCommand=C:\\\x83\x63\x81\x5b\x83\x8b\\a.exe\r\n"
                       "Old=\xed\x40\r\n");
  EXPECT_EQ(ini.ReadString("Notify", "Command", ""), "C:\\ツール\\a.exe");
  EXPECT_FALSE(ini.WriteString("Notify", "Command", "C:\\Paweł\\a.exe"));
  EXPECT_FALSE(ini.WriteString("Notify", "Command", "C:\\한\\a.exe"));
  EXPECT_TRUE(ini.WriteString("Notify", "Other", "設定"));
  // Written back unchanged, a character with two byte forms keeps the file's.
  EXPECT_TRUE(ini.WriteString("Notify", "Old", ini.ReadString("Notify", "Old", "")));
  ini.WriteString("View", "Language", "en");
  ini.RemoveKey("View", "Language");
  EXPECT_EQ(ini.Serialize(),
            "[Notify]\r\nCommand=C:\\\x83\x63\x81\x5b\x83\x8b\\a.exe\r\nOld=\xed\x40\r\n"
            "Other=\x90\xdd\x92\xe8\r\n\r\n");
}

TEST(SettingsTest, FileCaseIsKeptAndTextsAreCut) {
  IniFile ini = Loaded("[vALUE]\ninterval=30000\nviewoff=2\nViewCheckStart=0\nIpHoz=" +
                       std::string(60, '1') + "\nIpUrl=" + std::string(400, 'u'));
  const SettingsValues v = ReadSettings(ini);
  EXPECT_EQ(v.CheckInterval, 30000);
  EXPECT_TRUE(v.ViewOff);
  EXPECT_FALSE(v.ViewCheckStart);
  EXPECT_EQ(std::string(v.LastIp), std::string(49, '1'));
  EXPECT_EQ(std::string(v.LookupUrl), std::string(299, 'u'));
  EXPECT_STREQ(v.LastChange, "");
  EXPECT_EQ(v.LastRecordKey, -1);
  WriteSettings(ini, v);
  EXPECT_EQ(ini.Serialize().rfind("[vALUE]\r\ninterval=30000\r\nviewoff=1\r\nViewCheckStart=0\r\n"
                                  "IpHoz=1111111111",
                                  0),
            0u);
}

// Files another editor saved: what the user wrote is read, and a save loses no line of it.
TEST(SettingsTest, ForeignEditorsFilesKeepTheirValuesAndLines) {
  const struct {
    const char* file;
    const char* url;      // read from it
    int32_t interval;
    const char* written;  // the start of the file written back
  } cases[] = {
      {"\xEF\xBB\xBF[Value]\r\nIpUrl=http://a/x\r\nInterval=15000\r\n", "http://a/x", 15000,
       "[Value]\r\nIpUrl=http://a/x\r\nInterval=15000\r\nIpHoz=\r\n"},
      {"[Value\r\nIpUrl=http://a/x\r\n", kDefaultLookupUrl, kDefaultCheckInterval,
       "[Value\r\nIpUrl=http://a/x\r\n[Value]\r\nInterval=60000\r\n"},
      {"; mine\r\n[Value]\r\nInterval=30000\r\n", kDefaultLookupUrl, 30000,
       "; mine\r\n[Value]\r\nInterval=30000\r\nIpUrl=https://"},
  };
  for (const auto& c : cases) {
    IniFile ini = Loaded(c.file);
    const SettingsValues v = ReadSettings(ini);
    EXPECT_STREQ(v.LookupUrl, c.url) << c.file;
    EXPECT_EQ(v.CheckInterval, c.interval) << c.file;
    WriteSettings(ini, v);
    const std::string written = ini.Serialize();
    EXPECT_EQ(written.rfind(c.written, 0), 0u) << written;
    EXPECT_NE(written.find("ViewOff="), std::string::npos) << "missing keys are added";
  }
}

TEST(SettingsTest, FirstRunThenAddressChangeThenExit) {
  IniFile ini;
  ini.WriteInteger(kSettingsSection, kKeyPrimaryKey, 0);
  EXPECT_EQ(ini.Serialize(), "[Value]\r\nPrimaryKey=0\r\n\r\n");
  ini.WriteString(kSettingsSection, kKeyLastIp, "192.0.2.7");
  ini.WriteString(kSettingsSection, kKeyLastChange, "2024/05/01 12:00");
  SettingsValues v = ReadSettings(ini);
  v.ViewOff = false;
  WriteSettings(ini, v);
  EXPECT_EQ(ini.Serialize(),
            "[Value]\r\nPrimaryKey=0\r\nIpHoz=192.0.2.7\r\nLastCnange=2024/05/01 12:00\r\n"
            "Interval=60000\r\nIpUrl=https://api.ipify.org\r\n"
            "ViewCheckStart=1\r\nViewConnectError=1\r\nViewOff=0\r\n\r\n");
}

// A file that never used the notices keeps no [Notify] section; one that did keeps it,
// defaults and all.
TEST(NotifySettingsTest, WrittenOnlyWhenUsedAndReadWithinBounds) {
  const struct {
    std::string before;
    NotifySettings settings;
    std::string after;
  } cases[] = {
      {"[Value]\r\nIpUrl=http://a/\r\n", {}, "[Value]\r\nIpUrl=http://a/\r\n\r\n"},
      {"[Notify]\r\nChange=1\r\n", {},
       "[Notify]\r\nChange=0\r\nOutage=0\r\nCommand=\r\nCommandTimeout=60\r\n\r\n"},
      {"", {false, false, "a.exe %IP%", 60},
       "[Notify]\r\nChange=0\r\nOutage=0\r\nCommand=a.exe %IP%\r\nCommandTimeout=60\r\n\r\n"},
  };
  for (const auto& c : cases) {
    IniFile ini = Loaded(c.before);
    WriteNotifySettings(ini, c.settings);
    EXPECT_EQ(ini.Serialize(), c.after) << c.before;
    EXPECT_EQ(ReadNotifySettings(Loaded(c.after)), c.settings) << c.after;
  }
  for (const char* timeout : {"0", "601", "-5", "x"}) {
    const NotifySettings read =
        ReadNotifySettings(Loaded("[notify]\r\ncommandtimeout="s + timeout + "\r\nchange=1\r\n"));
    EXPECT_EQ(read.CommandTimeout, 60) << timeout;
    EXPECT_TRUE(read.Change);
  }
  const NotifySettings longest =
      ReadNotifySettings(Loaded("[Notify]\r\nCommand=" + std::string(2000, 'x') + "\r\n"));
  EXPECT_EQ(longest.Command.size(), kCommandCapacity - 1);
  // The limit counts the file's bytes; a double-byte character that would be halved goes.
  const NotifySettings kana =
      ReadNotifySettings(Loaded("[Notify]\r\nCommand=" + std::string(2000, '\x83') + "\r\n"));
  std::string kept;
  for (int i = 0; i < 511; ++i) kept += "ャ";
  EXPECT_EQ(kana.Command, kept);
}

// As [Notify]: no [Lookup] section until it is used; a fallback URL cut between characters.
TEST(LookupSettingsTest, WrittenOnlyWhenUsedAndCutBetweenCharacters) {
  const struct {
    std::string before;
    LookupSettings settings;
    std::string after;
  } cases[] = {
      {"[Value]\r\nIpUrl=http://a/\r\n", {}, "[Value]\r\nIpUrl=http://a/\r\n\r\n"},
      {"[lookup]\r\n", {}, "[lookup]\r\nFallbackUrl=\r\nCheckOnNetworkChange=0\r\n\r\n"},
      {"", {"", true}, "[Lookup]\r\nFallbackUrl=\r\nCheckOnNetworkChange=1\r\n\r\n"},
      {"", {"http://b/x", false},
       "[Lookup]\r\nFallbackUrl=http://b/x\r\nCheckOnNetworkChange=0\r\n\r\n"},
      {"", {"http://b/x", false, true},
       "[Lookup]\r\nFallbackUrl=http://b/x\r\nCheckOnNetworkChange=0\r\n"
       "ConfirmChange=1\r\n\r\n"},
  };
  for (const auto& c : cases) {
    IniFile ini = Loaded(c.before);
    WriteLookupSettings(ini, c.settings);
    EXPECT_EQ(ini.Serialize(), c.after) << c.before;
    EXPECT_EQ(ReadLookupSettings(Loaded(c.after)), c.settings) << c.after;
  }
  // A file that names no lookup page (a first start) gets a public one and a fallback; one
  // that names its own page keeps it without a fallback.
  EXPECT_STREQ(ReadSettings(Loaded("")).LookupUrl, kDefaultLookupUrl);
  EXPECT_EQ(ReadLookupSettings(Loaded("[Value]\r\nIpHoz=1.2.3.4\r\n")).FallbackUrl,
            kDefaultFallbackUrl);
  EXPECT_EQ(ReadLookupSettings(Loaded("[Value]\r\nIpUrl=http://a/\r\n")).FallbackUrl, "");
  // 298 bytes and a double-byte character: the character does not fit and goes whole.
  const std::string url = "http://a/" + std::string(289, 'x');
  for (const auto& [tail, kept] : {std::pair{"\x83X"s, url}, {"y\x83X"s, url + "y"}}) {
    EXPECT_EQ(ReadLookupSettings(Loaded("[Lookup]\r\nFallbackUrl=" + url + tail)).FallbackUrl, kept);
  }
}

// While the program runs, a save writes only the keys it keeps up to date, PrimaryKey before
// the address as ever; the rest waits for the whole save at exit.
TEST(AppSettings, SavesWriteWhatChangedAndTheWholeStateAtExit) {
  IniFile ini = Loaded("[Value]\r\nIpUrl=http://a/\r\n[View]\r\nLanguage=en\r\n");
  const AppSettings saved = ReadAppSettings(ini);
  AppSettings now = saved;
  EXPECT_FALSE(WriteAppSettings(ini, saved, now, SaveScope::kChanges));
  now.Value.CheckInterval = 30000;
  now.Value.LastRecordKey = 4;
  CopyText(now.Value.LastIp, "192.0.2.9", sizeof now.Value.LastIp);
  CopyText(now.Value.LastChange, "2026/12/10 05:00:00", sizeof now.Value.LastChange);
  now.Language = "";
  EXPECT_TRUE(WriteAppSettings(ini, saved, now, SaveScope::kChanges));
  EXPECT_EQ(ini.Serialize(),
            "[Value]\r\nIpUrl=http://a/\r\nPrimaryKey=4\r\nIpHoz=192.0.2.9\r\n"
            "LastCnange=2026/12/10 05:00:00\r\n\r\n");
  EXPECT_TRUE(WriteAppSettings(ini, now, now, SaveScope::kWhole));
  EXPECT_EQ(ini.Serialize(),
            "[Value]\r\nIpUrl=http://a/\r\nPrimaryKey=4\r\nIpHoz=192.0.2.9\r\n"
            "LastCnange=2026/12/10 05:00:00\r\nInterval=30000\r\nViewCheckStart=1\r\n"
            "ViewConnectError=1\r\nViewOff=1\r\n\r\n");
  EXPECT_FALSE(WriteAppSettings(ini, now, now, SaveScope::kWhole));
}

}  // namespace
}  // namespace lvn
