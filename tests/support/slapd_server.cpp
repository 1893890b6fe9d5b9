#include "support/slapd_server.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kSlapd = "/usr/sbin/slapd";
constexpr const char* kSlapadd = "/usr/sbin/slapadd";
constexpr const char* kOpenssl = "/usr/bin/openssl";

std::string Configuration(const fs::path& dir) {
  const std::string d = dir.string();
  return "include /etc/ldap/schema/core.schema\n"
         "include " TABULON_SOURCE_DIR
         "/tests/data/directory/ad-test.schema\n"
         "pidfile " +
         d +
         "/slapd.pid\n"
         "argsfile " +
         d +
         "/slapd.args\n"
         "modulepath /usr/lib/ldap\n"
         "moduleload back_mdb\n"
         "TLSCACertificateFile " +
         d +
         "/ca.pem\n"
         "TLSCertificateFile " +
         d +
         "/server.pem\n"
         "TLSCertificateKeyFile " +
         d +
         "/server.key\n"
         // Paged searches may return everything; others stop at the limit.
         "sizelimit size.soft=" +
         std::to_string(kSlapdSizeLimit) + " size.hard=" + std::to_string(kSlapdSizeLimit) +
         " size.prtotal=unlimited\n"
         "database mdb\n"
         "maxsize 268435456\n"
         "suffix \"DC=tabulon,DC=test\"\n"
         "rootdn \"" +
         std::string(kSlapdAdminDn) +
         "\"\n"
         "rootpw " +
         kSlapdAdminPassword +
         "\n"
         "directory " +
         d +
         "/db\n"
         // Indexed as a domain controller indexes them: the primary members
         // of a group are found by this attribute.
         "index objectClass eq\n"
         "index primaryGroupID eq\n"
         "access to * by * read\n";
}

// A CA and a server certificate for localhost and 127.0.0.1, valid for a day.
std::string MakeCertificates(const fs::path& dir) {
  const std::string d = dir.string();
  WriteFile(dir / "server.ext", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
  const std::string openssl = kOpenssl;
  const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
  const std::string commands[] = {
      openssl + " req -x509" + key + " -keyout " + d + "/ca.key -out " + d +
          "/ca.pem -days 1 -subj '/CN=Tabulon Test CA'",
      openssl + " req" + key + " -keyout " + d + "/server.key -out " + d +
          "/server.csr -subj '/CN=localhost'",
      openssl + " x509 -req -in " + d + "/server.csr -CA " + d + "/ca.pem -CAkey " + d +
          "/ca.key -CAcreateserial -out " + d + "/server.pem -days 1 -extfile " + d + "/server.ext",
  };
  for (const std::string& command : commands) {
    std::string output;
    if (RunCommand(command, output) != 0) return "openssl failed: " + output;
  }
  return {};
}

}  // namespace

std::unique_ptr<SlapdServer> SlapdServer::Start(std::string& why_not, const std::string& ldif) {
  if (!IsolateNetwork().empty()) {
    why_not = "no isolated network: " + IsolateNetwork();
    return nullptr;
  }
  if (::access(kSlapd, X_OK) != 0 || ::access(kSlapadd, X_OK) != 0 ||
      ::access(kOpenssl, X_OK) != 0) {
    why_not = "slapd, slapadd or openssl is not installed (scripts/install-deps)";
    return nullptr;
  }
  std::unique_ptr<SlapdServer> server(new SlapdServer);
  server->folder_ = MakeTempFolder("tabulon-slapd");
  const fs::path dir(server->folder_);
  fs::create_directories(dir / "db");
  const fs::path conf = dir / "slapd.conf";
  WriteFile(conf, Configuration(dir));
  WriteFile(dir / "data.ldif", ldif);
  why_not = MakeCertificates(dir);
  if (!why_not.empty()) return nullptr;

  std::string output;
  // -s: the tests' entries carry attributes their classes do not list.
  if (RunCommand(std::string(kSlapadd) + " -q -s -f " + conf.string() + " -l " +
                     (dir / "data.ldif").string(),
                 output) != 0) {
    why_not = "slapadd failed: " + output;
    return nullptr;
  }
  const std::string log = (dir / "slapd.out").string();
  why_not = server->slapd_.Start({kSlapd, "-d", "0", "-f", conf.string(), "-h",
                                  "ldap://127.0.0.1:389/ ldaps://127.0.0.1:636/"},
                                 log);
  if (!why_not.empty()) return nullptr;
  const auto give_up = Clock::now() + std::chrono::seconds(10);
  while (!Accepts("127.0.0.1", 389) || !Accepts("127.0.0.1", 636)) {
    if (server->slapd_.Ended()) {
      why_not = "slapd ended at start (" + server->slapd_.how_it_ended() + "): " + ReadFile(log);
      return nullptr;
    }
    if (Clock::now() > give_up) {
      why_not = "slapd did not accept connections within 10 s: " + ReadFile(log);
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return server;
}

SlapdServer::~SlapdServer() {
  slapd_.Stop();
  std::error_code ignored;
  if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

}  // namespace tabulon::testing
