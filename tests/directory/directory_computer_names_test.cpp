// A directory computer's access name read from a real slapd, through the
// options a directory path and the configured server give.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "engine/directory_computers.h"
#include "engine/directory_target.h"
#include "platform/ldap/ldap_directory.h"
#include "support/directory_data.h"
#include "support/server_required.h"
#include "support/slapd_server.h"

namespace tabulon::testing {
namespace {

class DirectoryComputerNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = SlapdServer::Start(why_not_, MakeTestDirectoryLdif()).release();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (server_ == nullptr) SKIP_WITHOUT_SERVER(why_not_);
  }

  static SlapdServer* server_;
  static std::string why_not_;
  std::atomic<int> cancel_flag_{0};
  platform::SessionOptions session_{{}, 10000, platform::CancelToken(&cancel_flag_)};
};

SlapdServer* DirectoryComputerNames::server_ = nullptr;
std::string DirectoryComputerNames::why_not_;

TEST_F(DirectoryComputerNames, ReadFromTheConfiguredServer) {
  const struct {
    const char* path;
    win::Status status;
    const char* cn;
    const char* dns_host_name;
  } cases[] = {
      {"LDAP://CN=WS0001,OU=Computers,DC=tabulon,DC=test", 0, "WS0001", "ws0001.tabulon.test"},
      // The path's own server is not the one configured.
      {"LDAP://nowhere.invalid/CN=WS0004,OU=Computers,DC=tabulon,DC=test", 0, "WS0004", ""},
      {"LDAP://CN=WS9999,OU=Computers,DC=tabulon,DC=test",
       platform::DirectoryHresult(win::ERROR_DS_NO_SUCH_OBJECT), "", ""},
  };
  const std::unique_ptr<platform::DirectorySearch> ldap =
      platform::ldap::MakeLdapDirectorySearch(session_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string cn;
    std::string dns_host_name;
    const platform::DirectoryStatus status = ReadComputerNames(
        *ldap, DirectoryOpenOptionsFor(c.path, {server_->ldap_url(), "", false}, session_), cn,
        dns_host_name);
    EXPECT_EQ(status.status, c.status) << status.extended_text;
    EXPECT_EQ(cn, c.cn);
    EXPECT_EQ(dns_host_name, c.dns_host_name);
  }
}

}  // namespace
}  // namespace tabulon::testing
