// The wldap32 directory search and the DC locator: what the API hands back,
// decoded from records made by hand (hostile ones too), and, where
// scripts/wine-ldap-check provides a slapd (TABULON_TEST_LDAP_URL), real
// searches through Wine's wldap32.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/directory_status.h"
#include "platform/win32/directory_search.h"
#include "platform/win32/ldap_records.h"

// After our headers: <windows.h> makes macros of ERROR_SUCCESS and the like.
#include <windows.h>

#include <dsgetdc.h>
#include <winldap.h>

namespace tabulon::platform::win32 {
namespace {

TEST(Win32DirectoryRecords, TargetsOfUrls) {
  const struct {
    const char* url;
    const char* base;
    bool valid;
    const wchar_t* host;
    std::uint32_t port;
    bool ssl;
    bool domain;
  } cases[] = {
      {"ldap://dc1.example.test", "", true, L"dc1.example.test", 389, false, false},
      {"LDAPS://dc1:3269/DC=x", "", true, L"dc1", 3269, true, false},
      {"ldap://[::1]:1389", "", true, L"::1", 1389, false, false},
      // No host: the base's domain, which the locator resolves.
      {"ldaps://", "OU=People,DC=example,DC=test", true, L"example.test", 636, true, true},
      {"ldap://", "O=no domain", false, L"", 389, false, true},
      {"http://dc1", "", false, L"", 389, false, false},
      {"ldap://dc1:0", "", false, L"", 389, false, false},
      {"ldap://dc1:65536", "", false, L"", 389, false, false},
      {"ldap://dc1:38x", "", false, L"", 389, false, false},
      {"ldap://[::1", "", false, L"", 389, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const LdapTarget target = ParseLdapTarget(c.url, c.base);
    EXPECT_EQ(target.valid, c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(target.host, c.host);
    EXPECT_EQ(target.port, c.port);
    EXPECT_EQ(target.ssl, c.ssl);
    EXPECT_EQ(target.domain, c.domain);
  }
}

TEST(Win32DirectoryRecords, StatusesCarryTheServersWordsElseTheLibrarys) {
  std::wstring endless(kMaxLdapNameChars + 1, L'x');
  const struct {
    ULONG rc;
    const wchar_t* server;
    win::Status status;
    const char* text;
  } cases[] = {
      {LDAP_NO_SUCH_OBJECT, L"0000208D: NameErr", DirectoryHresult(ERROR_DS_NO_SUCH_OBJECT),
       "0000208D: NameErr"},
      {LDAP_SERVER_DOWN, nullptr, DirectoryHresult(ERROR_DS_SERVER_DOWN), "library"},
      {LDAP_TIMEOUT, L"", DirectoryHresult(ERROR_TIMEOUT), "library"},
      {LDAP_FILTER_ERROR, endless.c_str(), win::E_ADS_INVALID_FILTER, "library"},
      {LDAP_INVALID_CREDENTIALS, L"\u00dcbel", DirectoryHresult(ERROR_LOGON_FAILURE),
       "\xC3\x9C"
       "bel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rc);
    const DirectoryStatus status = LdapStatus(c.rc, c.server, L"library");
    EXPECT_EQ(status.status, c.status);
    EXPECT_EQ(status.extended_text, c.text);
  }
  EXPECT_TRUE(LdapStatus(LDAP_SUCCESS, nullptr, nullptr).ok());
}

TEST(Win32DirectoryRecords, ValuesAreCopiedAsBytesWithinBounds) {
  char sid[] = {1, 0, 0, 0, 0, 0, 5, 0};
  char text[] = "user001";
  berval binary{sizeof sid, sid};
  berval plain{7, text};
  berval empty{0, nullptr};
  berval* values[] = {&binary, &plain, &empty, nullptr};
  std::vector<std::string> out;
  ASSERT_TRUE(CopyLdapValues(values, out).ok());
  EXPECT_EQ(out, (std::vector<std::string>{std::string(sid, sizeof sid), "user001", ""}));
  EXPECT_TRUE(CopyLdapValues(nullptr, out).ok());
  EXPECT_TRUE(out.empty());

  // Bytes claimed where there are none, more than a value may have, more
  // values than an attribute may have.
  berval missing{4, nullptr};
  berval huge{static_cast<ULONG>(kMaxLdapValueBytes + 1), text};
  for (berval* bad : {&missing, &huge}) {
    berval* hostile[] = {&plain, bad, nullptr};
    const DirectoryStatus status = CopyLdapValues(hostile, out);
    EXPECT_EQ(status.status, DirectoryHresult(ERROR_DS_DECODING_ERROR));
  }
  std::vector<berval*> many(kMaxLdapValues + 2, &plain);
  many.back() = nullptr;
  EXPECT_EQ(CopyLdapValues(many.data(), out).status, DirectoryHresult(ERROR_DS_DECODING_ERROR));
}

TEST(Win32DirectoryRecords, CookiesEndPagingWhenEmptyAndAreBounded) {
  char bytes[] = "\x01\x00\x02";
  std::string out = "stale";
  berval cookie{3, bytes};
  ASSERT_TRUE(CopyLdapCookie(&cookie, out).ok());
  EXPECT_EQ(out, std::string(bytes, 3));
  berval none{0, nullptr};
  ASSERT_TRUE(CopyLdapCookie(&none, out).ok());
  EXPECT_TRUE(out.empty());
  berval huge{static_cast<ULONG>(kMaxLdapCookieBytes + 1), bytes};
  EXPECT_FALSE(CopyLdapCookie(&huge, out).ok());
  berval missing{3, nullptr};
  EXPECT_FALSE(CopyLdapCookie(&missing, out).ok());
}

TEST(Win32DirectoryRecords, ControllerInfoWithNullsAndOverlongNames) {
  std::wstring endless(kMaxDcNameChars + 50, L'n');
  wchar_t name[] = L"\\\\DC1";
  wchar_t address[] = L"\\\\192.0.2.1";
  DOMAIN_CONTROLLER_INFOW info{};
  info.DomainControllerName = name;
  info.DomainControllerAddress = address;
  info.DomainName = nullptr;
  info.DnsForestName = endless.data();
  const DomainControllerInfo out = ToDomainControllerInfo(info);
  EXPECT_EQ(out.dc_name, "\\\\DC1");
  EXPECT_EQ(out.dc_address, "\\\\192.0.2.1");
  EXPECT_EQ(out.domain_name, "");
  EXPECT_EQ(out.dns_forest_name, std::string(kMaxDcNameChars, 'n'));
}

// Live, against the slapd of scripts/wine-ldap-check: 600 users below
// OU=People, a size limit of 500, anonymous reads.
class Win32DirectoryLive : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* url = std::getenv("TABULON_TEST_LDAP_URL");
    const char* base = std::getenv("TABULON_TEST_LDAP_BASE");
    if (url == nullptr || base == nullptr) GTEST_SKIP() << "no slapd (scripts/wine-ldap-check)";
    options_.server = url;
    options_.base = base;
  }
  DirectoryOpenOptions options_;
  BoundedCalls calls_{std::chrono::seconds(20), CancelToken()};
  // Wine's Negotiate bind fails on the null credentials that stand for
  // the caller's identity (and slapd has no Negotiate): anonymous here.
  Win32DirectorySearch directory_{calls_, 20000, LdapBind::kAnonymous};
};

TEST_F(Win32DirectoryLive, PagedSearchSeesEveryEntryWhileTheSinkSearchesToo) {
  const DirectoryStatus opened = directory_.Open(options_);
  ASSERT_TRUE(opened.ok()) << std::hex << opened.status << " " << opened.extended_text;
  const AttributeKinds kinds{{"objectsid", DirectoryValueKind::kOctetString}};
  SearchRequest request;
  request.base = "OU=People," + options_.base;
  request.filter = "(objectClass=user)";
  request.attributes = {"sAMAccountName", "objectSid"};
  request.kinds = &kinds;
  std::vector<std::string> names;
  std::string nested_name;
  const DirectoryStatus status = directory_.Search(request, [&](DirectoryEntry&& entry) {
    names.emplace_back(entry.FirstValue("sAMAccountName"));
    if (names.size() == 1) {
      // Within the paged search, over a connection of its own.
      DirectoryEntry read;
      const std::string wanted[] = {"cn"};
      EXPECT_TRUE(ReadObject(directory_, entry.dn, wanted, read).ok());
      nested_name = read.FirstValue("cn");
    }
    if (entry.FirstValue("sAMAccountName") == "user007") {
      const DirectoryAttribute* sid = entry.Find("objectSid");
      EXPECT_NE(sid, nullptr);
      if (sid != nullptr) {
        EXPECT_EQ(sid->kind, DirectoryValueKind::kOctetString);
        EXPECT_EQ(sid->values.at(0).size(), 28u);
        EXPECT_EQ(sid->values.at(0).substr(24), std::string("\x07\x00\x00\x00", 4));
      }
    }
    return true;
  });
  ASSERT_TRUE(status.ok()) << std::hex << status.status << " " << status.extended_text;
  EXPECT_EQ(names.size(), 600u);
  EXPECT_EQ(nested_name, names.front());
}

TEST_F(Win32DirectoryLive, FailuresAreDirectoryStatusesWithWhatCameBefore) {
  ASSERT_TRUE(directory_.Open(options_).ok());
  // Unpaged, the server stops at its size limit: the entries it sent still
  // reach the sink.
  SearchRequest unpaged;
  unpaged.filter = "(objectClass=user)";
  unpaged.page_size = 0;
  std::size_t delivered = 0;
  const DirectoryStatus limited = directory_.Search(unpaged, [&](DirectoryEntry&&) {
    ++delivered;
    return true;
  });
  EXPECT_EQ(limited.status, DirectoryHresult(ERROR_DS_SIZELIMIT_EXCEEDED));
  EXPECT_EQ(delivered, 500u);

  DirectoryEntry entry;
  const DirectoryStatus missing =
      ReadObject(directory_, "CN=nobody,OU=People," + options_.base, {}, entry);
  EXPECT_EQ(missing.status, DirectoryHresult(ERROR_DS_NO_SUCH_OBJECT));

  SearchRequest bad;
  bad.filter = "(((";
  EXPECT_FALSE(directory_.Search(bad, [](DirectoryEntry&&) { return true; }).ok());

  DirectoryOpenOptions nowhere = options_;
  nowhere.server = "ldap://127.0.0.1:1";
  EXPECT_EQ(directory_.Open(nowhere).status, DirectoryHresult(ERROR_DS_SERVER_DOWN));
  EXPECT_EQ(directory_.Search(unpaged, [](DirectoryEntry&&) { return true; }).status,
            DirectoryHresult(ERROR_DS_SERVER_DOWN));
}

}  // namespace
}  // namespace tabulon::platform::win32
