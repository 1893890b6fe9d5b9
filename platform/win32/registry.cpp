#include "platform/win32/registry.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

HKEY Predefined(RegistryKey key) {
  switch (key) {
    case kHkeyClassesRoot:
      return HKEY_CLASSES_ROOT;
    case kHkeyCurrentUser:
      return HKEY_CURRENT_USER;
    case kHkeyLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case kHkeyUsers:
      return HKEY_USERS;
    case kHkeyCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    default:
      return nullptr;
  }
}

// The open key a number stands for; null for none.
HKEY Resolve(const HandleTable& keys, RegistryKey key) {
  if (HKEY predefined = Predefined(key)) return predefined;
  return static_cast<HKEY>(keys.Find(key));
}

RegistryKeyResult Keep(HandleTable& keys, LSTATUS status, HKEY opened) {
  if (status != ERROR_SUCCESS) return {static_cast<win::Status>(status), 0};
  return {ERROR_SUCCESS, keys.Add(opened)};
}

std::uint64_t FileTimeOf(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// A name the API wrote: never more units than the buffer held.
std::string NameOf(const std::vector<wchar_t>& buffer, DWORD chars) {
  return ToUtf8(std::wstring_view(buffer.data(), std::min<std::size_t>(chars, buffer.size())));
}

std::string DataOf(const std::vector<std::uint8_t>& buffer, DWORD bytes) {
  const std::size_t size = std::min<std::size_t>(bytes, buffer.size());
  return std::string(reinterpret_cast<const char*>(buffer.data()), size);
}

}  // namespace

Win32Registry::~Win32Registry() {
  if (keys_->empty()) return;
  calls_.Release([keys = keys_] {
    for (void* key : keys->TakeAll()) ::RegCloseKey(static_cast<HKEY>(key));
  });
}

RegistryKeyResult Win32Registry::ConnectRegistry(std::string_view machine, RegistryKey hive) {
  if (Predefined(hive) == nullptr) return {ERROR_INVALID_HANDLE, 0};
  return calls_.Run<RegistryKeyResult>([keys = keys_, machine = std::string(machine), hive] {
    const std::wstring wide = ToWide(machine);
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegConnectRegistryW(wide.empty() ? nullptr : wide.c_str(), Predefined(hive), &opened);
    return Keep(*keys, status, opened);
  });
}

RegistryKeyResult Win32Registry::OpenKey(RegistryKey parent, std::string_view subkey,
                                         std::uint32_t access) {
  return calls_.Run<RegistryKeyResult>(
      [keys = keys_, parent, subkey = std::string(subkey), access] {
        HKEY from = Resolve(*keys, parent);
        if (from == nullptr) return RegistryKeyResult{ERROR_INVALID_HANDLE, 0};
        HKEY opened = nullptr;
        const LSTATUS status = ::RegOpenKeyExW(from, ToWide(subkey).c_str(), 0, access, &opened);
        return Keep(*keys, status, opened);
      });
}

RegistryValueResult Win32Registry::QueryValue(RegistryKey key, std::string_view name,
                                              std::uint32_t buffer_size) {
  const std::uint32_t size = std::min(buffer_size, kMaxRegistryDataBytes);
  return calls_.Run<RegistryValueResult>([keys = keys_, key, name = std::string(name), size] {
    RegistryValueResult result;
    HKEY opened = Resolve(*keys, key);
    if (opened == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
      return result;
    }
    // Never a null data pointer: with one the call sizes instead of reading.
    std::vector<std::uint8_t> data(std::max<std::uint32_t>(size, 1));
    DWORD type = REG_NONE;
    DWORD bytes = size;
    result.status = static_cast<win::Status>(
        ::RegQueryValueExW(opened, ToWide(name).c_str(), nullptr, &type, data.data(), &bytes));
    if (result.status != ERROR_SUCCESS && result.status != ERROR_MORE_DATA) return result;
    result.type = type;
    result.data_size = bytes;
    if (result.status == ERROR_SUCCESS) result.data = DataOf(data, std::min<DWORD>(bytes, size));
    return result;
  });
}

