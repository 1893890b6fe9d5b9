// The directory client against a real slapd and the estate's directory fed
// the same LDIF: the same searches must give the same entries, and each kind
// of bad input a clear status within the timeout.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "estate/backend.h"
#include "estate/loader.h"
#include "platform/directory_status.h"
#include "platform/ldap/ldap_directory.h"
#include "platform/text.h"
#include "support/directory_data.h"
#include "support/server_required.h"
#include "support/slapd_server.h"

namespace tabulon::testing {
namespace {

using platform::DirectoryEntry;
using platform::DirectoryHresult;
using platform::DirectoryOpenOptions;
using platform::DirectoryStatus;
using platform::SearchRequest;
using platform::SearchScope;
using Clock = std::chrono::steady_clock;

// One entry as the comparison sees it: DN, then "name=value|value" per
// attribute by lower-case name. Values stay bytes; kinds are compared too.
std::string Canonical(const DirectoryEntry& entry) {
  std::vector<std::string> attributes;
  for (const platform::DirectoryAttribute& attribute : entry.attributes) {
    std::string line = text::ToLower(attribute.name) + "/" +
                       std::to_string(static_cast<int>(attribute.kind)) + "=";
    for (const std::string& value : attribute.values) line += value + "|";
    attributes.push_back(std::move(line));
  }
  std::sort(attributes.begin(), attributes.end());
  std::string out = text::ToLower(entry.dn);
  for (const std::string& line : attributes) out += "\n  " + line;
  return out;
}

struct Found {
  DirectoryStatus status;
  std::vector<std::string> entries;
};

Found SearchAll(platform::DirectorySearch& directory, const SearchRequest& request) {
  Found found;
  found.status = directory.Search(request, [&](DirectoryEntry&& entry) {
    found.entries.push_back(Canonical(entry));
    return true;
  });
  std::sort(found.entries.begin(), found.entries.end());
  return found;
}

// A TCP listener on 127.0.0.1 that never answers; with `record`, it accepts
// and keeps every byte it is sent.
class Listener {
 public:
  Listener(std::uint16_t port, bool record) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    ok_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
          ::listen(fd_, 4) == 0;
    if (ok_ && record) recorder_ = std::thread([this] { Record(); });
  }
  ~Listener() {
    stop_ = true;
    if (recorder_.joinable()) recorder_.join();
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return ok_; }
  int connections() const { return connections_; }
  std::string received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  void Record() {
    std::vector<pollfd> fds{{fd_, POLLIN, 0}};
    while (!stop_) {
      if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
      for (std::size_t i = 0; i < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP)) == 0) continue;
        if (i == 0) {
          const int peer = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
          if (peer >= 0) {
            ++connections_;
            fds.push_back({peer, POLLIN, 0});
          }
          continue;
        }
        char buffer[4096];
        const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
        if (got > 0) {
          std::lock_guard lock(mutex_);
          received_.append(buffer, static_cast<std::size_t>(got));
        } else {
          fds[i].events = 0;  // closed: nothing more to read
        }
      }
    }
    for (std::size_t i = 1; i < fds.size(); ++i) ::close(fds[i].fd);
  }

  int fd_ = -1;
  bool ok_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::string received_;
  std::thread recorder_;
};

class DirectorySearchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = SlapdServer::Start(why_not_, MakeTestDirectoryLdif()).release();
    if (server_ == nullptr) return;
    const std::string estate_text =
        R"({"domains": [{"name": "TABULON", "dns_name": "tabulon.test", "controller": "DC1",
             "directory": {"ldif": ")" +
        server_->folder() + R"(/data.ldif"}}],
            "computers": [{"name": "DC1", "domain": "TABULON", "address": "127.0.0.1"}]})";
    estate::LoadResult loaded = estate::ParseEstate(estate_text, "directory.json", "");
    if (!loaded.ok) {
      why_not_ = "the estate does not load: " + loaded.error;
      return;
    }
    estate_ = new estate::EstateBackend(std::move(loaded.estate));
  }
  static void TearDownTestSuite() {
    delete estate_;
    delete server_;
    estate_ = nullptr;
    server_ = nullptr;
  }

  void SetUp() override {
    if (server_ == nullptr || estate_ == nullptr) SKIP_WITHOUT_SERVER(why_not_);
    estate_session_ = estate_->Open("\\\\DC1", {});
    ldap_ = platform::ldap::MakeLdapDirectorySearch(session_);
  }

  DirectoryOpenOptions Options(const std::string& server) const {
    DirectoryOpenOptions options;
    options.server = server;
    options.base = kTestDomainDn;
    options.timeout_ms = 10000;
    return options;
  }

  // Both directories opened on the domain over plain LDAP.
  void OpenBoth() {
    ASSERT_TRUE(ldap_->Open(Options(server_->ldap_url())).ok());
    ASSERT_TRUE(estate_session_->directory_search().Open(Options(server_->ldap_url())).ok());
  }

  static SlapdServer* server_;
  static estate::EstateBackend* estate_;
  static std::string why_not_;
  std::atomic<int> cancel_flag_{0};
  platform::SessionOptions session_{{}, 10000, platform::CancelToken(&cancel_flag_)};
  std::unique_ptr<platform::TargetSession> estate_session_;
  std::unique_ptr<platform::DirectorySearch> ldap_;
};

