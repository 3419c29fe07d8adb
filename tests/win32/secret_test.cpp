#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <optional>
#include <string>

#include "util/base64.h"
#include "util/scoped_win.h"
#include "util/secret_win.h"
#include "util/system_library_win.h"

namespace lvn {
namespace {

using namespace std::string_literals;

// As another program of the same user protects its data: without our entropy.
std::string ProtectedWithoutEntropy(const std::string& plain) {
  const auto protect = SystemFunction<decltype(&::CryptProtectData)>(
      LoadSystemLibrary("crypt32.dll"), "CryptProtectData");
  DATA_BLOB in{static_cast<DWORD>(plain.size()),
               reinterpret_cast<BYTE*>(const_cast<char*>(plain.data()))};
  DATA_BLOB out{};
  if (!protect(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
    return "";
  }
  const ScopedLocal owner(out.pbData);
  return Base64Of(std::string(reinterpret_cast<const char*>(out.pbData), out.cbData));
}

TEST(Secret, OnlyWhatThisProgramProtectedForThisUserComesBack) {
  for (const std::string& plain : {"hunter2"s, "p\xC3\xA4ss\0w0rd"s, std::string(500, 'k')}) {
    const std::optional<std::string> sealed = ProtectSecret(plain);
    ASSERT_TRUE(sealed.has_value());
    EXPECT_EQ(UnprotectSecret(*sealed), plain);
  }
  const std::string sealed = ProtectSecret("hunter2").value();
  // Its signature, at the end, which every system checks (Wine skips parts of the header).
  std::string damaged = sealed;
  damaged[sealed.size() - 10] = sealed[sealed.size() - 10] == 'A' ? 'B' : 'A';
  const std::string foreign = ProtectedWithoutEntropy("hunter2");
  ASSERT_FALSE(foreign.empty());
  for (const std::string& text : {damaged, sealed.substr(0, sealed.size() - 4), foreign}) {
    EXPECT_EQ(UnprotectSecret(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace lvn
