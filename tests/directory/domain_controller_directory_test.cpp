// The LDAP client against a real Active Directory domain controller: the
// Kerberos bind a domain expects, the refusal of a password sent in the
// clear, and the attribute syntaxes of a real schema.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/directory_status.h"
#include "platform/ldap/dc_locator.h"
#include "platform/ldap/ldap_directory.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

using platform::DirectoryHresult;
using platform::DirectoryValueKind;

constexpr const char* kDomainDn = "DC=tabtest,DC=lan";

class DirectoryOfADomain : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dc_ = SambaDomainController::Start(why_not_); }
  static void TearDownTestSuite() { dc_.reset(); }
  void SetUp() override {
    if (dc_ == nullptr) SKIP_WITHOUT_SERVER(why_not_);
  }

  static platform::DirectoryOpenOptions Options() {
    platform::DirectoryOpenOptions options;
    options.server = std::string("ldap://") + kDcHost;
    options.base = kDomainDn;
    options.timeout_ms = 30000;
    return options;
  }

  static std::unique_ptr<SambaDomainController> dc_;
  static std::string why_not_;
};
std::unique_ptr<SambaDomainController> DirectoryOfADomain::dc_;
std::string DirectoryOfADomain::why_not_;

TEST_F(DirectoryOfADomain, PasswordsAreNotSentInTheClear) {
  auto directory = platform::ldap::MakeLdapDirectorySearch({});
  platform::DirectoryOpenOptions options = Options();
  options.credentials = {kDcAdmin, kDcAdminPassword, kDcDomain, false};
  const platform::DirectoryStatus status = directory->Open(options);
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_STRONG_AUTH_REQUIRED))
      << status.extended_text;
  EXPECT_FALSE(status.extended_text.empty());
}

TEST_F(DirectoryOfADomain, KerberosBindReadsTheSchemaAndTheDomain) {
  const std::string cache = "FILE:" + dc_->folder() + "/ldap-ccache";
  ::setenv("KRB5_CONFIG", dc_->kerberos_configuration().c_str(), 1);
  ::setenv("KRB5CCNAME", cache.c_str(), 1);
  std::string output;
  if (RunCommand(std::string("echo '") + kDcAdminPassword + "' | kinit " + kDcAdmin + "@" +
                     kDcKerberosRealm,
                 output) != 0) {
    SKIP_WITHOUT_SERVER("kinit failed (is krb5-user installed?): " + output);
  }
  platform::SessionOptions session;
  session.credentials.use_kerberos = true;
  auto directory = platform::ldap::MakeLdapDirectorySearch(session);
  // No server named: the domain's controller as its DNS lists it.
  platform::DirectoryOpenOptions options = Options();
  options.server = "ldap://";
  const platform::DirectoryStatus opened = directory->Open(options);
  ASSERT_TRUE(opened.ok()) << std::hex << opened.status << " " << opened.extended_text;

  platform::AttributeKinds kinds;
  ASSERT_TRUE(platform::ReadAttributeKinds(
                  *directory, std::string("CN=Schema,CN=Configuration,") + kDomainDn, kinds)
                  .ok());
  EXPECT_GT(kinds.size(), 1000u);  // more than a page: the schema is read paged
  EXPECT_EQ(kinds["objectsid"], DirectoryValueKind::kOctetString);
  EXPECT_EQ(kinds["objectguid"], DirectoryValueKind::kOctetString);
  EXPECT_EQ(kinds["pwdlastset"], DirectoryValueKind::kLargeInteger);
  EXPECT_EQ(kinds["useraccountcontrol"], DirectoryValueKind::kInteger);
  EXPECT_EQ(kinds["member"], DirectoryValueKind::kDnString);
  EXPECT_EQ(kinds["ntsecuritydescriptor"], DirectoryValueKind::kSecurityDescriptor);
  EXPECT_EQ(kinds["whencreated"], DirectoryValueKind::kUtcTime);

  platform::SearchRequest request;
  request.filter = "(&(objectCategory=computer)(sAMAccountName=DC1$))";
  request.attributes = {"dNSHostName", "objectSid", "userAccountControl"};
  request.kinds = &kinds;
  std::vector<platform::DirectoryEntry> found;
  ASSERT_TRUE(directory
                  ->Search(request,
                           [&](platform::DirectoryEntry&& e) {
                             found.push_back(std::move(e));
                             return true;
                           })
                  .ok());
  ::unsetenv("KRB5_CONFIG");
  ::unsetenv("KRB5CCNAME");
  ASSERT_EQ(found.size(), 1u);
  ASSERT_NE(found[0].Find("dnshostname"), nullptr);
  EXPECT_EQ(found[0].Find("dnshostname")->values.front(), kDcHost);
  EXPECT_EQ(found[0].Find("objectsid")->kind, DirectoryValueKind::kOctetString);
}

TEST_F(DirectoryOfADomain, ControllersAreLocatedThroughDns) {
  const platform::ldap::LocatedControllers located =
      platform::ldap::LocateDomainControllers(kDcRealm);
  ASSERT_TRUE(located.status.ok()) << located.status.extended_text;
  ASSERT_EQ(located.controllers.size(), 1u);
  EXPECT_EQ(located.controllers[0].host, kDcHost);
  EXPECT_EQ(located.controllers[0].port, 389);
  EXPECT_EQ(platform::ldap::LocateDomainControllers("nowhere.invalid").status.status,
            DirectoryHresult(win::ERROR_NO_SUCH_DOMAIN));
}

}  // namespace
}  // namespace tabulon::testing
