#include "bench/remote/populated_domain.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/samba_dc.h"
#include "support/server_process.h"

namespace tabulon::bench {
namespace {

namespace fs = std::filesystem;

// Accounts of one OU: spreads the accounts as a directory would.
constexpr int kUsersPerUnit = 500;
// Written last, so that an interrupted population is made again.
constexpr const char* kPopulated = "populated";

std::string UnitName(int unit) {
  char name[16];
  std::snprintf(name, sizeof name, "Bench%03d", unit);
  return name;
}

// Normal accounts that need no password: hashing 20,000 passwords would
// cost more than adding the accounts.
void WriteLdif(const std::string& path, int users) {
  std::ofstream out(path);
  const std::string base = std::string(",DC=") + "tabtest,DC=lan";
  for (int unit = 0; unit * kUsersPerUnit < users; ++unit) {
    out << "dn: OU=" << UnitName(unit) << base << "\nobjectClass: organizationalUnit\n\n";
  }
  for (int i = 1; i <= users; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "bench%05d", i);
    out << "dn: CN=" << name << ",OU=" << UnitName((i - 1) / kUsersPerUnit) << base
        << "\nobjectClass: user\nsAMAccountName: " << name
        << "\nuserAccountControl: 544\ndisplayName: Bench User " << i
        << "\ndescription: Benchmark account " << i << "\n\n";
  }
}

}  // namespace

std::string PopulatedDomain(int users, std::string& why_not) {
  const char* configured = std::getenv("TABULON_BENCH_DC_CACHE");
  const fs::path folder =
      configured != nullptr && *configured != '\0'
          ? fs::path(configured)
          : fs::temp_directory_path() / ("tabulon-dc-users" + std::to_string(users));
  const std::string marker = "users=" + std::to_string(users);
  if (testing::ReadFile((folder / kPopulated).string()) == marker) return folder.string();

  const std::string provisioned = testing::SambaDomainController::ProvisionedDomain(why_not);
  if (provisioned.empty()) return {};
  std::error_code error;
  fs::remove_all(folder, error);
  fs::copy(provisioned, folder, fs::copy_options::recursive, error);
  if (error) {
    why_not = "cannot copy the provisioned domain: " + error.message();
    return {};
  }
  const std::string ldif = (folder / "bench-users.ldif").string();
  WriteLdif(ldif, users);
  std::fprintf(stderr, "Adding %d accounts to %s (once; minutes)...\n", users,
               folder.string().c_str());
  std::string output;
  if (testing::RunCommand(
          "ldbadd --nosync -H 'tdb://" + (folder / "private/sam.ldb").string() + "' '" + ldif + "'",
          output) != 0) {
    why_not = "ldbadd failed (is ldb-tools installed?): " + output;
    return {};
  }
  fs::remove(ldif, error);
  testing::WriteFile((folder / kPopulated).string(), marker);
  return folder.string();
}

}  // namespace tabulon::bench
