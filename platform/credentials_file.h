#pragma once
// Reading a credentials file ([Platform] Credentials=): refused unless it is
// a regular file owned by the user running the program that no one else can
// read or write (on POSIX: mode 0600; on Windows: no access for anyone but
// its owner, SYSTEM and the Administrators). One implementation per system;
// what they share is below.
#include <cstddef>
#include <string>

#include "platform/credentials.h"

namespace tabulon::platform {

struct CredentialsFileResult {
  bool ok = false;
  Credentials credentials;
  std::string error;  // names the file and the cause, never a value
};

CredentialsFileResult ReadCredentialsFile(const std::string& path);

// The largest credentials file read.
inline constexpr std::size_t kCredentialsFileMaxBytes = std::size_t{64} * 1024;

// A refusal naming the file and the cause.
CredentialsFileResult CredentialsFileFailure(const std::string& path, const std::string& cause);
// The credentials in the first `length` bytes of `text`, the file's
// contents as read; `text` is wiped either way.
CredentialsFileResult CredentialsFromFileText(const std::string& path, std::string& text,
                                              std::size_t length);

}  // namespace tabulon::platform
