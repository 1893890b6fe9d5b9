#include "support/directory_data.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "estate/base64.h"

namespace tabulon::testing {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

bool SafeValue(std::string_view value) {
  if (value.empty()) return true;
  if (value.front() == ' ' || value.front() == ':' || value.front() == '<' || value.back() == ' ') {
    return false;
  }
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    // Control characters are safe in LDIF, but servers trim the blank ones.
    if (u < 0x20 || u >= 0x80) return false;
  }
  return true;
}

// One "name: value" line, base64 where LDIF requires it, folded at 76
// columns as directory tools write it.
void AppendLine(std::string& out, std::string_view name, std::string_view value) {
  std::string line(name);
  if (SafeValue(value)) {
    line += ": ";
    line += value;
  } else {
    line += ":: ";
    line += estate::EncodeBase64(value);
  }
  constexpr std::size_t kWidth = 76;
  out += line.substr(0, kWidth);
  out += '\n';
  for (std::size_t at = kWidth; at < line.size(); at += kWidth - 1) {
    out += ' ';
    out += line.substr(at, kWidth - 1);
    out += '\n';
  }
}

void AppendEntry(std::string& out, const std::string& dn, const Attributes& attributes) {
  AppendLine(out, "dn", dn);
  for (const auto& [name, value] : attributes) AppendLine(out, name, value);
  out += '\n';
}

std::string Sid(std::uint32_t rid) {
  // S-1-5-21-1004336348-1177238915-682003330-RID
  std::string sid = {1, 5, 0, 0, 0, 0, 0, 5};
  for (const std::uint32_t sub : {21u, 1004336348u, 1177238915u, 682003330u, rid}) {
    for (int i = 0; i < 4; ++i) sid.push_back(static_cast<char>((sub >> (8 * i)) & 0xFF));
  }
  return sid;
}

std::string Guid(std::uint32_t n) {
  std::string guid(16, '\0');
  for (int i = 0; i < 16; ++i) guid[i] = static_cast<char>((n * 2654435761u >> (i % 4 * 8)) + i);
  return guid;
}

// Bytes that start like a JPEG file; what matters is that they are binary.
std::string Photo(std::uint32_t n) {
  std::string photo = "\xFF\xD8\xFF\xE0";
  for (std::uint32_t i = 0; i < 600 + n % 97; ++i) photo.push_back(static_cast<char>(i * 7 + n));
  return photo + "\xFF\xD9";
}

std::string Category(const char* class_name) {
  return std::string("CN=") + class_name + "," + kTestSchemaDn;
}

std::string Padded(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", n);
  return buf;
}

}  // namespace

