#include "platform/ldap/bind_texts.h"

#include <array>

#include "platform/directory_status.h"

namespace tabulon::platform::ldap {
namespace {

// What the Kerberos library says, as far as the SASL layer passes it on.
struct KerberosCause {
  std::string_view words;  // found in the diagnostic
  win::Status status;
  std::string_view meaning;
};

constexpr std::array kKerberosCauses{
    KerberosCause{"No Kerberos credentials available", win::ERROR_NO_SUCH_LOGON_SESSION,
                  "no Kerberos ticket in the ticket cache (kinit first)"},
    KerberosCause{"No credentials were supplied", win::ERROR_NO_SUCH_LOGON_SESSION,
                  "no Kerberos ticket in the ticket cache (kinit first)"},
    KerberosCause{"Ticket expired", win::ERROR_NO_SUCH_LOGON_SESSION,
                  "the Kerberos ticket has expired (kinit again)"},
    KerberosCause{"Cannot find KDC", win::ERROR_NO_LOGON_SERVERS,
                  "no Kerberos KDC of the realm can be found"},
    KerberosCause{"Cannot contact any KDC", win::ERROR_NO_LOGON_SERVERS,
                  "no Kerberos KDC of the realm answers"},
    KerberosCause{"not found in Kerberos database", win::ERROR_DS_AUTH_METHOD_NOT_SUPPORTED,
                  "the server has no Kerberos service principal: it takes no Kerberos logons"},
};

constexpr int kLdapAuthMethodNotSupported = 7;

}  // namespace

std::string SimpleBindName(const Credentials& credentials) {
  const std::string& user = credentials.username;
  if (credentials.domain.empty() || user.find_first_of("=@\\") != std::string::npos) return user;
  if (credentials.domain.find('.') != std::string::npos) return user + "@" + credentials.domain;
  return credentials.domain + "\\" + user;
}

DirectoryStatus ClearPasswordRefused(std::string_view url, std::string_view name) {
  return DirectoryStatusFromLdap(
      kLdapConfidentialityRequired,
      "the password of '" + std::string(name) + "' is not sent in the clear to " +
          std::string(url) +
          ": name an ldaps:// server ([Platform] DirectoryServer=ldaps://host:636), use StartTLS "
          "([Platform] DirectoryStartTls=1) or bind with Kerberos ([Platform] Kerberos=1)");
}

std::string RefusedBindText(std::string_view diagnostic, std::string_view name) {
  std::string text(diagnostic);
  if (name.find('=') != std::string_view::npos) {
    return text + " (bind DN sent: '" + std::string(name) + "')";
  }
  return text + " (bind name sent: '" + std::string(name) +
         "'; a directory server that is not a domain controller takes only a DN as the name of a "
         "simple bind: username = CN=admin,DC=example,DC=com in the credentials file)";
}

DirectoryStatus KerberosBindFailure(int result_code, std::string_view diagnostic) {
  for (const KerberosCause& cause : kKerberosCauses) {
    if (diagnostic.find(cause.words) == std::string_view::npos) continue;
    DirectoryStatus status;
    status.status = DirectoryHresult(cause.status);
    status.extended_code = cause.status;
    status.extended_text = std::string(cause.meaning) + ": " + std::string(diagnostic);
    return status;
  }
  if (result_code == kLdapAuthMethodNotSupported) {
    return DirectoryStatusFromLdap(
        result_code,
        "the server takes no Kerberos (SASL GSSAPI) binds: " + std::string(diagnostic));
  }
  return DirectoryStatusFromLdap(result_code, diagnostic);
}

}  // namespace tabulon::platform::ldap
