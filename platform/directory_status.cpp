#include "platform/directory_status.h"

#include <array>
#include <string>

namespace tabulon::platform {
namespace {

struct LdapRow {
  int code;
  win::Status win32;
  win::Status hresult;  // 0: the HRESULT of `win32`
};

constexpr std::array kLdapResults{
    LdapRow{1, win::ERROR_DS_OPERATIONS_ERROR, 0},
    LdapRow{2, win::ERROR_DS_PROTOCOL_ERROR, 0},
    LdapRow{3, win::ERROR_DS_TIMELIMIT_EXCEEDED, 0},
    LdapRow{kLdapSizeLimitExceeded, win::ERROR_DS_SIZELIMIT_EXCEEDED, 0},
    LdapRow{7, win::ERROR_DS_AUTH_METHOD_NOT_SUPPORTED, 0},
    LdapRow{8, win::ERROR_DS_STRONG_AUTH_REQUIRED, 0},
    LdapRow{10, win::ERROR_DS_REFERRAL, 0},
    LdapRow{11, win::ERROR_DS_ADMIN_LIMIT_EXCEEDED, 0},
    LdapRow{12, win::ERROR_DS_UNAVAILABLE_CRIT_EXTENSION, 0},
    LdapRow{kLdapConfidentialityRequired, win::ERROR_DS_CONFIDENTIALITY_REQUIRED, 0},
    LdapRow{16, win::ERROR_DS_NO_ATTRIBUTE_OR_VALUE, 0},
    LdapRow{17, win::ERROR_DS_ATTRIBUTE_TYPE_UNDEFINED, 0},
    LdapRow{18, win::ERROR_DS_INAPPROPRIATE_MATCHING, 0},
    LdapRow{19, win::ERROR_DS_CONSTRAINT_VIOLATION, 0},
    LdapRow{kLdapNoSuchObject, win::ERROR_DS_NO_SUCH_OBJECT, 0},
    LdapRow{34, win::ERROR_DS_INVALID_DN_SYNTAX, 0},
    LdapRow{48, win::ERROR_DS_INAPPROPRIATE_AUTH, 0},
    LdapRow{kLdapInvalidCredentials, win::ERROR_LOGON_FAILURE, 0},
    LdapRow{50, win::ERROR_ACCESS_DENIED, 0},
    LdapRow{51, win::ERROR_DS_BUSY, 0},
    LdapRow{52, win::ERROR_DS_UNAVAILABLE, 0},
    LdapRow{kLdapUnwillingToPerform, win::ERROR_DS_UNWILLING_TO_PERFORM, 0},
    LdapRow{kLdapServerDown, win::ERROR_DS_SERVER_DOWN, 0},
    LdapRow{0x52, win::ERROR_DS_LOCAL_ERROR, 0},
    LdapRow{0x53, win::ERROR_DS_ENCODING_ERROR, 0},
    LdapRow{kLdapDecodingError, win::ERROR_DS_DECODING_ERROR, 0},
    LdapRow{kLdapTimeout, win::ERROR_TIMEOUT, 0},
    LdapRow{0x56, win::ERROR_DS_AUTH_UNKNOWN, 0},
    // A filter the client cannot even encode is the interface's own refusal.
    LdapRow{kLdapFilterError, win::ERROR_DS_FILTER_UNKNOWN, win::E_ADS_INVALID_FILTER},
    LdapRow{kLdapUserCancelled, win::ERROR_CANCELLED, 0},
    LdapRow{kLdapParamError, win::ERROR_DS_PARAM_ERROR, 0},
    LdapRow{0x5A, win::ERROR_NOT_ENOUGH_MEMORY, 0},
    // Refused, unreachable, or a certificate that does not verify: the
    // server is not operational as far as the caller can tell.
    LdapRow{kLdapConnectError, win::ERROR_DS_SERVER_DOWN, 0},
    LdapRow{kLdapNotSupported, win::ERROR_DS_NOT_SUPPORTED, 0},
    LdapRow{0x60, win::ERROR_DS_CLIENT_LOOP, 0},
    LdapRow{0x61, win::ERROR_DS_REFERRAL_LIMIT_EXCEEDED, 0},
};

}  // namespace

DirectoryStatus DirectoryStatusFromLdap(int result_code, std::string_view diagnostic) {
  DirectoryStatus status;
  if (result_code == kLdapSuccess) return status;
  status.status = win::E_FAIL;
  status.extended_code = win::ERROR_DS_OPERATIONS_ERROR;
  for (const LdapRow& row : kLdapResults) {
    if (row.code == result_code) {
      status.extended_code = row.win32;
      status.status = row.hresult != 0 ? row.hresult : DirectoryHresult(row.win32);
      break;
    }
  }
  status.extended_text =
      diagnostic.empty() ? "LDAP result " + std::to_string(result_code) : std::string(diagnostic);
  return status;
}

DirectoryStatus DirectoryCancelled() {
  return DirectoryStatusFromLdap(kLdapUserCancelled, "the run was stopped");
}

}  // namespace tabulon::platform
