#include "platform/credentials_file.h"

#include <string_view>
#include <utility>

namespace tabulon::platform {

CredentialsFileResult CredentialsFileFailure(const std::string& path, const std::string& cause) {
  CredentialsFileResult result;
  result.error = "credentials file '" + path + "': " + cause;
  return result;
}

CredentialsFileResult CredentialsFromFileText(const std::string& path, std::string& text,
                                              std::size_t length) {
  CredentialsParse parsed = ParseCredentials(std::string_view(text).substr(0, length));
  WipeText(text);
  if (!parsed.ok) return CredentialsFileFailure(path, parsed.error);
  CredentialsFileResult result;
  result.ok = true;
  result.credentials = std::move(parsed.credentials);
  return result;
}

}  // namespace tabulon::platform
