#include "util/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace lvn {
namespace {

using namespace std::string_literals;

TEST(Base64, RoundTripsAndRefusesWhatIsNotPaddedBase64) {
  // RFC 4648's vectors, and bytes above 0x7F and zero.
  const std::pair<std::string, std::string> pairs[] = {
      {"", ""},          {"f", "Zg=="},        {"fo", "Zm8="},
      {"foob", "Zm9vYg=="}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE\0\x80"s, "//4AgA=="},
  };
  for (const auto& [bytes, text] : pairs) {
    EXPECT_EQ(Base64Of(bytes), text);
    EXPECT_EQ(BytesOfBase64(text), bytes) << text;
  }
  for (const char* text : {"Zg", "Zg=", "Zg===", "=g==", "Z=g=", "Zg==Zg==", "Zh==", "Zm9=",
                           "Zm9v\r\n", "Zm 9v", "Zm9-", "Zm9_"}) {
    EXPECT_EQ(BytesOfBase64(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace lvn