SlapdServer* DirectorySearchTest::server_ = nullptr;
estate::EstateBackend* DirectorySearchTest::estate_ = nullptr;
std::string DirectorySearchTest::why_not_;

struct SearchCase {
  const char* name;
  const char* base;  // relative to the domain; empty: the domain
  SearchScope scope;
  const char* filter;
  std::vector<std::string> attributes;
  std::size_t expected;  // entries found
};

TEST_F(DirectorySearchTest, EveryBackendFindsTheSameEntries) {
  OpenBoth();
  platform::AttributeKinds kinds;
  ASSERT_TRUE(platform::ReadAttributeKinds(*ldap_, kTestSchemaDn, kinds).ok());
  platform::AttributeKinds estate_kinds;
  ASSERT_TRUE(
      platform::ReadAttributeKinds(estate_session_->directory_search(), kTestSchemaDn, estate_kinds)
          .ok());
  EXPECT_EQ(kinds, estate_kinds);
  EXPECT_EQ(kinds["objectsid"], platform::DirectoryValueKind::kOctetString);
  EXPECT_EQ(kinds["pwdlastset"], platform::DirectoryValueKind::kLargeInteger);

  const std::vector<std::string> account = {"sAMAccountName", "userAccountControl", "objectSid"};
  const SearchCase cases[] = {
      // More users than the server returns without paging.
      {"users", "", SearchScope::kSubtree, "(&(objectClass=user)(!(objectClass=computer)))",
       account, kTestUsers},
      {"computers",
       "OU=Computers",
       SearchScope::kOneLevel,
       "(objectClass=computer)",
       {"cn", "dNSHostName", "userAccountControl"},
       kTestComputers},
      // The group with 3,000 members comes back whole.
      {"groups",
       "OU=Groups",
       SearchScope::kOneLevel,
       "(objectClass=group)",
       {"cn", "groupType", "member"},
       3},
      {"base", "", SearchScope::kBase, "(objectClass=*)", {}, 1},
      {"one level", "", SearchScope::kOneLevel, "(objectClass=*)", {"ou", "cn"}, 4},
      {"substrings", "OU=Staff", SearchScope::kSubtree, "(sAMAccountName=u0*9*1)", account, 19},
      {"initial and final", "", SearchScope::kSubtree, "(sAMAccountName=u2*5)", account, 100},
      {"integer ordering", "", SearchScope::kSubtree,
       "(&(logonCount>=45)(userAccountControl<=512))", account, 256},
      {"negative integers",
       "",
       SearchScope::kSubtree,
       "(|(groupType=8)(groupType=-2147483644))",
       {"cn"},
       2},
      {"photos",
       "",
       SearchScope::kSubtree,
       "(thumbnailPhoto=*)",
       {"sAMAccountName", "thumbnailPhoto"},
       30},
      {"DN values, any case and spacing",
       "",
       SearchScope::kSubtree,
       "(memberOf=cn=helpdesk, ou=Groups,dc=TABULON,dc=test)",
       {"cn", "memberOf"},
       12},
      {"non-ASCII",
       "",
       SearchScope::kSubtree,
       "(displayName=JÖRG müller 0010)",
       {"displayName", "description"},
       1},
      {"line breaks in values",
       "",
       SearchScope::kSubtree,
       "(description=line one*)",
       {"description"},
       12},
      {"no attributes", "OU=Groups", SearchScope::kSubtree, "(cn=All Staff)", {"1.1"}, 1},
      {"nothing matches", "", SearchScope::kSubtree, "(sAMAccountName=nobody)", {}, 0},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    SearchRequest request;
    request.base =
        *c.base == '\0' ? std::string(kTestDomainDn) : std::string(c.base) + "," + kTestDomainDn;
    request.scope = c.scope;
    request.filter = c.filter;
    request.attributes = c.attributes;
    request.kinds = &kinds;
    const Found real = SearchAll(*ldap_, request);
    const Found simulated = SearchAll(estate_session_->directory_search(), request);
    ASSERT_TRUE(real.status.ok()) << real.status.extended_text;
    ASSERT_TRUE(simulated.status.ok()) << simulated.status.extended_text;
    EXPECT_EQ(real.entries.size(), c.expected);
    EXPECT_EQ(real.entries, simulated.entries);
  }
}

