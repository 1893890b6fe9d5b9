#include "estate/loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "estate/operations.h"
#include "platform/text.h"
#include "sample_estate.h"
#include "support/fakes.h"

namespace tabulon::estate {
namespace {

// An estate of one computer named A with `members`.
std::string ComputerA(std::string_view members) {
  return R"({"computers": [{"name": "A", )" + std::string(members) + "}]}";
}

// Computer A's terminal services with `sessions`.
std::string SessionsOfA(std::string_view sessions) {
  return ComputerA(R"("terminal_services": {"sessions": [)" + std::string(sessions) + "]}");
}

// Every section of an estate file refuses what it cannot take and says
// where: the file, the JSON path, and what is wrong there.
TEST(EstateLoader, RejectsBadInputWithFileAndPath) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;  // part of the message after "bad.json: "
  };
  const Case cases[] = {
      {"truncated", R"({"computers": [{"name": "A")", "parse error at line 1, column 28"},
      {"binary bytes", std::string("{\"computers\": \"\xFF\xFE\x01\"}"), "parse error"},
      {"not an object", "[1, 2]", "the estate must be a JSON object"},
      {"empty text", "", "parse error"},
      {"computers not an array", R"({"computers": {"name": "A"}})",
       "computers: expected an array, found an object"},
      {"name of wrong type", R"({"computers": [{"name": 7}]})",
       "computers[0].name: expected a string, found a number"},
      {"missing name", R"({"computers": [{"address": "192.0.2.1"}]})",
       "computers[0]: a computer needs a name"},
      {"duplicate computer", R"({"computers": [{"name": "A"}, {"name": "\\\\a"}]})",
       "computers[1]: computer name or address 'a' is also used by computers[0]"},
      {"name clashes with a DNS name",
       R"({"computers": [{"name": "A", "dns_name": "b.example"}, {"name": "B.EXAMPLE"}]})",
       "is also used by computers[0]"},
      {"bad address", R"({"computers": [{"name": "A", "address": "192.0.2.300"}]})",
       "computers[0].address: '192.0.2.300' is not a dotted IPv4 address"},
      {"unknown domain", R"({"computers": [{"name": "A", "domain": "NOPE"}]})",
       "computers[0].domain: 'NOPE' is not a domain of the estate"},
      {"unknown controller", R"({"domains": [{"name": "D", "controller": "X"}]})",
       "domains[0].controller: 'X' is not a computer of the estate"},
      {"duplicate domain", R"({"domains": [{"name": "D", "dns_name": "d.example"},
                                           {"name": "D.EXAMPLE"}]})",
       "domains[1]: domain name 'D.EXAMPLE' is also used by domains[0]"},
      {"unknown browse entry", R"({"domains": [{"name": "D", "browse_list": ["GHOST"]}]})",
       "domains[0].browse_list[0]: 'GHOST' is not a computer of the estate"},
      {"bad SID", R"({"domains": [{"name": "D", "sid": "S-1-5-x"}]})",
       "domains[0].sid: 'S-1-5-x' is not a SID"},
      {"rid without owner SID",
       R"({"domains": [{"name": "D", "accounts": [{"name": "u", "rid": 5}]}]})",
       "domains[0].accounts[0]: a rid needs the sid of the domain or computer"},
      {"both sid and rid",
       R"({"computers": [{"name": "A", "sid": "S-1-5-21-1-2-3",
           "accounts": [{"name": "u", "rid": 5, "sid": "S-1-5-21-1-2-3-5"}]}]})",
       "computers[0].accounts[0]: give either a sid or a rid"},
      {"unknown server type",
       R"({"computers": [{"name": "A", "server": {"type": ["SERVER", "TOASTER"]}}]})",
       "computers[0].server.type[1]: unknown server type 'TOASTER'; known names: WORKSTATION"},
      {"negative number", R"({"computers": [{"name": "A", "server": {"version_major": -1}}]})",
       "computers[0].server.version_major: the number must not be negative"},
      {"fractional number", R"({"computers": [{"name": "A", "latency_ms": 1.5}]})",
       "computers[0].latency_ms: expected a whole number"},
      {"too large", R"({"computers": [{"name": "A", "server": {"platform_id": 4294967296}}]})",
       "the number is larger than 4294967295"},
      {"unknown operation", R"({"computers": [{"name": "A", "failures": {"NetFrobnicate": 5}}]})",
       "computers[0].failures.NetFrobnicate: unknown operation (docs/estate.md lists those"},
      {"unknown status name",
       R"({"computers": [{"name": "A", "failures": {"OpenSCManager": "ERROR_OOPS"}}]})",
       "computers[0].failures.OpenSCManager: unknown status 'ERROR_OOPS'"},
      {"failure without status",
       R"({"computers": [{"name": "A", "failures": {"OpenSCManager": {"after_calls": 1}}}]})",
       "computers[0].failures.OpenSCManager: a failure needs a status"},
      {"service failure of another operation",
       R"({"computers": [{"name": "A", "services": [{"name": "S", "failures": {"OpenSCManager": 5}}]}]})",
       "computers[0].services[0].failures.OpenSCManager: a service can only fail"},
      {"duplicate service",
       R"({"computers": [{"name": "A", "services": [{"name": "S"}, {"name": "s"}]}]})",
       "computers[0].services[1]: service 's' is listed twice"},
      {"unknown service state",
       R"({"computers": [{"name": "A", "services": [{"name": "S", "state": "ASLEEP"}]}]})",
       "computers[0].services[0].state: unknown service state 'ASLEEP'"},
      {"unknown profile", R"({"computers": [{"name": "A", "service_profile": "kiosk"}]})",
       "computers[0].service_profile: 'kiosk' is not a profile of service_profiles"},
      {"profile and services", R"({"service_profiles": {"p": []},
           "computers": [{"name": "A", "service_profile": "p", "services": []}]})",
       "computers[0]: give either services or a service_profile, not both"},
      {"null is a wrong type", R"({"local_computer": null})",
       "local_computer: expected a string, found null"},
      {"unknown local computer", R"({"local_computer": "NOPE"})",
       "local_computer: 'NOPE' is not a computer of the estate"},
      {"latency beyond a minute", R"({"latency_ms": 60001})",
       "latency_ms: expected a number from 0 to 60000"},
      {"synthetic rate out of range", R"({"synthetic": {"offline_rate": 1.5}})",
       "synthetic.offline_rate: expected a number from 0 to 1"},
      {"synthetic too large", R"({"synthetic": {"computers": 5000000}})",
       "synthetic.computers: expected a number from 0 to 200000"},
      {"unknown right", R"({"computers": [{"name": "A", "rights": {"SeNapPrivilege": []}}]})",
       "computers[0].rights.SeNapPrivilege: unknown right 'SeNapPrivilege'"},
      {"right holder not a SID",
       R"({"computers": [{"name": "A", "rights": {"SeTcbPrivilege": ["Everyone"]}}]})",
       "computers[0].rights.SeTcbPrivilege[0]: 'Everyone' is not a SID"},
      {"unknown audit category",
       R"({"computers": [{"name": "A", "audit_policy": {"categories": {"logons": 1}}}]})",
       "computers[0].audit_policy.categories.logons: unknown audit category 'logons'"},
      {"audit category beyond the count",
       R"({"computers": [{"name": "A", "audit_policy": {"category_count": 7,
           "categories": {"account_logon": "FAILURE"}}}]})",
       "computers[0].audit_policy.categories.account_logon: beyond category_count"},
      // Shares, sessions, disks and transports.
      {"share without name", ComputerA(R"("shares": [{"path": "C:\\"}])"),
       "computers[0].shares[0]: needs name"},
      {"unknown share type", ComputerA(R"("shares": [{"name": "S", "type": "TAPE"}])"),
       "computers[0].shares[0].type: unknown share type 'TAPE'"},
      {"duplicate share", ComputerA(R"("shares": [{"name": "S"}, {"name": "s"}])"),
       "computers[0].shares: share 's' is listed twice"},
      {"share clashes with a default share",
       ComputerA(R"("default_shares": true, "shares": [{"name": "IPC$"}])"),
       "share 'IPC$' is listed twice or is a default share"},
      {"connection without client",
       ComputerA(R"("shares": [{"name": "S", "connections": [{"user": "u"}]}])"),
       "computers[0].shares[0].connections[0]: needs computer"},
      {"bad drive", ComputerA(R"("disks": [{"drive": "CD"}])"),
       "computers[0].disks[0].drive: 'CD' is not a drive letter"},
      {"duplicate drive", ComputerA(R"("disks": [{"drive": "C"}, {"drive": "c:"}])"),
       "computers[0].disks: drive C: is listed twice"},
      {"free above total",
       ComputerA(R"("disks": [{"drive": "C", "total_bytes": 1, "free_bytes": 2}])"),
       "free_bytes is larger than total_bytes"},
      {"bad size", ComputerA(R"("disks": [{"drive": "C", "total_bytes": "lots"}])"),
       "'lots' is not a byte count"},
      {"negative size", ComputerA(R"("disks": [{"drive": "C", "total_bytes": -1}])"),
       "a byte count must not be negative"},
      {"bad refusal", ComputerA(R"("refuse_session_502": "NOPE")"), "unknown status 'NOPE'"},
      {"session without client", ComputerA(R"("sessions": [{"user": "u"}])"),
       "computers[0].sessions[0]: needs computer"},
      {"transport without name", ComputerA(R"("transports": [{"address": "00"}])"),
       "computers[0].transports[0]: needs name"},
      // Printers.
      {"printer without name", ComputerA(R"("printers": [{"share_name": "x"}])"),
       "computers[0].printers[0]: a printer needs a name"},
      {"duplicate printer", ComputerA(R"("printers": [{"name": "P"}, {"name": "p"}])"),
       "computers[0].printers[1]: printer 'p' is listed twice"},
      {"printer name with a backslash", ComputerA(R"("printers": [{"name": "a\\b"}])"),
       "computers[0].printers[0].name: a printer name cannot hold"},
      {"unknown printer status", ComputerA(R"("printers": [{"name": "P", "status": ["MELTING"]}])"),
       "unknown printer status 'MELTING'"},
      {"printer failing another operation",
       ComputerA(R"("printers": [{"name": "P", "failures": {"EnumPrinters": 5}}])"),
       "a printer can only fail OpenPrinter, GetPrinter and GetNamedSecurityInfo"},
      // Files.
      {"files path without a drive", ComputerA(R"("files": {"Apps": [{"name": "x"}]})"),
       "computers[0].files.Apps: a files path starts with a drive"},
      {"file listed twice", ComputerA(R"("files": {"C:\\A": [{"name": "x"}, {"name": "X"}]})"),
       "computers[0].files.C:\\A[1]: the name 'X' is listed twice"},
      {"file name with a separator", ComputerA(R"("files": {"C:\\A": [{"name": "x\\y"}]})"),
       "computers[0].files.C:\\A[0]: a file needs a name without separators"},
      {"bad file time", ComputerA(R"("files": {"C:\\A": [{"name": "x", "written": "yesterday"}]})"),
       "computers[0].files.C:\\A[0].written: expected a FILETIME or a UTC time"},
      {"missing bytes file",
       ComputerA(R"("files": {"C:\\A": [{"name": "x", "bytes": "no-such-file"}]})"),
       "computers[0].files.C:\\A[0].bytes: cannot read the file 'no-such-file'"},
      {"file listed as a directory",
       ComputerA(R"("files": {"C:\\A": [{"name": "x"}], "C:\\A\\x": []})"),
       "computers[0].files.C:\\A\\x: 'x' is a file, not a directory"},
      // Terminal services.
      {"session without id", SessionsOfA(R"({"station": "Console"})"),
       "computers[0].terminal_services.sessions[0]: a session needs an id"},
      {"unknown session state", SessionsOfA(R"({"id": 1, "state": "Sleeping"})"),
       "computers[0].terminal_services.sessions[0].state: unknown session state 'Sleeping'"},
      {"bad IPv4",
       SessionsOfA(R"({"id": 1, "address": {"family": "AF_INET", "address": "300.1.1.1"}})"),
       "computers[0].terminal_services.sessions[0].address.address: '300.1.1.1' is not a dotted "
       "IPv4 address"},
      {"bad IPv6",
       SessionsOfA(R"({"id": 1, "address": {"family": "AF_INET6", "address": "fe80:::1"}})"),
       "computers[0].terminal_services.sessions[0].address.address: 'fe80:::1' is not an IPv6 "
       "address"},
      {"address text for another family",
       SessionsOfA(R"({"id": 1, "address": {"family": "AF_IPX", "address": "1"}})"),
       "computers[0].terminal_services.sessions[0].address.address: an address text needs the "
       "family AF_INET or AF_INET6"},
      {"too many address bytes",
       SessionsOfA(
           R"({"id": 1, "address": {"bytes": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}})"),
       "computers[0].terminal_services.sessions[0].address.bytes: at most 20 bytes"},
      {"address byte too large", SessionsOfA(R"({"id": 1, "address": {"bytes": [0, 256]}})"),
       "computers[0].terminal_services.sessions[0].address.bytes[1]: a byte runs from 0 to 255"},
      {"address and bytes",
       SessionsOfA(R"({"id": 1, "address": {"address": "1.2.3.4", "bytes": [1]}})"),
       "computers[0].terminal_services.sessions[0].address: give either an address or its bytes"},
      {"bad session time", SessionsOfA(R"({"id": 1, "logon_time": "yesterday"})"),
       "computers[0].terminal_services.sessions[0].logon_time: expected a UTC time "
       "YYYY-MM-DDTHH:MM:SSZ"},
      {"impossible session date", SessionsOfA(R"({"id": 1, "logon_time": "2026-02-30T00:00:00Z"})"),
       "computers[0].terminal_services.sessions[0].logon_time: expected a UTC time"},
      {"session time as a number", SessionsOfA(R"({"id": 1, "logon_time": 5})"),
       "computers[0].terminal_services.sessions[0].logon_time: a time is 0"},
      {"product id beyond 16 bits", SessionsOfA(R"({"id": 1, "client_product_id": 70000})"),
       "computers[0].terminal_services.sessions[0].client_product_id: expected a number from 0 to "
       "65535"},
      {"unknown unanswered class", SessionsOfA(R"({"id": 1, "unanswered": ["colour"]})"),
       "computers[0].terminal_services.sessions[0].unanswered[0]: unknown information class "
       "'colour'"},
      {"unanswered class out of range", SessionsOfA(R"({"id": 1, "unanswered": [17]})"),
       "computers[0].terminal_services.sessions[0].unanswered[0]: information classes run from 0 "
       "to 16"},
      {"session failing another operation",
       SessionsOfA(R"({"id": 1, "failures": {"WTSOpenServer": 5}})"),
       "computers[0].terminal_services.sessions[0].failures.WTSOpenServer: a session can only "
       "fail"},
      {"duplicate session id", SessionsOfA(R"({"id": 1}, {"id": 1})"),
       "computers[0].terminal_services.sessions[1]: session id 1 is listed twice"},
      {"unknown user setting",
       ComputerA(R"("terminal_services": {"user_config": {"u": {"colour": 1}}})"),
       "computers[0].terminal_services.user_config.u.colour: unknown user setting"},
      {"text for a number setting",
       ComputerA(R"("terminal_services": {"user_config": {"u": {"shadow": "on"}}})"),
       "computers[0].terminal_services.user_config.u.shadow: expected a number, found a string"},
      {"closing cannot fail", ComputerA(R"("failures": {"WTSCloseServer": 5})"),
       "computers[0].failures.WTSCloseServer: unknown operation"},
      {"libraries not booleans", R"({"libraries": {"terminal_services": 0}})",
       "libraries.terminal_services: expected true or false"},
  };
  for (const Case& c : cases) {
    const LoadResult result = ParseEstate(c.text, "bad.json");
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_TRUE(result.error.starts_with("bad.json: ")) << c.name << ": " << result.error;
    EXPECT_NE(result.error.find(c.expected), std::string::npos)
        << c.name << ": " << result.error << "\nexpected to contain: " << c.expected;
    EXPECT_TRUE(result.estate.computers.empty()) << c.name;
  }
}