std::string MakeTestDirectoryLdif(int user_count) {
  const std::string domain = kTestDomainDn;
  std::string out = "# The tests' directory.\n";
  AppendEntry(out, domain,
              {{"objectClass", "top"},
               {"objectClass", "domainDNS"},
               {"dc", "tabulon"},
               {"objectSid", Sid(0).substr(0, 24)},
               {"objectCategory", Category("Domain-DNS")}});
  AppendEntry(out, "CN=Configuration," + domain,
              {{"objectClass", "top"}, {"objectClass", "container"}, {"cn", "Configuration"}});
  AppendEntry(out, kTestSchemaDn,
              {{"objectClass", "top"}, {"objectClass", "container"}, {"cn", "Schema"}});
  const std::pair<const char*, const char*> syntaxes[] = {
      {"objectSid", "2.5.5.17"},
      {"objectGUID", "2.5.5.10"},
      {"thumbnailPhoto", "2.5.5.10"},
      {"jpegPhoto", "2.5.5.10"},
      {"logonHours", "2.5.5.10"},
      {"nTSecurityDescriptor", "2.5.5.15"},
      {"sAMAccountName", "2.5.5.12"},
      {"displayName", "2.5.5.12"},
      {"dNSHostName", "2.5.5.12"},
      {"operatingSystem", "2.5.5.12"},
      {"cn", "2.5.5.12"},
      {"description", "2.5.5.12"},
      {"userAccountControl", "2.5.5.9"},
      {"primaryGroupID", "2.5.5.9"},
      {"groupType", "2.5.5.9"},
      {"badPwdCount", "2.5.5.9"},
      {"logonCount", "2.5.5.9"},
      {"lastLogon", "2.5.5.16"},
      {"lastLogoff", "2.5.5.16"},
      {"pwdLastSet", "2.5.5.16"},
      {"accountExpires", "2.5.5.16"},
      {"member", "2.5.5.1"},
      {"memberOf", "2.5.5.1"},
      {"objectCategory", "2.5.5.1"},
      {"objectClass", "2.5.5.2"},
      {"whenCreated", "2.5.5.11"},
  };
  for (const auto& [name, syntax] : syntaxes) {
    AppendEntry(out, std::string("CN=") + name + "," + kTestSchemaDn,
                {{"objectClass", "top"},
                 {"objectClass", "attributeSchema"},
                 {"cn", name},
                 {"lDAPDisplayName", name},
                 {"attributeSyntax", syntax}});
  }
  for (const char* ou : {"Staff", "Computers", "Groups"}) {
    AppendEntry(out, std::string("OU=") + ou + "," + domain,
                {{"objectClass", "top"},
                 {"objectClass", "organizationalUnit"},
                 {"ou", ou},
                 {"description", std::string("The ") + ou + " unit"},
                 {"objectCategory", Category("Organizational-Unit")}});
  }

  const std::string all_staff = "CN=All Staff,OU=Groups," + domain;
  const std::string admins = "CN=Helpdesk,OU=Groups," + domain;
  std::vector<std::string> users;
  for (int i = 1; i <= user_count; ++i) {
    const std::string n = Padded(i);
    const std::string dn = "CN=User " + n + ",OU=Staff," + domain;
    users.push_back(dn);
    Attributes a = {{"objectClass", "top"},
                    {"objectClass", "person"},
                    {"objectClass", "organizationalPerson"},
                    {"objectClass", "user"},
                    {"cn", "User " + n},
                    {"sn", "Surname" + n},
                    {"sAMAccountName", "u" + n},
                    {"displayName", i % 10 == 0 ? "Jörg Müller " + n : "User Number " + n},
                    {"userAccountControl", i % 7 == 0 ? "514" : "512"},
                    {"primaryGroupID", "513"},
                    {"objectSid", Sid(1000 + static_cast<std::uint32_t>(i))},
                    {"objectGUID", Guid(static_cast<std::uint32_t>(i))},
                    {"pwdLastSet", std::to_string(133000000000000000LL + i * 1000003LL)},
                    {"lastLogon", i % 5 == 0 ? "0" : std::to_string(133100000000000000LL + i)},
                    {"accountExpires", i % 11 == 0 ? "9223372036854775807" : "0"},
                    {"logonCount", std::to_string(i % 50)},
                    {"objectCategory", Category("Person")}};
    if (i <= kTestUsers) a.emplace_back("memberOf", all_staff);
    if (i <= 12) a.emplace_back("memberOf", admins);
    if (i % 100 == 1) a.emplace_back("thumbnailPhoto", Photo(static_cast<std::uint32_t>(i)));
    if (i % 250 == 3) a.emplace_back("description", "line one\nline two");
    AppendEntry(out, dn, a);
  }
  for (int i = 1; i <= kTestComputers; ++i) {
    const std::string name = "WS" + Padded(i);
    Attributes a = {{"objectClass", "top"},
                    {"objectClass", "person"},
                    {"objectClass", "organizationalPerson"},
                    {"objectClass", "user"},
                    {"objectClass", "computer"},
                    {"cn", name},
                    {"sAMAccountName", name + "$"},
                    {"userAccountControl", i % 9 == 0 ? "4098" : "4096"},
                    {"primaryGroupID", "515"},
                    {"objectSid", Sid(5000 + static_cast<std::uint32_t>(i))},
                    {"operatingSystem", "Windows 10 Enterprise"},
                    {"objectCategory", Category("Computer")}};
    // Some computers have no DNS name, as accounts made before they joined.
    if (i % 4 != 0) a.emplace_back("dNSHostName", "ws" + Padded(i) + ".tabulon.test");
    AppendEntry(out, "CN=" + name + ",OU=Computers," + domain, a);
  }
  Attributes group = {{"objectClass", "top"},
                      {"objectClass", "group"},
                      {"cn", "All Staff"},
                      {"sAMAccountName", "All Staff"},
                      {"groupType", "-2147483646"},
                      {"objectSid", Sid(3000)},
                      {"objectCategory", Category("Group")}};
  for (int i = 0; i < std::min(user_count, kTestUsers); ++i) {
    group.emplace_back("member", users[static_cast<std::size_t>(i)]);
  }
  AppendEntry(out, all_staff, group);
  Attributes helpdesk = {{"objectClass", "top"},
                         {"objectClass", "group"},
                         {"cn", "Helpdesk"},
                         {"sAMAccountName", "Helpdesk"},
                         {"groupType", "-2147483644"},
                         {"objectSid", Sid(3001)},
                         {"objectCategory", Category("Group")},
                         {"member", all_staff}};
  for (int i = 0; i < 12; ++i) helpdesk.emplace_back("member", users[static_cast<std::size_t>(i)]);
  AppendEntry(out, admins, helpdesk);
  AppendEntry(out, "CN=Mailing List,OU=Groups," + domain,
              {{"objectClass", "top"},
               {"objectClass", "group"},
               {"cn", "Mailing List"},
               {"sAMAccountName", "Mailing List"},
               {"groupType", "8"},
               {"objectSid", Sid(3002)},
               {"objectCategory", Category("Group")}});
  return out;
}

}  // namespace tabulon::testing
