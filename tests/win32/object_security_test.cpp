// Security descriptors of a file the test makes, and of descriptors made by
// hand in the forms the API may return.
#include "platform/win32/object_security.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

// After the platform's headers, whose names it would take for macros.
#include <windows.h>

#undef GetNamedSecurityInfo

namespace tabulon::platform {
namespace {

constexpr win::Status Win(long error) {
  return static_cast<win::Status>(error);
}

bool SelfRelativeAndValid(std::vector<std::uint8_t> descriptor) {
  return descriptor.size() >= 20 && (descriptor[3] & 0x80) != 0 &&
         ::IsValidSecurityDescriptor(descriptor.data());
}

TEST(Win32ObjectSecurity, FileDescriptorHasTheOwnerAskedFor) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("tabulon-sd-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::ofstream(file) << "x";
  BoundedCalls calls{std::chrono::seconds(60), CancelToken()};
  win32::Win32ObjectSecurity security(calls);
  const std::string name = win32::ToUtf8(file.wstring());
  const NamedSecurityInfo info = security.GetNamedSecurityInfo(
      name, SeObjectType::kFileObject, kOwnerSecurityInformation | kDaclSecurityInformation);
  ASSERT_EQ(info.status, Win(ERROR_SUCCESS));
  EXPECT_TRUE(SelfRelativeAndValid(info.descriptor));
  // The owner's offset is set: it was asked for.
  EXPECT_NE(info.descriptor[4] | info.descriptor[5], 0);
  std::filesystem::remove(file);
  EXPECT_EQ(
      security.GetNamedSecurityInfo(name, SeObjectType::kFileObject, kOwnerSecurityInformation)
          .status,
      Win(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(
      security.GetNamedSecurityInfo(name, SeObjectType::kUnknown, kOwnerSecurityInformation).status,
      Win(ERROR_INVALID_PARAMETER));
}

TEST(Win32ObjectSecurity, DescriptorsComeSelfRelativeOrNotAtAll) {
  EXPECT_EQ(win32::DescriptorBytes(nullptr).status, Win(ERROR_SUCCESS));
  EXPECT_TRUE(win32::DescriptorBytes(nullptr).descriptor.empty());

  // An absolute descriptor with an owner is made self-relative.
  SECURITY_DESCRIPTOR absolute;
  ASSERT_TRUE(::InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION));
  BYTE admins[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(admins);
  ASSERT_TRUE(::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size));
  ASSERT_TRUE(::SetSecurityDescriptorOwner(&absolute, admins, FALSE));
  const NamedSecurityInfo made = win32::DescriptorBytes(&absolute);
  ASSERT_EQ(made.status, Win(ERROR_SUCCESS));
  EXPECT_TRUE(SelfRelativeAndValid(made.descriptor));
  EXPECT_EQ(made.descriptor.size(), 20u + 16u);

  // Self-relative bytes are taken as they are; a bad revision is refused.
  std::vector<std::uint8_t> bytes = made.descriptor;
  EXPECT_EQ(win32::DescriptorBytes(bytes.data()).descriptor, made.descriptor);
  bytes[0] = 7;
  EXPECT_EQ(win32::DescriptorBytes(bytes.data()).status, Win(ERROR_INVALID_SECURITY_DESCR));
}

}  // namespace
}  // namespace tabulon::platform