TEST_F(DirectorySearchTest, BinaryValuesMatchByteForByte) {
  OpenBoth();
  DirectoryEntry user;
  const std::vector<std::string> sid = {"objectSid"};
  ASSERT_TRUE(
      platform::ReadObject(*ldap_, std::string("CN=User 0042,OU=Staff,") + kTestDomainDn, sid, user)
          .ok());
  ASSERT_NE(user.Find("objectsid"), nullptr);
  SearchRequest request;
  request.filter =
      "(objectSid=" + platform::FilterEscapedBytes(user.Find("objectsid")->values.front()) + ")";
  request.attributes = {"sAMAccountName"};
  const Found real = SearchAll(*ldap_, request);
  ASSERT_EQ(real.entries.size(), 1u);
  EXPECT_NE(real.entries.front().find("u0042"), std::string::npos);
  EXPECT_EQ(real.entries, SearchAll(estate_session_->directory_search(), request).entries);
}

TEST_F(DirectorySearchTest, SearchesWithoutPagingStopAtTheServersLimit) {
  OpenBoth();
  SearchRequest request;
  request.page_size = 0;
  request.filter = "(objectClass=user)";
  request.attributes = {"cn"};
  const Found found = SearchAll(*ldap_, request);
  EXPECT_EQ(found.status.status, DirectoryHresult(win::ERROR_DS_SIZELIMIT_EXCEEDED));
  EXPECT_EQ(found.entries.size(), static_cast<std::size_t>(kSlapdSizeLimit));
}

TEST_F(DirectorySearchTest, TheSinkCanEndASearchAndTheTokenCancelsIt) {
  OpenBoth();
  SearchRequest request;
  request.filter = "(objectClass=user)";
  request.attributes = {"cn"};
  for (platform::DirectorySearch* directory : {ldap_.get(), &estate_session_->directory_search()}) {
    int seen = 0;
    DirectoryStatus status =
        directory->Search(request, [&](DirectoryEntry&&) { return ++seen < 7; });
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(seen, 7);
  }
  int seen = 0;
  const DirectoryStatus status = ldap_->Search(request, [&](DirectoryEntry&&) {
    if (++seen == 10) cancel_flag_ = 1;
    return true;
  });
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_CANCELLED));
  EXPECT_LT(seen, 300);
}

// A server that falls silent in the middle of a paged search: the search
// ends with a timeout once the silence outlasts it, not when the server
// wakes.
TEST_F(DirectorySearchTest, AServerFallingSilentMidSearchTimesOut) {
  DirectoryOpenOptions options = Options(server_->ldap_url());
  options.timeout_ms = 500;
  ASSERT_TRUE(ldap_->Open(options).ok());
  SearchRequest request;
  request.filter = "(objectClass=user)";
  request.attributes = {"cn"};
  int seen = 0;
  const auto started = Clock::now();
  const DirectoryStatus status = ldap_->Search(request, [&](DirectoryEntry&&) {
    if (++seen == 1) server_->Freeze(true);
    return true;
  });
  const auto took = Clock::now() - started;
  server_->Freeze(false);
  EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_TIMEOUT));
  EXPECT_LT(seen, 3000);
  EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(DirectorySearchTest, TlsConnectionsVerifyTheServersCertificate) {
  DirectoryOpenOptions options = Options(server_->ldaps_url());
  options.ca_file = server_->ca_file();
  EXPECT_TRUE(ldap_->Open(options).ok());
  DirectoryEntry domain;
  EXPECT_TRUE(platform::ReadObject(*ldap_, kTestDomainDn, {}, domain).ok());

  options = Options("ldap://localhost:389");
  options.start_tls = true;
  options.ca_file = server_->ca_file();
  EXPECT_TRUE(ldap_->Open(options).ok());

  // What went wrong is named: an authority that does not vouch for the
  // certificate (without the test's, the system's do not), a certificate
  // for another name (the server's address under a name of its own), a
  // handshake that fails (TLS to the plain port).
  struct TlsCase {
    const char* server;
    bool start_tls;
    bool with_authority;
    const char* said;
  } cases[] = {
      {"ldaps://localhost:636", false, false,
       "certificate not trusted: the system's authorities do not vouch for the server's "
       "certificate: The certificate is NOT trusted. The certificate issuer is unknown."},
      {"ldap://localhost:389", true, false, "certificate not trusted"},
      {"ldaps://dc1.tabtest.lan:636", false, true,
       "name mismatch: the server's certificate does not name 'dc1.tabtest.lan' (it names "
       "localhost, 127.0.0.1)"},
      {"ldap://dc1.tabtest.lan:389", true, true, "name mismatch"},
      {"ldaps://127.0.0.1:389", false, true, "TLS handshake with 127.0.0.1:389 failed"},
  };
  for (const TlsCase& c : cases) {
    SCOPED_TRACE(c.server);
    options = Options(c.server);
    options.start_tls = c.start_tls;
    if (c.with_authority) options.ca_file = server_->ca_file();
    const DirectoryStatus status = ldap_->Open(options);
    EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_SERVER_DOWN));
    EXPECT_NE(status.extended_text.find(c.said), std::string::npos) << status.extended_text;
  }
}

