#pragma once
// A real Active Directory domain controller for the domain paths of the
// integration tests: Samba's AD DC in a fresh copy of a provisioned domain,
// inside the test's own network and mount namespaces.
//
// Provisioning takes about 10 s, so the provisioned domain is kept in a
// cache folder (TABULON_DC_CACHE, else under the temporary folder) and each
// start copies it: later test programs of the same CI run start in about 2 s.
#include <memory>
#include <string>

#include "support/server_process.h"

namespace tabulon::testing {

inline constexpr const char* kDcDomain = "TABTEST";     // NetBIOS name
inline constexpr const char* kDcRealm = "tabtest.lan";  // DNS name
inline constexpr const char* kDcKerberosRealm = "TABTEST.LAN";
inline constexpr const char* kDcName = "DC1";  // the controller
inline constexpr const char* kDcHost = "dc1.tabtest.lan";
inline constexpr const char* kDcAdmin = "Administrator";
inline constexpr const char* kDcAdminPassword = "Tab-admin-1";
// Computer accounts the domain has besides the controller's own.
inline constexpr const char* kDcComputers[] = {"SRV01", "WS01", "WS02"};

class SambaDomainController {
 public:
  // Null with `why_not` set when it cannot start (not isolated, the AD DC
  // packages missing, provisioning failed, the server did not come up).
  // Call IsolateNetwork() first.
  // With `domain`, a folder PopulatedDomain made, it starts that domain
  // instead of the provisioned one.
  static std::unique_ptr<SambaDomainController> Start(std::string& why_not,
                                                      const std::string& domain = {});
  // The provisioned domain each start copies, provisioned first if need be;
  // empty with `why_not` set when it cannot be.
  static std::string ProvisionedDomain(std::string& why_not);
  // The provisioned domain with the entries of `ldif` added offline
  // (ldbadd), kept in a cache folder of its own named after `name` and made
  // again only when the LDIF changes; empty with `why_not` set when it
  // cannot be made.
  static std::string PopulatedDomain(const std::string& name, const std::string& ldif,
                                     std::string& why_not);
  ~SambaDomainController();
  SambaDomainController(const SambaDomainController&) = delete;
  SambaDomainController& operator=(const SambaDomainController&) = delete;

  const std::string& folder() const { return folder_; }
  // Its smb.conf, for Samba's own tools run against it.
  std::string configuration() const { return folder_ + "/etc/smb.conf"; }
  // A krb5.conf for its realm (KRB5_CONFIG), with the KDC at 127.0.0.1.
  std::string kerberos_configuration() const { return folder_ + "/krb5.conf"; }
  double startup_seconds() const { return startup_seconds_; }

 private:
  SambaDomainController() = default;
  std::string folder_;
  KeptDaemon samba_;
  bool run_mounted_ = false;
  double startup_seconds_ = 0;
};

}  // namespace tabulon::testing
