#include "support/samba_dc.h"

#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kSamba = "/usr/sbin/samba";
constexpr const char* kSambaTool = "/usr/bin/samba-tool";
constexpr const char* kRpcclient = "/usr/bin/rpcclient";
constexpr const char* kLdbadd = "/usr/bin/ldbadd";
// Changes whenever what is provisioned changes, so an old cache is not used.
constexpr const char* kCacheVersion = "tabulon-dc-v1";
constexpr const char* kProvisioned = "provisioned";

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// Paths are absolute in smb.conf only; the databases name their files
// relative to the private folder, so a copied domain works from its new place.
std::string Configuration(const std::string& d) {
  return std::string("[global]\n") + "  netbios name = " + kDcName +
         "\n"
         "  workgroup = " +
         kDcDomain +
         "\n"
         "  realm = " +
         kDcRealm +
         "\n"
         "  server role = active directory domain controller\n"
         "  interfaces = 127.0.0.1\n"
         "  bind interfaces only = yes\n"
         "  disable netbios = yes\n"
         "  dns forwarder = 127.0.0.1\n"
         "  binddns dir = " +
         d +
         "/bind-dns\n"
         "  cache directory = " +
         d +
         "/cache\n"
         "  lock directory = " +
         d +
         "\n"
         "  state directory = " +
         d +
         "/state\n"
         "  private dir = " +
         d +
         "/private\n"
         "  pid directory = " +
         d +
         "/pid\n"
         "  ncalrpc dir = " +
         d +
         "/ncalrpc\n"
         "  log file = " +
         d +
         "/log/log.%m\n"
         "  log level = 1\n"
         "\n"
         "[sysvol]\n"
         "  path = " +
         d +
         "/state/sysvol\n"
         "  read only = no\n"
         "\n"
         "[netlogon]\n"
         "  path = " +
         d + "/state/sysvol/" + kDcRealm +
         "/scripts\n"
         "  read only = no\n";
}

// The realm's KDC named outright, so that Kerberos needs no DNS.
std::string KerberosConfiguration() {
  const std::string realm = kDcKerberosRealm;
  return "[libdefaults]\n"
         "  default_realm = " +
         realm +
         "\n"
         "  dns_lookup_realm = false\n"
         "  dns_lookup_kdc = false\n"
         "  rdns = false\n"
         "  dns_canonicalize_hostname = false\n"
         "[realms]\n  " +
         realm +
         " = {\n    kdc = 127.0.0.1\n  }\n"
         "[domain_realm]\n  ." +
         kDcRealm + " = " + realm + "\n  " + kDcRealm + " = " + realm + "\n";
}

// Provisions the domain into a new folder and adds its computers; the folder
// on success, else empty with `why_not`.
std::string Provision(std::string& why_not) {
  const std::string dir = MakeTempFolder("tabulon-dc-provision");
  if (dir.empty()) {
    why_not = Errno("mkdtemp");
    return {};
  }
  std::string output;
  const std::string provision =
      std::string(kSambaTool) + " domain provision --realm=" + kDcRealm + " --domain=" + kDcDomain +
      " --server-role=dc --dns-backend=SAMBA_INTERNAL" +
      " --adminpass=" + Quoted(kDcAdminPassword) + " --host-name=dc1 --host-ip=127.0.0.1" +
      " --targetdir=" + Quoted(dir) + " --option='interfaces=127.0.0.1'" +
      " --option='bind interfaces only=yes' --option='dns forwarder=127.0.0.1'";
  if (RunCommand(provision, output) != 0) {
    why_not =
        "domain provisioning failed (are samba-ad-provision, samba-dsdb-modules and "
        "samba-vfs-modules installed? scripts/install-deps): " +
        output.substr(output.size() > 2000 ? output.size() - 2000 : 0);
    fs::remove_all(dir);
    return {};
  }
  for (const char* computer : kDcComputers) {
    if (RunCommand(std::string(kSambaTool) + " computer create " + computer + " -s " +
                       Quoted(dir + "/etc/smb.conf") + " -H " +
                       Quoted("tdb://" + dir + "/private/sam.ldb"),
                   output) != 0) {
      why_not = std::string("adding computer ") + computer + " failed: " + output;
      fs::remove_all(dir);
      return {};
    }
  }
  WriteFile(dir + "/" + kProvisioned, kCacheVersion);
  return dir;
}

// The cached provisioned domain, made on first use.
std::string CachedDomain(std::string& why_not) {
  const char* configured = std::getenv("TABULON_DC_CACHE");
  const fs::path cache = configured != nullptr && *configured != '\0'
                             ? fs::path(configured)
                             : fs::temp_directory_path() / kCacheVersion;
  if (ReadFile((cache / kProvisioned).string()) == kCacheVersion) return cache.string();
  const std::string made = Provision(why_not);
  if (made.empty()) return {};
  std::error_code error;
  fs::remove_all(cache, error);
  fs::create_directories(cache.parent_path(), error);
  fs::rename(made, cache, error);
  if (error) {
    // Another test program may have put its copy there first.
    fs::remove_all(made, error);
    if (ReadFile((cache / kProvisioned).string()) != kCacheVersion) {
      why_not = "cannot keep the provisioned domain in " + cache.string();
      return {};
    }
  }
  return cache.string();
}