// A password goes only where TLS protects it: over plain ldap:// the bind
// is refused before a connection is even made, and so is every later one
// to another server; the message names the server and the ways out.
TEST_F(DirectorySearchTest, PasswordsNeverCrossThePlainWire) {
  Listener recorder(3891, true);
  ASSERT_TRUE(recorder.ok());
  const std::string recorder_url = "ldap://127.0.0.1:3891";
  const platform::Credentials admin{kSlapdAdminDn, platform::Secret(kSlapdAdminPassword), ""};
  DirectoryOpenOptions over_tls = Options(server_->ldaps_url());
  over_tls.ca_file = server_->ca_file();
  over_tls.credentials = &admin;
  DirectoryOpenOptions plain = over_tls;
  plain.server = recorder_url;
  plain.ca_file.clear();
  const std::string refusal = "the password of '" + std::string(kSlapdAdminDn) +
                              "' is not sent in the clear to " + recorder_url +
                              ": name an ldaps:// server ([Platform] "
                              "DirectoryServer=ldaps://host:636), use StartTLS ([Platform] "
                              "DirectoryStartTls=1) or bind with Kerberos ([Platform] Kerberos=1)";
  for (const bool bound_before : {false, true}) {
    SCOPED_TRACE(bound_before ? "after a bind over TLS" : "first bind");
    if (bound_before) {
      ASSERT_TRUE(ldap_->Open(over_tls).ok());
    }
    const DirectoryStatus status = ldap_->Open(plain);
    EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_DS_CONFIDENTIALITY_REQUIRED));
    EXPECT_EQ(status.extended_text, refusal);
  }
  // The session's own credentials go the same way.
  platform::SessionOptions session = session_;
  session.credentials = plain.credentials;
  plain.credentials = nullptr;
  EXPECT_EQ(platform::ldap::MakeLdapDirectorySearch(session)->Open(plain).status,
            DirectoryHresult(win::ERROR_DS_CONFIDENTIALITY_REQUIRED));
  EXPECT_EQ(recorder.connections(), 0);

  // The recorder does record: an anonymous bind reaches it.
  DirectoryOpenOptions anonymous = Options(recorder_url);
  anonymous.timeout_ms = 300;
  EXPECT_EQ(ldap_->Open(anonymous).status, DirectoryHresult(win::ERROR_TIMEOUT));
  EXPECT_EQ(recorder.connections(), 1);
  EXPECT_FALSE(recorder.received().empty());
  EXPECT_EQ(recorder.received().find(kSlapdAdminPassword), std::string::npos);
}

// A cancel while the server keeps the client waiting, at StartTLS or at the
// bind, says so at once rather than that the server cannot be reached.
TEST_F(DirectorySearchTest, ACancelledOpenSaysCancelled) {
  Listener silent(3892, false);
  ASSERT_TRUE(silent.ok());
  for (const bool start_tls : {false, true}) {
    SCOPED_TRACE(start_tls ? "StartTLS" : "bind");
    cancel_flag_ = 0;
    DirectoryOpenOptions options = Options("ldap://127.0.0.1:3892");
    options.start_tls = start_tls;
    std::thread canceller([this] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      cancel_flag_ = 1;
    });
    const auto started = Clock::now();
    const DirectoryStatus status = ldap_->Open(options);
    const auto took = Clock::now() - started;
    canceller.join();
    EXPECT_EQ(status.status, DirectoryHresult(win::ERROR_CANCELLED)) << status.extended_text;
    EXPECT_LT(took, std::chrono::seconds(2));
  }
}

