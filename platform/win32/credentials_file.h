#pragma once
// Reading a credentials file: refused unless it is a regular file owned by
// the user running the program that no one but its owner, SYSTEM and the
// Administrators can read or write.
#include <string>

#include "platform/credentials.h"

namespace tabulon::platform {

struct CredentialsFileResult {
  bool ok = false;
  Credentials credentials;
  std::string error;  // names the file and the cause, never a value
};

CredentialsFileResult ReadCredentialsFile(const std::string& path);

}  // namespace tabulon::platform
