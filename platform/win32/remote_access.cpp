#include "platform/win32/remote_access.h"

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <string>

#include "platform/win32/wide.h"

#include <windows.h>

#include <mprapi.h>

namespace tabulon::platform::win32 {
namespace {

// rassapi's RAS_USER_0 (its header clashes with mprapi's over the name).
struct RassapiUser0 {
  BYTE bfPrivilege;
  WCHAR szPhoneNumber[128 + 1];
};
using RasAdminUserGetInfoFn = DWORD(WINAPI*)(const WCHAR*, const WCHAR*, RassapiUser0*);

const WCHAR* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

// The probe's result, kept for the session: the module stays loaded while
// its function may be called.
struct Win32RemoteAccess::Rassapi {
  std::once_flag probed;
  HMODULE module = nullptr;
  RasAdminUserGetInfoFn get_info = nullptr;

  ~Rassapi() {
    if (module != nullptr) ::FreeLibrary(module);
  }
  void Probe() {
    std::call_once(probed, [this] {
      module = ::LoadLibraryExW(L"rassapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
      if (module == nullptr) return;
      get_info = reinterpret_cast<RasAdminUserGetInfoFn>(
          reinterpret_cast<void*>(::GetProcAddress(module, "RasAdminUserGetInfo")));
    });
  }
};

RasUser0 RasUserOf(std::uint8_t privilege, const wchar_t* phone, std::size_t capacity) {
  RasUser0 user;
  user.privilege = privilege;
  if (phone != nullptr) {
    const std::size_t units = ::wcsnlen(phone, std::min(capacity, kMaxPhoneNumberLength));
    user.phone_number = ToUtf8(std::wstring_view(phone, units));
  }
  return user;
}

Win32RemoteAccess::Win32RemoteAccess(BoundedCalls& calls)
    : calls_(calls), rassapi_(std::make_shared<Rassapi>()) {}

Win32RemoteAccess::~Win32RemoteAccess() {
  // The last reference goes on the worker, which may still be calling it.
  calls_.Release([rassapi = std::move(rassapi_)]() mutable { rassapi.reset(); });
}

bool Win32RemoteAccess::Available() {
  struct Probed {
    win::Status status = ERROR_SUCCESS;
    bool found = false;
  };
  return calls_
      .Run<Probed>([rassapi = rassapi_] {
        rassapi->Probe();
        return Probed{ERROR_SUCCESS, rassapi->get_info != nullptr};
      })
      .found;
}

RasUserResult Win32RemoteAccess::MprAdminUserGetInfo(std::string_view server, std::string_view user,
                                                     std::uint32_t level) {
  if (level != 0) return {ERROR_INVALID_LEVEL, {}};
  return calls_.Run<RasUserResult>([server = ToWide(server), user = ToWide(user)] {
    RAS_USER_0 record{};
    RasUserResult result;
    result.status =
        ::MprAdminUserGetInfo(OrNull(server), user.c_str(), 0, reinterpret_cast<LPBYTE>(&record));
    if (result.status == ERROR_SUCCESS) {
      result.user =
          RasUserOf(record.bfPrivilege, record.wszPhoneNumber, std::size(record.wszPhoneNumber));
    }
    return result;
  });
}

RasUserResult Win32RemoteAccess::RasAdminUserGetInfo(std::string_view server,
                                                     std::string_view user) {
  return calls_.Run<RasUserResult>(
      [rassapi = rassapi_, server = ToWide(server), user = ToWide(user)] {
        RasUserResult result;
        rassapi->Probe();
        if (rassapi->get_info == nullptr) {
          result.status = ERROR_PROC_NOT_FOUND;
          return result;
        }
        RassapiUser0 record{};
        result.status = rassapi->get_info(OrNull(server), user.c_str(), &record);
        if (result.status == ERROR_SUCCESS) {
          result.user =
              RasUserOf(record.bfPrivilege, record.szPhoneNumber, std::size(record.szPhoneNumber));
        }
        return result;
      });
}

}  // namespace tabulon::platform::win32
