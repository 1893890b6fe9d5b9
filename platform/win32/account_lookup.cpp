#include "platform/win32/account_lookup.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/last_error.h"
#include "platform/win32/wide.h"

// The interface's method names, which <windows.h> takes for its A/W macros.
#undef LookupAccountName
#undef LookupAccountSid

namespace tabulon::platform::win32 {
namespace {

constexpr std::uint8_t kMaxSubAuthorities = 15;
constexpr std::size_t kMaxSidBytes = 8 + 4 * kMaxSubAuthorities;
// Names and domains are short; a size past this is no answer to believe.
constexpr DWORD kMaxNameChars = 32 * 1024;
constexpr DWORD kFirstNameChars = 256;

const wchar_t* SystemOrNull(const std::wstring& system) {
  return system.empty() ? nullptr : system.c_str();
}

std::string TextOf(const std::vector<wchar_t>& buffer) {
  return ToUtf8(std::wstring_view(buffer.data(), ::wcsnlen(buffer.data(), buffer.size())));
}

}  // namespace

SidNameUse NameUseOf(int use) {
  if (use < static_cast<int>(SidNameUse::kNone) || use > static_cast<int>(SidNameUse::kLabel)) {
    return SidNameUse::kUnknown;
  }
  return static_cast<SidNameUse>(use);
}

AccountOfSid Win32AccountLookup::LookupAccountSid(std::string_view system, const Sid& sid) {
  if (sid.sub_authorities.size() > kMaxSubAuthorities) return {ERROR_INVALID_SID, {}, {}, {}};
  std::vector<std::uint8_t> bytes;
  sid.AppendBytes(bytes);
  return calls_.Run<AccountOfSid>([system = std::string(system), bytes] {
    AccountOfSid result;
    const std::wstring machine = ToWide(system);
    std::vector<std::uint8_t> native = bytes;  // the call takes no const SID
    DWORD name_chars = kFirstNameChars;
    DWORD domain_chars = kFirstNameChars;
    // Sized again once when the names are longer than the first guess.
    for (int attempt = 0; attempt < 2; ++attempt) {
      std::vector<wchar_t> name(std::max<DWORD>(name_chars, 1));
      std::vector<wchar_t> domain(std::max<DWORD>(domain_chars, 1));
      SID_NAME_USE use = SidTypeUnknown;
      if (::LookupAccountSidW(SystemOrNull(machine), native.data(), name.data(), &name_chars,
                              domain.data(), &domain_chars, &use)) {
        result.name = TextOf(name);
        result.domain = TextOf(domain);
        result.use = NameUseOf(use);
        return result;
      }
      result.status = FailureStatus();
      if (result.status != ERROR_INSUFFICIENT_BUFFER || name_chars > kMaxNameChars ||
          domain_chars > kMaxNameChars) {
        return result;
      }
    }
    return result;
  });
}

SidOfAccount Win32AccountLookup::LookupAccountName(std::string_view system,
                                                   std::string_view account,
                                                   std::uint32_t sid_buffer_size) {
  return calls_.Run<SidOfAccount>([system = std::string(system), account = std::string(account),
                                   sid_buffer_size] {
    SidOfAccount result;
    const std::wstring machine = ToWide(system);
    const std::wstring name = ToWide(account);
    // The caller's SID buffer, no larger than any SID.
    const DWORD given = static_cast<DWORD>(std::min<std::size_t>(sid_buffer_size, kMaxSidBytes));
    DWORD domain_chars = kFirstNameChars;
    for (int attempt = 0; attempt < 2; ++attempt) {
      std::vector<std::uint8_t> sid(std::max<DWORD>(given, 1));
      std::vector<wchar_t> domain(std::max<DWORD>(domain_chars, 1));
      DWORD sid_size = given;
      SID_NAME_USE use = SidTypeUnknown;
      if (::LookupAccountNameW(SystemOrNull(machine), name.c_str(), sid.data(), &sid_size,
                               domain.data(), &domain_chars, &use)) {
        std::optional<Sid> found = SidFromNative(sid.data(), given);
        if (!found) {
          result.status = ERROR_INVALID_SID;
          return result;
        }
        result.sid = std::move(*found);
        result.domain = TextOf(domain);
        result.use = NameUseOf(use);
        return result;
      }
      result.status = FailureStatus();
      if (result.status != ERROR_INSUFFICIENT_BUFFER) return result;
      // The SID is the caller's to size; the domain is sized here.
      if (sid_size > given) {
        result.required_sid_size = sid_size;
        return result;
      }
      if (domain_chars > kMaxNameChars) return result;
    }
    return result;
  });
}

}  // namespace tabulon::platform::win32
