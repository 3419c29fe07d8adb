#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/single_instance_win.h"
#include "lvn_version.h"
#include "test_paths.h"
#include "util/data_folder_win.h"
#include "util/text.h"
#include "util/version_win.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

TEST(CodePage, LeadBytesAreThoseOfCodePage932WhateverTheSystems) {
  struct Case {
    unsigned char byte;
    bool lead;
  };
  for (const Case& c : {Case{0x80, false}, Case{0x81, true}, Case{0x9F, true}, Case{0xA0, false},
                        Case{0xDF, false}, Case{0xE0, true}, Case{0xFC, true}, Case{0x2F, false}}) {
    EXPECT_EQ(IsLeadByte(c.byte), c.lead) << static_cast<int>(c.byte);
  }
}

TEST(FileVersionText, ReadsTheJapaneseStringTableOfTheProgram) {
  const std::string exe = test::ExecutableFolder() + "lorvane.exe";
  EXPECT_EQ(FileVersionText(exe), LVN_VERSION_TEXT);

  // The resource's texts come back exactly as the program spells them.
  const std::wstring wide_exe = Wide(exe);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(wide_exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(wide_exe.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\ProductName", &value,
                               &length));
  EXPECT_EQ(Utf8Of(static_cast<const wchar_t*>(value)), "Lorvaneグローバル");
}

TEST(FileVersionText, GivesZerosWithoutAVersionResource) {
  test::TempFolder dir;
  test::WriteFileBytes(dir.File("plain.txt"), "not a program");
  const std::string self = test::ExecutableFolder() + "win32_tests.exe";
  for (const std::string& path : {self, dir.File("plain.txt"), dir.File("missing.exe")}) {
    EXPECT_EQ(FileVersionText(path), "0.0.0.0") << path;
  }
}

TEST(DataFolderPath, IsTheLorvaneFolderBelowRoamingAppDataAndTheProgramIsThisOne) {
  wchar_t app_data[MAX_PATH] = L"";
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, app_data), S_OK);
  bool portable = true;
  const std::string folder = DataFolderPath(&portable);
  EXPECT_EQ(folder, Utf8Of(app_data) + "\\Lorvane\\");
  EXPECT_NE(folder.find("\\AppData\\Roaming\\Lorvane\\"), std::string::npos);
  EXPECT_FALSE(portable);

  std::string program = "unchanged";
  ASSERT_TRUE(ProgramPath(&program));
  EXPECT_EQ(program, test::ExecutableFolder() + "win32_tests.exe");
}

TEST(SingleInstance, OnlyTheFirstClaimWinsUntilItIsReleased) {
  const std::string name = "lvn_test_mutex_" + std::to_string(::GetCurrentProcessId());
  ScopedHandle first;
  ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first), InstanceClaim::kFirst);
  EXPECT_TRUE(first.IsValid());

  ScopedHandle second;
  EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kAlreadyRunning);
  EXPECT_FALSE(second.IsValid());

  first.Reset();
  ScopedHandle third;
  EXPECT_EQ(ClaimSingleInstance(name.c_str(), &third), InstanceClaim::kFirst);
}

TEST(SingleInstance, AMutexWeMayNotOpenIsAnotherCopy) {
  // As an elevated copy's mutex is to a plain user's: an empty DACL grants nobody access.
  const std::string name = "lvn_test_locked_" + std::to_string(::GetCurrentProcessId());
  SECURITY_DESCRIPTOR descriptor;
  ACL acl;
  ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  ScopedHandle elevated(::CreateMutexA(&attributes, TRUE, name.c_str()));
  ASSERT_TRUE(elevated.IsValid());
  ScopedHandle opened(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str()));
  ASSERT_FALSE(opened.IsValid()) << "the system must refuse the open";
  ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ScopedHandle mutex;
  EXPECT_EQ(ClaimSingleInstance(name.c_str(), &mutex), InstanceClaim::kAlreadyRunning);
  EXPECT_FALSE(mutex.IsValid());
}

TEST(SingleInstance, ANameHeldByAnotherKindOfObjectRunsUnguarded) {
  const std::string name = "lvn_test_event_" + std::to_string(::GetCurrentProcessId());
  ScopedHandle event(::CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
  ASSERT_TRUE(event.IsValid());
  ScopedHandle mutex;
  EXPECT_EQ(ClaimSingleInstance(name.c_str(), &mutex), InstanceClaim::kUnguarded);
  EXPECT_FALSE(mutex.IsValid());
}

}  // namespace
}  // namespace lvn
