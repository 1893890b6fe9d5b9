#include "platform/win32/lsa_policy.h"

// Before <windows.h>, whose macros would rename its methods.
#include "platform/win32/account_lookup.h"
#include "platform/win32/last_error.h"
#include "platform/win32/native_sid.h"
#include "platform/win32/wide.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <ntsecapi.h>

#include <algorithm>
#include <string>
#include <vector>

// The interface's method name, which <windows.h> takes for its A/W macro.
#undef LookupPrivilegeDisplayName

namespace tabulon::platform::win32 {
namespace {

// What an LSA call reports for malformed data, as the remote backend does.
const nt::Status kBadData = nt::FromWinError(RPC_X_BAD_STUB_DATA);

// A call's result and, apart, why the session did not make it (time-out,
// stop): the LSA results carry NTSTATUS values, not Windows errors.
template <typename Result>
struct Bounded {
  win::Status status = ERROR_SUCCESS;
  Result result{};
};

template <typename Result>
Result Unwrap(Bounded<Result> call) {
  if (call.status == ERROR_SUCCESS) return std::move(call.result);
  Result failed{};
  failed.status = nt::FromWinError(call.status);
  return failed;
}

// Frees what the LSA allocated on every path.
struct LsaMemory {
  void* buffer = nullptr;
  ~LsaMemory() {
    if (buffer != nullptr) ::LsaFreeMemory(buffer);
  }
};

// A counted string over `text`; false when it is too long to count.
bool CountedString(std::wstring& text, LSA_UNICODE_STRING& out) {
  if (text.size() > 0x7FFE) return false;
  out.Buffer = text.data();
  out.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  out.MaximumLength = out.Length;
  return true;
}

}  // namespace

nt::Status DecodeAccountsWithRight(const void* information, std::uint32_t count,
                                   std::vector<Sid>& sids) {
  sids.clear();
  // Nobody holding the right is STATUS_NO_MORE_ENTRIES: a success with no
  // accounts is no answer (a stub's).
  if (count == 0 || count > kMaxAccountsWithRight || information == nullptr) return kBadData;
  const auto* entries = static_cast<const LSA_ENUMERATION_INFORMATION*>(information);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::optional<Sid> parsed = SidOf(entries[i].Sid);
    if (!parsed) {
      sids.clear();
      return kBadData;
    }
    sids.push_back(std::move(*parsed));
  }
  return nt::STATUS_SUCCESS;
}

nt::Status DecodeAuditEvents(const void* information, PolicyAuditEventsInfo& info) {
  info = {};
  if (information == nullptr) return kBadData;
  const auto& events = *static_cast<const POLICY_AUDIT_EVENTS_INFO*>(information);
  const ULONG count = events.MaximumAuditEventCount;
  if (count > kMaxAuditEventCount || (count != 0 && events.EventAuditingOptions == nullptr)) {
    return kBadData;
  }
  info.auditing_mode = events.AuditingMode != FALSE;
  info.event_auditing_options.assign(events.EventAuditingOptions,
                                     events.EventAuditingOptions + count);
  return nt::STATUS_SUCCESS;
}

Win32LsaPolicy::~Win32LsaPolicy() {
  if (policies_->empty()) return;
  calls_.Release([policies = policies_] {
    for (void* policy : policies->TakeAll()) ::LsaClose(policy);
  });
}

LsaOpenResult Win32LsaPolicy::OpenPolicy(std::string_view system, std::uint32_t access) {
  return Unwrap(calls_.Run<Bounded<LsaOpenResult>>(
      [policies = policies_, system = std::string(system), access] {
        Bounded<LsaOpenResult> call;
        std::wstring machine = ToWide(system);
        LSA_UNICODE_STRING name{};
        if (!CountedString(machine, name)) {
          call.result.status = static_cast<nt::Status>(STATUS_INVALID_PARAMETER);
          return call;
        }
        LSA_OBJECT_ATTRIBUTES attributes{};
        LSA_HANDLE opened = nullptr;
        call.result.status = static_cast<nt::Status>(
            ::LsaOpenPolicy(machine.empty() ? nullptr : &name, &attributes, access, &opened));
        if (call.result.status == nt::STATUS_SUCCESS) call.result.handle = policies->Add(opened);
        return call;
      }));
}

