#pragma once
// The directory the directory tests search, as LDIF: the same text is loaded
// into the tests' slapd and read by the estate. A domain with a schema
// container (attributeSchema objects giving the attribute syntaxes), 3,000
// users (some disabled, some with photos and non-ASCII names), computers and
// groups, one of which has the first 3,000 users as members. More users
// make a bigger directory for benchmarks; the groups stay the same.
#include <string>

namespace tabulon::testing {

inline constexpr const char* kTestDomainDn = "DC=tabulon,DC=test";
inline constexpr const char* kTestSchemaDn = "CN=Schema,CN=Configuration,DC=tabulon,DC=test";
inline constexpr int kTestUsers = 3000;
inline constexpr int kTestComputers = 40;

std::string MakeTestDirectoryLdif(int users = kTestUsers);

}  // namespace tabulon::testing