TEST_F(DirectorySearchTest, BadInputGivesAClearStatusWithinTheTimeout) {
  // A listener that never answers: connects, then silence.
  Listener silent(3890, false);
  ASSERT_TRUE(silent.ok());

  // Passwords over TLS; a name that is not a DN is what a server that is
  // no domain controller refuses, and the refusal says what was sent.
  const platform::Credentials wrong{kSlapdAdminDn, platform::Secret("wrong"), ""};
  const platform::Credentials right{kSlapdAdminDn, platform::Secret(kSlapdAdminPassword), ""};
  const platform::Credentials not_a_dn_login{"admin", platform::Secret(kSlapdAdminPassword),
                                             "TABULON"};
  DirectoryOpenOptions wrong_password = Options(server_->ldaps_url());
  wrong_password.ca_file = server_->ca_file();
  wrong_password.credentials = &wrong;
  DirectoryOpenOptions right_password = wrong_password;
  right_password.credentials = &right;
  DirectoryOpenOptions start_tls = right_password;
  start_tls.server = "ldap://localhost:389";
  start_tls.start_tls = true;
  DirectoryOpenOptions not_a_dn = right_password;
  not_a_dn.credentials = &not_a_dn_login;
  DirectoryOpenOptions no_answer = Options("ldap://127.0.0.1:3890");
  no_answer.timeout_ms = 500;
  struct OpenCase {
    const char* name;
    DirectoryOpenOptions options;
    win::Status expected;
    const char* said;  // in the extended error
  } cases[] = {
      {"nothing listens", Options("ldap://127.0.0.1:1"),
       DirectoryHresult(win::ERROR_DS_SERVER_DOWN), ""},
      {"refused bind", wrong_password, DirectoryHresult(win::ERROR_LOGON_FAILURE),
       "(bind DN sent: 'CN=admin,DC=tabulon,DC=test')"},
      {"refused name that is not a DN", not_a_dn, DirectoryHresult(win::ERROR_DS_INVALID_DN_SYNTAX),
       "bind name sent: 'TABULON\\admin'; a directory server that is not a domain controller "
       "takes only a DN"},
      {"accepted bind", right_password, win::ERROR_SUCCESS, ""},
      {"accepted bind after StartTLS", start_tls, win::ERROR_SUCCESS, ""},
      {"silent server", no_answer, DirectoryHresult(win::ERROR_TIMEOUT), ""},
      {"not a URL", Options("http://x"), win::E_ADS_BAD_PATHNAME, ""},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto started = Clock::now();
    const DirectoryStatus status = ldap_->Open(c.options);
    EXPECT_EQ(status.status, c.expected) << status.extended_text;
    EXPECT_NE(status.extended_text.find(c.said), std::string::npos) << status.extended_text;
    EXPECT_EQ(status.extended_text.find(kSlapdAdminPassword), std::string::npos);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));
  }

  OpenBoth();
  struct SearchFailure {
    const char* name;
    const char* base;
    const char* filter;
    win::Status expected;
  } failures[] = {
      {"no such base", "OU=Nowhere,DC=tabulon,DC=test", "(objectClass=*)",
       DirectoryHresult(win::ERROR_DS_NO_SUCH_OBJECT)},
      {"filter that does not parse", "", "(cn=x", win::E_ADS_INVALID_FILTER},
  };
  for (const SearchFailure& f : failures) {
    SCOPED_TRACE(f.name);
    SearchRequest request;
    request.base = f.base;
    request.filter = f.filter;
    EXPECT_EQ(SearchAll(*ldap_, request).status.status, f.expected);
    EXPECT_EQ(SearchAll(estate_session_->directory_search(), request).status.status, f.expected);
  }
  // A matching rule the server does not know makes the filter undefined
  // there; the estate knows no rules at all and refuses every one.
  SearchRequest extensible;
  extensible.filter = "(groupType:1.2.3.4.5:=2)";
  const Found real = SearchAll(*ldap_, extensible);
  EXPECT_TRUE(real.status.ok());
  EXPECT_TRUE(real.entries.empty());
  EXPECT_EQ(SearchAll(estate_session_->directory_search(), extensible).status.status,
            DirectoryHresult(win::ERROR_DS_UNWILLING_TO_PERFORM));
}

}  // namespace
}  // namespace tabulon::testing
