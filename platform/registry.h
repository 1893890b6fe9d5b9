#pragma once
// The registry of a computer, after the advapi32 registry functions: a hive
// reached through RegConnectRegistry, keys opened with access rights and
// closed again, values read into a buffer of the caller's size
// (ERROR_MORE_DATA and the size needed when they do not fit), subkeys and
// values enumerated by index until ERROR_NO_MORE_ITEMS, and last-write times
// as FILETIMEs. Value data are the bytes Windows holds: strings in UTF-16LE
// with their terminators, numbers little-endian.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/time.h"

namespace tabulon::platform {

using RegistryKey = std::uint64_t;  // 0 is no key

// The predefined keys. On the computer the program runs on they can be used
// as open keys; other computers are reached with ConnectRegistry.
inline constexpr RegistryKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegistryKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegistryKey kHkeyLocalMachine = 0x80000002;
inline constexpr RegistryKey kHkeyUsers = 0x80000003;
inline constexpr RegistryKey kHkeyCurrentConfig = 0x80000005;

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegResourceList = 8;
inline constexpr std::uint32_t kRegFullResourceDescriptor = 9;
inline constexpr std::uint32_t kRegResourceRequirementsList = 10;
inline constexpr std::uint32_t kRegQword = 11;

// The longest key name, in UTF-16 units without the terminator.
inline constexpr std::uint32_t kMaxKeyNameChars = 255;

struct RegistryKeyResult {
  win::Status status = win::ERROR_SUCCESS;
  RegistryKey key = 0;
};

// RegQueryValueEx. With ERROR_MORE_DATA `type` and `data_size` (the size
// needed) are set and `data` is empty.
struct RegistryValueResult {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t type = kRegNone;
  std::string data;
  std::uint32_t data_size = 0;  // bytes
};

// RegEnumKeyEx.
struct RegistryEnumKeyResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string name;
  FileTime last_write_time = 0;
};

// RegEnumValue. ERROR_MORE_DATA when the name or the data does not fit; the
// name is given when it fits, `type` and `data_size` always.
struct RegistryEnumValueResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string name;
  std::uint32_t type = kRegNone;
  std::string data;
  std::uint32_t data_size = 0;
};

// RegQueryInfoKey. Lengths of names are UTF-16 units without the
// terminator, value data lengths bytes.
struct RegistryKeyInfo {
  win::Status status = win::ERROR_SUCCESS;
  std::uint32_t subkeys = 0;
  std::uint32_t max_subkey_name_chars = 0;
  std::uint32_t max_class_chars = 0;
  std::uint32_t values = 0;
  std::uint32_t max_value_name_chars = 0;
  std::uint32_t max_value_data_bytes = 0;
  FileTime last_write_time = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegConnectRegistry: `machine` "\\NAME" (or empty for this computer) and
  // a predefined key. Other computers offer HKEY_LOCAL_MACHINE and
  // HKEY_USERS only. The key must be closed.
  virtual RegistryKeyResult ConnectRegistry(std::string_view machine, RegistryKey hive) = 0;
  // RegOpenKeyEx: `subkey` below `parent`, components separated by "\";
  // an empty path opens `parent` again.
  virtual RegistryKeyResult OpenKey(RegistryKey parent, std::string_view subkey,
                                    std::uint32_t access) = 0;
  // RegQueryValueEx into a buffer of `buffer_size` bytes; an empty name
  // reads the key's default value.
  virtual RegistryValueResult QueryValue(RegistryKey key, std::string_view name,
                                         std::uint32_t buffer_size) = 0;
  // RegEnumKeyEx with a name buffer of `name_buffer_chars` UTF-16 units,
  // terminator included.
  virtual RegistryEnumKeyResult EnumKey(RegistryKey key, std::uint32_t index,
                                        std::uint32_t name_buffer_chars) = 0;
  virtual RegistryEnumValueResult EnumValue(RegistryKey key, std::uint32_t index,
                                            std::uint32_t name_buffer_chars,
                                            std::uint32_t data_buffer_size) = 0;
  virtual RegistryKeyInfo QueryInfoKey(RegistryKey key) = 0;
  // RegCloseKey; the predefined keys need no closing and report success.
  virtual win::Status CloseKey(RegistryKey key) = 0;
};

}  // namespace tabulon::platform
