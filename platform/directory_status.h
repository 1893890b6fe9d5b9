#pragma once
// LDAP result codes as the directory interface of a Windows system reports
// them: an HRESULT (mostly a directory-service status in facility 7) with the
// Win32 status and the server's diagnostic message as the extended error.
#include <string_view>

#include "platform/directory_search.h"

namespace tabulon::platform {

// Result codes of the protocol (RFC 4511) and of the client API
// (0x51 server down and on, as RFC 1823 numbers them).
inline constexpr int kLdapSuccess = 0;
inline constexpr int kLdapSizeLimitExceeded = 4;
inline constexpr int kLdapConfidentialityRequired = 13;
inline constexpr int kLdapNoSuchObject = 32;
inline constexpr int kLdapInvalidCredentials = 49;
inline constexpr int kLdapUnwillingToPerform = 53;
inline constexpr int kLdapServerDown = 0x51;
inline constexpr int kLdapDecodingError = 0x54;
inline constexpr int kLdapTimeout = 0x55;
inline constexpr int kLdapFilterError = 0x57;
inline constexpr int kLdapUserCancelled = 0x58;
inline constexpr int kLdapParamError = 0x59;
inline constexpr int kLdapConnectError = 0x5B;
inline constexpr int kLdapNotSupported = 0x5C;

// The status of an LDAP result; `diagnostic` (the server's or the client
// library's words) becomes the extended error text.
DirectoryStatus DirectoryStatusFromLdap(int result_code, std::string_view diagnostic);

// A search or bind that ended because the run was stopped or cancelled
// (ERROR_CANCELLED).
DirectoryStatus DirectoryCancelled();

}  // namespace tabulon::platform
