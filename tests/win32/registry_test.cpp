// The registry on a key of the test's own under HKEY_CURRENT_USER: values
// read into buffers too small and large enough, keys and values enumerated,
// the key's information and its security descriptor.
#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/win32/object_security.h"
#include "platform/win32/wide.h"

// After the platform's headers, whose names it would take for macros.
#include <windows.h>

#undef GetNamedSecurityInfo

namespace tabulon::platform {
namespace {

constexpr win::Status Win(long error) {
  return static_cast<win::Status>(error);
}

// UTF-16LE bytes with the terminator, as a REG_SZ value holds them.
std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()),
                     (text.size() + 1) * sizeof(wchar_t));
}

class Win32RegistryKey : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\Tabulon-test-" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, win32::ToWide(path_ + "\\Sub").c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, win32::ToWide(path_).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring text = L"\u00DCbersicht";
    ::RegSetValueExW(key, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 0x01020304;
    ::RegSetValueExW(key, L"A-rather-long-value-name", 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&number), sizeof(number));
    ::RegCloseKey(key);
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, win32::ToWide(path_).c_str()); }

  RegistryKey Open() {
    const RegistryKeyResult hive = registry_.ConnectRegistry("", kHkeyCurrentUser);
    EXPECT_EQ(hive.status, Win(ERROR_SUCCESS));
    const RegistryKeyResult key = registry_.OpenKey(hive.key, path_, kKeyRead);
    EXPECT_EQ(key.status, Win(ERROR_SUCCESS));
    EXPECT_EQ(registry_.CloseKey(hive.key), Win(ERROR_SUCCESS));
    return key.key;
  }

  std::string path_;
  BoundedCalls calls_{std::chrono::seconds(60), CancelToken()};
  win32::Win32Registry registry_{calls_};
};

TEST_F(Win32RegistryKey, ValuesAreReadIntoTheCallersBuffer) {
  const RegistryKey key = Open();
  const RegistryValueResult small = registry_.QueryValue(key, "Text", 4);
  EXPECT_EQ(small.status, Win(ERROR_MORE_DATA));
  EXPECT_EQ(small.type, kRegSz);
  EXPECT_EQ(small.data_size, 20u);
  EXPECT_TRUE(small.data.empty());
  const RegistryValueResult text = registry_.QueryValue(key, "Text", small.data_size);
  ASSERT_EQ(text.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(text.data, Utf16Bytes(L"\u00DCbersicht"));
  const RegistryValueResult number = registry_.QueryValue(key, "A-rather-long-value-name", 64);
  EXPECT_EQ(number.type, kRegDword);
  EXPECT_EQ(number.data, std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(registry_.QueryValue(key, "Missing", 64).status, Win(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(registry_.CloseKey(key), Win(ERROR_SUCCESS));
  EXPECT_EQ(registry_.CloseKey(key), Win(ERROR_INVALID_HANDLE));
  EXPECT_EQ(registry_.QueryValue(key, "Text", 64).status, Win(ERROR_INVALID_HANDLE));
}

TEST_F(Win32RegistryKey, EnumerationSaysWhatDidNotFit) {
  const RegistryKey key = Open();
  EXPECT_EQ(registry_.EnumKey(key, 0, 3).status, Win(ERROR_MORE_DATA));
  const RegistryEnumKeyResult sub = registry_.EnumKey(key, 0, kMaxKeyNameChars + 1);
  ASSERT_EQ(sub.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(sub.name, "Sub");
  EXPECT_NE(sub.last_write_time, 0u);
  EXPECT_EQ(registry_.EnumKey(key, 1, kMaxKeyNameChars + 1).status, Win(ERROR_NO_MORE_ITEMS));

  // Values come in the order they were written (Windows) or sorted (Wine).
  std::uint32_t index = 0;
  while (index < 2 && registry_.EnumValue(key, index, 100, 100).name != "A-rather-long-value-name")
    ++index;
  ASSERT_LT(index, 2u);
  struct Case {
    std::uint32_t name_chars, data_size;
    win::Status status;
    std::string name;
  };
  const Case cases[] = {
      {100, 100, Win(ERROR_SUCCESS), "A-rather-long-value-name"},
      {100, 2, Win(ERROR_MORE_DATA), "A-rather-long-value-name"},  // the data does not fit
      {5, 100, Win(ERROR_MORE_DATA), ""},                          // the name does not fit
  };
  for (const Case& c : cases) {
    const RegistryEnumValueResult value =
        registry_.EnumValue(key, index, c.name_chars, c.data_size);
    EXPECT_EQ(value.status, c.status) << c.name_chars << " " << c.data_size;
    EXPECT_EQ(value.name, c.name) << c.name_chars << " " << c.data_size;
    EXPECT_EQ(value.type, kRegDword);
    EXPECT_EQ(value.data_size, 4u);
  }
  EXPECT_EQ(registry_.EnumValue(key, 2, 100, 100).status, Win(ERROR_NO_MORE_ITEMS));

  const RegistryKeyInfo info = registry_.QueryInfoKey(key);
  ASSERT_EQ(info.status, Win(ERROR_SUCCESS));
  EXPECT_EQ(info.subkeys, 1u);
  EXPECT_EQ(info.values, 2u);
  EXPECT_EQ(info.max_value_name_chars, 24u);
  EXPECT_EQ(info.max_value_data_bytes, 20u);
}

TEST_F(Win32RegistryKey, KeySecurityComesSelfRelative) {
  win32::Win32ObjectSecurity security(calls_);
  const NamedSecurityInfo info =
      security.GetNamedSecurityInfo("CURRENT_USER\\" + path_, SeObjectType::kRegistryKey,
                                    kOwnerSecurityInformation | kDaclSecurityInformation);
  ASSERT_EQ(info.status, Win(ERROR_SUCCESS));
  ASSERT_GE(info.descriptor.size(), 20u);
  EXPECT_NE(info.descriptor[3] & 0x80, 0);  // SE_SELF_RELATIVE
  EXPECT_TRUE(::IsValidSecurityDescriptor(const_cast<std::uint8_t*>(info.descriptor.data())));
}

TEST(Win32Registry, ThisComputerByItsName) {
  BoundedCalls calls{std::chrono::seconds(60), CancelToken()};
  win32::Win32Registry registry(calls);
  EXPECT_EQ(registry.CloseKey(kHkeyLocalMachine), Win(ERROR_SUCCESS));
  // This computer named as another would be.
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(::GetComputerNameW(name, &length));
  const RegistryKeyResult hive = registry.ConnectRegistry(
      "\\\\" + win32::ToUtf8(std::wstring_view(name, length)), kHkeyLocalMachine);
  ASSERT_EQ(hive.status, Win(ERROR_SUCCESS));
  const RegistryKeyResult key = registry.OpenKey(hive.key, "Software\\Microsoft", kKeyRead);
  EXPECT_EQ(key.status, Win(ERROR_SUCCESS));
  // Both left open: the family closes them.
}

}  // namespace
}  // namespace tabulon::platform
