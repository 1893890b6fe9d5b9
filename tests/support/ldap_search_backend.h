#pragma once
// Sessions of another backend (the estate) whose directory searches go to a
// real server over LDAP, optionally with pages smaller than the program asks
// for, so that a few hundred objects make many pages.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/credentials.h"
#include "platform/session.h"

namespace tabulon::testing {

class LdapSearchBackend final : public platform::SessionBackend {
 public:
  // `credentials`: who the directory binds as when the run names nobody
  // (referred to: they outlive the backend); `page_size`: entries per page
  // of every paged search (0: as asked).
  explicit LdapSearchBackend(platform::SessionBackend& other,
                             const platform::Credentials& credentials = platform::kNoCredentials,
                             std::uint32_t page_size = 0)
      : other_(other), credentials_(credentials), page_size_(page_size) {}
  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override;

 private:
  platform::SessionBackend& other_;
  const platform::Credentials& credentials_;
  std::uint32_t page_size_;
};

}  // namespace tabulon::testing
