#pragma once
// Who a session authenticates as. Credentials never come from the
// configuration itself: either a credentials file that only its owner can
// read, or the caller's Kerberos ticket cache.
#include <string>
#include <string_view>

namespace tabulon::platform {

struct Credentials {
  std::string username;
  std::string password;
  std::string domain;
  // Authenticate with the caller's Kerberos tickets instead of a password.
  bool use_kerberos = false;

  // Nothing given: the backend's own default (anonymous, or the estate).
  bool empty() const { return username.empty() && !use_kerberos; }
};

struct CredentialsParse {
  bool ok = false;
  Credentials credentials;
  std::string error;  // "line N: ..." when not ok
};

// The text of a credentials file: "username = NAME", "password = SECRET" and
// "domain = NAME" lines; blank lines and lines starting with "#" are
// ignored. A username written "DOMAIN\NAME" or "NAME@DOMAIN" gives the domain
// too. Unknown keys are refused so that a misspelt key does not silently
// authenticate as someone else.
CredentialsParse ParseCredentials(std::string_view text);

}  // namespace tabulon::platform