// The server answers an authenticated RPC call (its SMB port accepts before
// authentication works).
bool Answers(const std::string& conf) {
  std::string output;
  return RunCommand(std::string(kRpcclient) + " -s " + Quoted(conf) + " -U " +
                        Quoted(std::string(kDcDomain) + "\\" + kDcAdmin + "%" + kDcAdminPassword) +
                        " --use-kerberos=off -c srvinfo 127.0.0.1",
                    output) == 0;
}

}  // namespace

std::unique_ptr<SambaDomainController> SambaDomainController::Start(std::string& why_not,
                                                                    const std::string& domain) {
  if (!IsolateNetwork().empty()) {
    why_not = "no isolated network: " + IsolateNetwork();
    return nullptr;
  }
  if (::access(kSamba, X_OK) != 0 || ::access(kSambaTool, X_OK) != 0 ||
      ::access(kRpcclient, X_OK) != 0) {
    why_not = "samba, samba-tool or rpcclient is not installed (scripts/install-deps)";
    return nullptr;
  }
  const auto started = Clock::now();
  const std::string cache = domain.empty() ? CachedDomain(why_not) : domain;
  if (cache.empty()) return nullptr;

  std::unique_ptr<SambaDomainController> dc(new SambaDomainController);
  dc->folder_ = MakeTempFolder("tabulon-dc");
  if (dc->folder_.empty()) {
    why_not = Errno("mkdtemp");
    return nullptr;
  }
  std::error_code error;
  fs::copy(cache, dc->folder_, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
           error);
  if (error) {
    why_not = "cannot copy the provisioned domain: " + error.message();
    return nullptr;
  }
  const std::string& d = dc->folder_;
  for (const char* sub : {"cache", "pid", "ncalrpc", "log", "run"}) {
    fs::create_directories(d + "/" + sub);
  }
  WriteFile(dc->configuration(), Configuration(d));
  WriteFile(dc->kerberos_configuration(), KerberosConfiguration());
  // Samba's tools find winbindd's socket at its built-in place only: give
  // this namespace its own.
  if (::mount((d + "/run").c_str(), "/run/samba", nullptr, MS_BIND, nullptr) != 0) {
    why_not = Errno("bind mount over /run/samba");
    return nullptr;
  }
  dc->run_mounted_ = true;

  why_not = dc->samba_.Start(
      {kSamba, "--foreground", "--no-process-group", "--debug-stdout", "-s", dc->configuration()},
      d + "/samba.out");
  if (!why_not.empty()) return nullptr;
  const auto give_up = Clock::now() + std::chrono::seconds(60);
  while (!Accepts("127.0.0.1", 445) || !Accepts("127.0.0.1", 389) ||
         !Answers(dc->configuration())) {
    if (dc->samba_.Ended()) {
      why_not =
          "samba ended at start (" + dc->samba_.how_it_ended() + "): " + ReadFile(d + "/samba.out");
      return nullptr;
    }
    if (Clock::now() > give_up) {
      why_not = "the domain controller did not answer within 60 s";
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  dc->startup_seconds_ = std::chrono::duration<double>(Clock::now() - started).count();
  return dc;
}

std::string SambaDomainController::ProvisionedDomain(std::string& why_not) {
  return CachedDomain(why_not);
}

std::string SambaDomainController::PopulatedDomain(const std::string& name, const std::string& ldif,
                                                   std::string& why_not) {
  const std::string provisioned = CachedDomain(why_not);
  if (provisioned.empty()) return {};
  const fs::path cache(provisioned + "-" + name);
  const std::string marker =
      std::string(kCacheVersion) + " " + std::to_string(std::hash<std::string>{}(ldif));
  if (ReadFile((cache / kProvisioned).string()) == marker) return cache.string();
  if (::access(kLdbadd, X_OK) != 0) {
    why_not = "ldbadd is not installed (ldb-tools, scripts/install-deps)";
    return {};
  }
  const std::string made = MakeTempFolder("tabulon-dc-populate");
  std::error_code error;
  fs::copy(provisioned, made, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
           error);
  // The copy's own configuration, so that the tool's modules touch nothing
  // outside it.
  WriteFile(made + "/etc/smb.conf", Configuration(made));
  WriteFile(made + "/populate.ldif", ldif);
  std::string output;
  if (error ||
      RunCommand(std::string(kLdbadd) + " --nosync --configfile=" + Quoted(made + "/etc/smb.conf") +
                     " -H " + Quoted("tdb://" + made + "/private/sam.ldb") + " " +
                     Quoted(made + "/populate.ldif"),
                 output) != 0) {
    why_not = "adding the entries failed: " + (error ? error.message() : output);
    fs::remove_all(made, error);
    return {};
  }
  fs::remove(made + "/populate.ldif", error);
  WriteFile(made + "/" + kProvisioned, marker);
  fs::remove_all(cache, error);
  fs::rename(made, cache, error);
  if (error) {
    // Another test program may have put its copy there first.
    fs::remove_all(made, error);
    if (ReadFile((cache / kProvisioned).string()) != marker) {
      why_not = "cannot keep the populated domain in " + cache.string();
      return {};
    }
  }
  return cache.string();
}

SambaDomainController::~SambaDomainController() {
  samba_.Stop();
  if (run_mounted_) ::umount2("/run/samba", MNT_DETACH);
  std::error_code ignored;
  if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

}  // namespace tabulon::testing