nt::Status Win32LsaPolicy::Close(LsaHandle policy) {
  struct Closed {
    nt::Status status = nt::STATUS_SUCCESS;
  };
  return Unwrap(calls_.Run<Bounded<Closed>>([policies = policies_, policy] {
           Bounded<Closed> call;
           void* opened = policies->Take(policy);
           call.result.status = opened == nullptr ? static_cast<nt::Status>(STATUS_INVALID_HANDLE)
                                                  : static_cast<nt::Status>(::LsaClose(opened));
           return call;
         }))
      .status;
}

AccountsWithRightResult Win32LsaPolicy::EnumerateAccountsWithUserRight(LsaHandle policy,
                                                                       std::string_view right) {
  return Unwrap(calls_.Run<Bounded<AccountsWithRightResult>>(
      [policies = policies_, policy, right = std::string(right)] {
        Bounded<AccountsWithRightResult> call;
        AccountsWithRightResult& result = call.result;
        void* opened = policies->Find(policy);
        std::wstring wide = ToWide(right);
        LSA_UNICODE_STRING name{};
        if (opened == nullptr) {
          result.status = static_cast<nt::Status>(STATUS_INVALID_HANDLE);
        } else if (!CountedString(wide, name)) {
          result.status = static_cast<nt::Status>(STATUS_INVALID_PARAMETER);
        } else {
          LsaMemory buffer;
          ULONG count = 0;
          result.status = static_cast<nt::Status>(
              ::LsaEnumerateAccountsWithUserRight(opened, &name, &buffer.buffer, &count));
          if (result.status == nt::STATUS_SUCCESS) {
            result.status = DecodeAccountsWithRight(buffer.buffer, count, result.sids);
          }
        }
        return call;
      }));
}

AuditEventsResult Win32LsaPolicy::QueryAuditEvents(LsaHandle policy,
                                                   std::uint32_t information_class) {
  if (information_class != kPolicyAuditEventsInformation) {
    AuditEventsResult result;
    result.status = nt::STATUS_INVALID_INFO_CLASS;
    return result;
  }
  return Unwrap(calls_.Run<Bounded<AuditEventsResult>>([policies = policies_, policy] {
    Bounded<AuditEventsResult> call;
    AuditEventsResult& result = call.result;
    void* opened = policies->Find(policy);
    if (opened == nullptr) {
      result.status = static_cast<nt::Status>(STATUS_INVALID_HANDLE);
      return call;
    }
    LsaMemory buffer;
    result.status = static_cast<nt::Status>(
        ::LsaQueryInformationPolicy(opened, PolicyAuditEventsInformation, &buffer.buffer));
    if (result.status == nt::STATUS_SUCCESS) {
      result.status = DecodeAuditEvents(buffer.buffer, result.info);
    }
    return call;
  }));
}

PrivilegeDisplayNameResult Win32LsaPolicy::LookupPrivilegeDisplayName(std::string_view system,
                                                                      std::string_view name,
                                                                      std::uint32_t buffer_chars) {
  // Display names are a sentence at most.
  constexpr std::uint32_t kMaxDisplayChars = 1024;
  const std::uint32_t chars = std::min(buffer_chars, kMaxDisplayChars);
  return calls_.Run<PrivilegeDisplayNameResult>([system = std::string(system),
                                                 name = std::string(name), chars] {
    PrivilegeDisplayNameResult result;
    const std::wstring machine = ToWide(system);
    std::vector<wchar_t> buffer(std::max<std::uint32_t>(chars, 1));
    DWORD length = chars;
    DWORD language = 0;
    if (!::LookupPrivilegeDisplayNameW(machine.empty() ? nullptr : machine.c_str(),
                                       ToWide(name).c_str(), buffer.data(), &length, &language)) {
      result.status = FailureStatus();
      if (result.status == ERROR_INSUFFICIENT_BUFFER) result.required_chars = length;
      return result;
    }
    result.display_name =
        ToUtf8(std::wstring_view(buffer.data(), std::min<std::size_t>(length, chars)));
    result.language_id = language;
    return result;
  });
}

}  // namespace tabulon::platform::win32
