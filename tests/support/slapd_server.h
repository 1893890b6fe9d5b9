#pragma once
// A real slapd for the directory tests: in a fresh temporary folder, inside
// the test process's own network namespace (IsolateNetwork), with a
// configuration, a certificate authority and a server certificate made by
// the test, loaded with an LDIF before it starts. It serves ldap:// and
// ldaps:// on loopback and allows anonymous reads; the administrator's DN
// and password are for simple binds.
#include <memory>
#include <string>

#include "support/server_process.h"

namespace tabulon::testing {

inline constexpr const char* kSlapdAdminDn = "CN=admin,DC=tabulon,DC=test";
inline constexpr const char* kSlapdAdminPassword = "Tab-test-1";
// Entries one search returns at most unless it pages: fewer than the
// directory holds, so that only paged searches see everything.
inline constexpr int kSlapdSizeLimit = 500;

class SlapdServer {
 public:
  // Null with `why_not` set when it cannot start (not isolated, slapd or
  // openssl missing, the load or the start failed).
  static std::unique_ptr<SlapdServer> Start(std::string& why_not, const std::string& ldif);
  ~SlapdServer();
  SlapdServer(const SlapdServer&) = delete;
  SlapdServer& operator=(const SlapdServer&) = delete;

  std::string ldap_url() const { return "ldap://127.0.0.1:389"; }
  // The certificate names "localhost" and 127.0.0.1.
  std::string ldaps_url() const { return "ldaps://localhost:636"; }
  std::string ca_file() const { return folder_ + "/ca.pem"; }
  const std::string& folder() const { return folder_; }
  // A server that stops answering, and answers again.
  void Freeze(bool frozen) { slapd_.Freeze(frozen); }

 private:
  SlapdServer() = default;
  std::string folder_;
  KeptDaemon slapd_;
};

}  // namespace tabulon::testing
