#pragma once
// Real servers for the integration tests: a standalone smbd in a fresh
// temporary folder, inside a network and mount namespace of the test process
// so that no packet and no name lookup leaves the machine.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "support/server_process.h"
#include "support/server_required.h"

namespace tabulon::testing {

// Moves this process (which must still be single-threaded) into its own
// network, mount and UTS namespaces (host name "tabulontest"): only loopback, up; /etc/hosts,
// /etc/resolv.conf (resolver 127.0.0.1) and /etc/passwd (with the test user
// added) replaced by files in a temporary folder. Done once per process;
// every later call returns the first answer. Empty when isolated, else why
// not (not root, namespaces refused).
const std::string& IsolateNetwork();

// Appends `lines` ("address<TAB>names" each, ending in a newline) to the
// isolated hosts file, for servers a test reaches by other names and
// addresses of the loopback network. Empty on success, else why not (never
// touches the machine's own file: refused when not isolated).
std::string AddHostNames(const std::string& lines);

// What a shell command printed, standard output and error together.
std::string CommandOutput(const std::string& command);

// The Unix and SMB account the servers know.
inline constexpr const char* kSambaUser = "tabtest";
inline constexpr const char* kSambaPassword = "Tab-test-1";

// What a test adds to the server's smb.conf: lines of the [global] section
// (indented, each ending in a newline) and whole share sections.
struct SambaServerSetup {
  std::string global;
  std::string shares;
};

class SambaServer {
 public:
  // Starts smbd on 127.0.0.1:445 with its own smb.conf, state and a share,
  // and on the loopback `addresses` (127.x.y.z) too, so that one server
  // stands for several computers; null with `why_not` set when it cannot
  // (not isolated, smbd missing, the server did not come up). Call
  // IsolateNetwork() first.
  static std::unique_ptr<SambaServer> Start(std::string& why_not,
                                            const SambaServerSetup& setup = {},
                                            const std::vector<std::string>& addresses = {});
  ~SambaServer();
  SambaServer(const SambaServer&) = delete;
  SambaServer& operator=(const SambaServer&) = delete;

  // Makes the test user an administrator of the server: its Unix group is
  // mapped to BUILTIN\Administrators, which a standalone server's session,
  // file and registry services require. Empty on success, else why not.
  std::string MakeTestUserAdministrator() const;

  const std::string& folder() const { return folder_; }
  // The server's smb.conf, for Samba's own tools run against it.
  std::string configuration() const { return folder_ + "/smb.conf"; }
  // How long smbd took to accept connections.
  double startup_seconds() const { return startup_seconds_; }
  // Stops the server where it is (it falls silent), or lets it go on.
  void Freeze(bool frozen) { smbd_.Freeze(frozen); }

 private:
  SambaServer() = default;
  std::string folder_;
  KeptDaemon smbd_;
  double startup_seconds_ = 0;
};

// One standalone smbd for all the tests of a suite, started before the first
// and stopped after the last; each test is skipped, with the reason, where it
// did not start.
class SambaServerSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    if (!server_) SKIP_WITHOUT_SERVER(why_not_);
  }

  static std::unique_ptr<SambaServer> server_;
  static std::string why_not_;
};

}  // namespace tabulon::testing