TEST(EstateLoader, SurvivesJunk) {
  const std::string huge_name(4 << 20, 'x');
  std::string deep(100000, '[');
  const std::string junk_cases[] = {
      deep, std::string("\x00\x01\x02{\"a\"", 7),
      R"({"computers": [{"name": ")" + huge_name + R"(", "domain": "Z"}]})",
      "{\"computers\": [{\"name\": \"" + huge_name,  // unterminated
  };
  for (const auto& text : junk_cases) {
    const LoadResult result = ParseEstate(text, "junk.json");
    EXPECT_FALSE(result.ok);
    EXPECT_LT(result.error.size(), 1000u) << "messages stay readable";
    EXPECT_TRUE(text::IsValidUtf8(result.error)) << result.error;
  }
  const std::string huge_key =
      R"({"computers": [{"name": "A", "failures": {")" + huge_name + R"(": 5}}]})";
  EXPECT_LT(ParseEstate(huge_key, "junk.json").error.size(), 1000u);
  // Deep but well-formed, under a key nobody reads.
  const std::string nested = R"({"later": )" + deep + std::string(deep.size(), ']') + "}";
  EXPECT_TRUE(ParseEstate(nested, "deep.json").ok);
}

// Pointed at the wrong file (a configuration, a key file), the message
// names the file and line but repeats nothing of what it holds.
TEST(EstateLoader, ErrorsAboutOtherFilesQuoteNoneOfTheirText) {
  const tabulon::testing::ScratchDir scratch;
  scratch.Write("secret.reg", "Password=hunter2\n");
  struct Case {
    const char* name;
    std::string text;
    std::string expected;  // after "other.txt: "
  };
  const Case cases[] = {
      {"configuration", "[General]\nPassword=hunter2\n", "parse error at line 1"},
      {"quoted first line", "\"hunter2 is the password\n{}", "parse error at line 2"},
      {"bad UTF-8 in a string", "\"hunter2\xFF\"", "parse error at line 1"},
      {"second line", "{\"a\": 1,\n hunter2}", "parse error at line 2"},
      {".reg file that is not one",
       R"({"computers": [{"name": "A", "registry": {"files": ["secret.reg"]}}]})",
       "secret.reg:1: expected the header"},
  };
  for (const Case& c : cases) {
    const LoadResult result = ParseEstate(c.text, "other.txt", scratch.path());
    EXPECT_NE(result.error.find(c.expected), std::string::npos) << c.name << ": " << result.error;
    EXPECT_TRUE(result.error.starts_with("other.txt: ")) << c.name << ": " << result.error;
    EXPECT_EQ(result.error.find("hunter2"), std::string::npos) << c.name << ": " << result.error;
  }
}

