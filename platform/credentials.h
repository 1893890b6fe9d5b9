#pragma once
// Who a session authenticates as. Credentials never come from the
// configuration itself: either a credentials file that only its owner can
// read, or the caller's Kerberos ticket cache.
//
// One object holds them for a whole run, owned by whoever composed the run
// (the program's backends); sessions, workers and directory connections
// refer to it and never copy the password.
#include <string>
#include <string_view>

#include "platform/secret.h"

namespace tabulon::platform {

struct Credentials {
  std::string username;
  Secret password;
  std::string domain;
  // Authenticate with the caller's Kerberos tickets instead of a password.
  bool use_kerberos = false;

  // Nothing given: the backend's own default (anonymous, or the estate).
  bool empty() const { return username.empty() && !use_kerberos; }
};

// No credentials: what a session refers to when it is given none.
inline const Credentials kNoCredentials{};

struct CredentialsParse {
  bool ok = false;
  Credentials credentials;
  // "line N: ..." when not ok. It names the line and, where it is one of
  // the known keys, the key: never a value, which may be a password.
  std::string error;
};

// The text of a credentials file: "username = NAME", "password = SECRET" and
// "domain = NAME" lines; blank lines and lines starting with "#" are
// ignored. A username written "DOMAIN\NAME" or "NAME@DOMAIN" gives the domain
// too. Unknown keys are refused so that a misspelt key does not silently
// authenticate as someone else. The password is copied once, into the
// result; the caller wipes `text`.
CredentialsParse ParseCredentials(std::string_view text);

}  // namespace tabulon::platform
