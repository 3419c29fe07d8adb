#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <optional>
#include <string>
#include <vector>

#include "check/main_model_win.h"
#include "test_paths.h"
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

TEST(MainModel, ProtectsPlainSecretsAtReadAndHoldsBackTargetsWhoseSecretIsNotOurs) {
  test::TempFolder dir;
  const std::string foreign = ProtectedWithoutEntropy("hunter3");
  test::WriteFileBytes(dir.File("lvn.ini"),
                       "[Target1]\r\nKind=dyndns2\r\nUrl=https://dyn.example.net/nic/update\r\n"
                       "Host=home.example.net\r\nUser=me\r\nSecret=hunter2\r\n"
                       "[Target2]\r\nKind=duckdns\r\nHost=home\r\nSecretProtected=" + foreign +
                       "\r\n[Target3]\r\nKind=ntfy\r\nUrl=https://ntfy.example.net/t\r\n"
                       "Secret=hunter2\r\nSecretProtected=" + foreign + "\r\n");
  MainModel model;
  ASSERT_TRUE(model.ReadSettingsIn(dir.Path()));
  EXPECT_EQ(model.HeldTargets(), (std::vector<HeldTarget>{{2, SecretFault::kNotUnprotected}}));

  const std::string file = test::ReadFileBytes(dir.File("lvn.ini"));
  EXPECT_EQ(file.find("hunter2"), std::string::npos) << file;
  IniFile ini;
  ini.Load(file);
  EXPECT_EQ(ini.ReadString("Target1", "User", ""), "me");
  // A plain secret replaces an old protected one: typed again after a move.
  for (const char* section : {"Target1", "Target3"}) {
    EXPECT_FALSE(ini.HasKey(section, "Secret")) << section;
    EXPECT_EQ(UnprotectSecret(ini.ReadString(section, "SecretProtected", "")), "hunter2");
  }
  EXPECT_EQ(ini.ReadString("Target2", "SecretProtected", ""), foreign);
  for (const auto& target : model.Current().Targets) {
    EXPECT_EQ(target.value_or(UpdateTarget{}).Secret, "");
  }
}

}  // namespace
}  // namespace lvn