TEST(EstateLoader, LoadsFilesAndReportsUnreadableOnes) {
  const tabulon::testing::ScratchDir scratch;
  const std::filesystem::path dir = scratch.path();
  const std::string good = (dir / "good.json").string();
  std::ofstream(good) << R"({"computers": [{"name": "A"}]})";
  const LoadResult loaded = LoadEstate(good);
  EXPECT_TRUE(loaded.ok) << loaded.error;
  EXPECT_NE(loaded.estate.FindComputer("a"), nullptr);

  const std::string bad = (dir / "bad.json").string();
  std::ofstream(bad) << "{\n  \"computers\": [\n    {\"name\": }\n";
  const LoadResult broken = LoadEstate(bad);
  EXPECT_FALSE(broken.ok);
  EXPECT_NE(broken.error.find(bad + ": parse error at line 3, column 14"), std::string::npos)
      << broken.error;

  const LoadResult missing = LoadEstate((dir / "missing.json").string());
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("missing.json: cannot open the estate file"), std::string::npos)
      << missing.error;
}

TEST(EstateLoader, TheDocumentedExampleLoads) {
  std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/docs/estate.md");
  ASSERT_TRUE(in) << "docs/estate.md";
  const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto start = doc.find("```json\n");
  ASSERT_NE(start, std::string::npos);
  const auto end = doc.find("```", start + 8);
  const LoadResult result = ParseEstate(doc.substr(start + 8, end - start - 8), "estate.md");
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_FALSE(result.estate.computers.empty());
}

// An unknown failure operation sends the user to the documentation, which
// must therefore name every operation that can fail, and no other.
TEST(EstateLoader, TheDocumentationNamesEveryOperationThatCanFail) {
  std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/docs/estate.md");
  std::stringstream text;
  text << in.rdbuf();
  const std::string doc = text.str();
  const std::size_t from = doc.find("Operations, by family:");
  const std::size_t to = doc.find("cannot be made to fail", from);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  const std::string list = doc.substr(from, to - from);
  for (int i = 0; i <= static_cast<int>(kLastOperation); ++i) {
    const auto op = static_cast<Operation>(i);
    const std::string name(OperationName(op));
    const std::regex word("\\b" + name + "\\b");
    EXPECT_EQ(std::regex_search(list, word), CanInjectFailure(op)) << name;
  }
}

}  // namespace
}  // namespace tabulon::estate