RegistryEnumKeyResult Win32Registry::EnumKey(RegistryKey key, std::uint32_t index,
                                             std::uint32_t name_buffer_chars) {
  const std::uint32_t chars = std::min(name_buffer_chars, kMaxRegistryNameChars + 1);
  return calls_.Run<RegistryEnumKeyResult>([keys = keys_, key, index, chars] {
    RegistryEnumKeyResult result;
    HKEY opened = Resolve(*keys, key);
    if (opened == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
      return result;
    }
    std::vector<wchar_t> name(std::max<std::uint32_t>(chars, 1));
    DWORD length = chars;
    FILETIME written{};
    result.status = static_cast<win::Status>(
        ::RegEnumKeyExW(opened, index, name.data(), &length, nullptr, nullptr, nullptr, &written));
    if (result.status != ERROR_SUCCESS) return result;
    result.name = NameOf(name, length);
    result.last_write_time = FileTimeOf(written);
    return result;
  });
}

RegistryEnumValueResult Win32Registry::EnumValue(RegistryKey key, std::uint32_t index,
                                                 std::uint32_t name_buffer_chars,
                                                 std::uint32_t data_buffer_size) {
  const std::uint32_t chars = std::min(name_buffer_chars, kMaxRegistryNameChars + 1);
  const std::uint32_t size = std::min(data_buffer_size, kMaxRegistryDataBytes);
  return calls_.Run<RegistryEnumValueResult>([keys = keys_, key, index, chars, size] {
    RegistryEnumValueResult result;
    HKEY opened = Resolve(*keys, key);
    if (opened == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
      return result;
    }
    std::vector<wchar_t> name(std::max<std::uint32_t>(chars, 1));
    std::vector<std::uint8_t> data(std::max<std::uint32_t>(size, 1));
    DWORD length = chars;
    DWORD type = REG_NONE;
    DWORD bytes = size;
    result.status = static_cast<win::Status>(
        ::RegEnumValueW(opened, index, name.data(), &length, nullptr, &type, data.data(), &bytes));
    if (result.status == ERROR_SUCCESS) {
      result.name = NameOf(name, length);
      result.type = type;
      result.data_size = bytes;
      result.data = DataOf(data, std::min<DWORD>(bytes, size));
      return result;
    }
    if (result.status != ERROR_MORE_DATA) return result;
    // What did not fit is not said: ask again without data, which sizes it
    // and tells whether the name fits; then with room for any name.
    length = chars;
    bytes = 0;
    LSTATUS again =
        ::RegEnumValueW(opened, index, name.data(), &length, nullptr, &type, nullptr, &bytes);
    if (again == ERROR_SUCCESS) {
      result.name = NameOf(name, length);
    } else if (again == ERROR_MORE_DATA) {
      std::vector<wchar_t> any(kMaxRegistryNameChars + 1);
      length = static_cast<DWORD>(any.size());
      bytes = 0;
      again = ::RegEnumValueW(opened, index, any.data(), &length, nullptr, &type, nullptr, &bytes);
    }
    // The value went between the calls: that is the answer.
    if (again != ERROR_SUCCESS) {
      result = {};
      result.status = static_cast<win::Status>(again);
      return result;
    }
    result.type = type;
    result.data_size = bytes;
    return result;
  });
}

RegistryKeyInfo Win32Registry::QueryInfoKey(RegistryKey key) {
  return calls_.Run<RegistryKeyInfo>([keys = keys_, key] {
    RegistryKeyInfo info;
    HKEY opened = Resolve(*keys, key);
    if (opened == nullptr) {
      info.status = ERROR_INVALID_HANDLE;
      return info;
    }
    DWORD subkeys = 0, max_subkey = 0, max_class = 0, values = 0, max_value_name = 0,
          max_value_data = 0;
    FILETIME written{};
    info.status = static_cast<win::Status>(
        ::RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subkeys, &max_subkey, &max_class,
                           &values, &max_value_name, &max_value_data, nullptr, &written));
    if (info.status != ERROR_SUCCESS) return info;
    info.subkeys = subkeys;
    info.max_subkey_name_chars = max_subkey;
    info.max_class_chars = max_class;
    info.values = values;
    info.max_value_name_chars = max_value_name;
    info.max_value_data_bytes = max_value_data;
    info.last_write_time = FileTimeOf(written);
    return info;
  });
}

win::Status Win32Registry::CloseKey(RegistryKey key) {
  if (Predefined(key) != nullptr) return ERROR_SUCCESS;
  return calls_.Run<win::Status>([keys = keys_, key] {
    void* opened = keys->Take(key);
    if (opened == nullptr) return win::Status{ERROR_INVALID_HANDLE};
    return static_cast<win::Status>(::RegCloseKey(static_cast<HKEY>(opened)));
  });
}

}  // namespace tabulon::platform::win32
