// The registry over winreg against a real smbd: what our own encoding reads
// is what Samba's own client lists for the same keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

using platform::Registry;
using platform::RegistryKey;

// The names `net rpc registry enumerate` prints for `path`, lines
// "Keyname   = NAME" for subkeys and "Valuename  = NAME" for values.
struct Listing {
  std::set<std::string> keys;
  std::set<std::string> values;
  std::string output;
};

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

Listing NetEnumerate(const SambaServer& server, const std::string& path) {
  Listing listing;
  listing.output = Output("net rpc registry enumerate '" + path + "' -s " + server.configuration() +
                          " -U " + kSambaUser + "%" + kSambaPassword + " -I 127.0.0.1 2>&1");
  std::size_t at = 0;
  while (at < listing.output.size()) {
    std::size_t end = listing.output.find('\n', at);
    if (end == std::string::npos) end = listing.output.size();
    const std::string line = listing.output.substr(at, end - at);
    at = end + 1;
    const std::size_t eq = line.find(" = ");
    if (eq == std::string::npos) continue;
    const std::string field = line.substr(0, line.find(' '));
    const std::string name = line.substr(eq + 3);
    if (field == "Keyname") listing.keys.insert(name);
    if (field == "Valuename") listing.values.insert(name);
  }
  return listing;
}

class RemoteRegistryOfARealServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    server_ = SambaServer::Start(why_not);
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    // The registry service opens its hives to administrators only.
    ASSERT_EQ(server_->MakeTestUserAdministrator(), "");
    session_ = backend_.Open("\\\\127.0.0.1", TestUserLogin());
  }

  Registry& registry() { return session_->registry(); }

  // Subkey and value names of `path` below HKEY_LOCAL_MACHINE, read by index
  // until the first failure.
  Listing Enumerate(const std::string& path) {
    Listing listing;
    const platform::RegistryKeyResult connected =
        registry().ConnectRegistry("\\\\127.0.0.1", platform::kHkeyLocalMachine);
    EXPECT_EQ(connected.status, win::ERROR_SUCCESS);
    const RegistryKey hklm = connected.key;
    const platform::RegistryKeyResult key = registry().OpenKey(hklm, path, platform::kKeyRead);
    EXPECT_EQ(key.status, win::ERROR_SUCCESS) << path;
    for (std::uint32_t i = 0;; ++i) {
      const platform::RegistryEnumKeyResult sub = registry().EnumKey(key.key, i, 256);
      if (sub.status != win::ERROR_SUCCESS) {
        EXPECT_EQ(sub.status, win::ERROR_NO_MORE_ITEMS);
        break;
      }
      listing.keys.insert(sub.name);
    }
    for (std::uint32_t i = 0;; ++i) {
      const platform::RegistryEnumValueResult value =
          registry().EnumValue(key.key, i, 16384, 64 * 1024);
      if (value.status != win::ERROR_SUCCESS) {
        EXPECT_EQ(value.status, win::ERROR_NO_MORE_ITEMS);
        break;
      }
      listing.values.insert(value.name);
    }
    registry().CloseKey(key.key);
    registry().CloseKey(hklm);
    return listing;
  }

  std::unique_ptr<SambaServer> server_;
  platform::remote::RemoteBackend backend_{SambaTransports, nullptr};
  std::unique_ptr<platform::TargetSession> session_;
};

// The names of two keys Samba's registry holds, read by index through our
// own encoding, are those Samba's own client lists.
TEST_F(RemoteRegistryOfARealServer, NamesAreThoseSambasOwnClientLists) {
  for (const std::string path :
       {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SYSTEM\\CurrentControlSet\\Services"}) {
    SCOPED_TRACE(path);
    const Listing theirs = NetEnumerate(*server_, "HKLM\\" + path);
    ASSERT_FALSE(theirs.keys.empty() && theirs.values.empty()) << theirs.output;
    const Listing ours = Enumerate(path);
    EXPECT_EQ(ours.keys, theirs.keys);
    EXPECT_EQ(ours.values, theirs.values);
  }
}

}  // namespace
}  // namespace tabulon::testing
