// The directory client against OpenLDAP's own ldapsearch, both reading the
// same slapd of 20,000 users (or as many as the argument says) in the same
// run: a paged subtree search of 8 attributes written to a file as text, and
// the complete member list of a 3,000-member group; then the program itself
// running a directory query of the same 8 attributes, and a group-members
// query of that group, against ldapsearch reading the same objects. Prints
// wall time and
// entries per second of both, their ratio, and the peak memory of each
// process. Needs root (slapd runs in this process's own network namespace,
// loopback only); see bench/README.md.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/in_child.h"
#include "platform/directory_search.h"
#include "platform/ldap/ldap_directory.h"
#include "platform/text.h"
#include "support/directory_data.h"
#include "support/samba_server.h"
#include "support/server_process.h"
#include "support/slapd_server.h"

namespace tabulon::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultUsers = 20000;
constexpr int kRounds = 9;
constexpr const char* kLdapsearch = "/usr/bin/ldapsearch";
constexpr const char* kProgram = TABULON_PROGRAM;
const std::vector<std::string> kAttributes = {
    "cn",        "sAMAccountName", "displayName", "description", "userAccountControl",
    "objectSid", "whenCreated",    "memberOf"};
const std::string kUserFilter =
    std::string("(objectCategory=CN=Person,") + testing::kTestSchemaDn + ")";
const std::string kGroupDn = std::string("CN=All Staff,OU=Groups,") + testing::kTestDomainDn;
const std::string kStaffDn = std::string("OU=Staff,") + testing::kTestDomainDn;
// The columns of a member row, as the program's default member columns ask.
const std::vector<std::string> kMemberAttributes = {
    "distinguishedName", "cn", "displayName", "description", "objectClass", "sAMAccountName",
    "userAccountControl"};

struct Figures {
  double seconds = 0;
  long entries = 0;        // entries found; for the group, member values
  double cpu_seconds = 0;  // user and system
  long peak_kb = 0;
  long start_kb = 0;  // resident at the start: what the search adds is the rest
};

double CpuSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A size line of /proc/self/status ("VmHWM:", "VmRSS:") in KiB.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field)) return std::stol(line.substr(6));
  }
  return 0;
}

// Each entry's values of the wanted attributes as one tab-separated line,
// several values of one attribute joined by ';'.
void WriteLine(std::FILE* out, const platform::DirectoryEntry& entry) {
  for (std::size_t i = 0; i < kAttributes.size(); ++i) {
    if (i != 0) std::fputc('\t', out);
    const platform::DirectoryAttribute* attribute = entry.Find(kAttributes[i]);
    if (attribute == nullptr) continue;
    for (std::size_t v = 0; v < attribute->values.size(); ++v) {
      if (v != 0) std::fputc(';', out);
      std::fwrite(attribute->values[v].data(), 1, attribute->values[v].size(), out);
    }
  }
  std::fputc('\n', out);
}

// Our client's search (the peak is reset first to what the process holds
// then).
Figures OursSearch(const testing::SlapdServer& slapd, const std::string& output, bool group) {
  testing::WriteFile("/proc/self/clear_refs", "5");
  Figures measured;
  measured.start_kb = StatusKb("VmRSS:");
  const auto start = Clock::now();
  {
    auto directory = platform::ldap::MakeLdapDirectorySearch({});
    platform::DirectoryOpenOptions options;
    options.server = slapd.ldap_url();
    options.base = testing::kTestDomainDn;
    platform::DirectoryStatus status = directory->Open(options);
    std::FILE* out = std::fopen(output.c_str(), "w");
    platform::SearchRequest request;
    if (group) {
      request.base = kGroupDn;
      request.scope = platform::SearchScope::kBase;
      request.attributes = {"member"};
      request.page_size = 0;
    } else {
      request.filter = kUserFilter;
      request.attributes = kAttributes;
    }
    if (status.ok() && out != nullptr) {
      status = directory->Search(request, [&](platform::DirectoryEntry&& entry) {
        if (group) {
          if (const auto* member = entry.Find("member"); member != nullptr) {
            measured.entries += static_cast<long>(member->values.size());
            for (const std::string& value : member->values) {
              std::fprintf(out, "%s\n", value.c_str());
            }
          }
        } else {
          ++measured.entries;
          WriteLine(out, entry);
        }
        return true;
      });
    }
    if (out != nullptr) std::fclose(out);
    if (!status.ok()) {
      std::fprintf(stderr, "search failed: 0x%08X %s\n", status.status,
                   status.extended_text.c_str());
      measured.entries = 0;
    }
  }
  measured.seconds = Since(start);
  measured.peak_kb = StatusKb("VmHWM:");
  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  measured.cpu_seconds = CpuSeconds(self);
  return measured;
}

// In a child process, so that its peak memory is its own.
Figures OursInChild(const testing::SlapdServer& slapd, const std::string& output, bool group) {
  return InChild<Figures>([&] { return OursSearch(slapd, output, group); }).value_or(Figures{});
}

long CountLines(const std::string& path, const std::string& prefix) {
  std::ifstream in(path);
  long count = 0;
  for (std::string line; std::getline(in, line);) count += line.starts_with(prefix) ? 1 : 0;
  return count;
}

// A program with its output to a file; its figures from wait4. False when it
// could not run or failed.
bool RunProgram(const char* program, std::vector<std::string> args, const std::string& output,
                Figures& figures) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0) ::_exit(127);
    ::execv(program, argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || status != 0) return false;
  figures.seconds = Since(start);
  figures.peak_kb = usage.ru_maxrss;
  figures.cpu_seconds = CpuSeconds(usage);
  return true;
}

// ldapsearch with its output to a file.
Figures Ldapsearch(const testing::SlapdServer& slapd, const std::string& output, bool group) {
  std::vector<std::string> args = {kLdapsearch, "-x", "-LLL", "-H", slapd.ldap_url()};
  if (group) {
    args.insert(args.end(), {"-b", kGroupDn, "-s", "base", "(objectClass=*)", "member"});
  } else {
    args.insert(args.end(), {"-E", "pr=250/noprompt", "-b", testing::kTestDomainDn, kUserFilter});
    args.insert(args.end(), kAttributes.begin(), kAttributes.end());
  }
  Figures figures;
  if (RunProgram(kLdapsearch, args, output, figures)) {
    figures.entries = CountLines(output, group ? "member: " : "dn: ");
  }
  return figures;
}

// ldapsearch reading what an export query reads: the objects below the
// staff unit with the query's attributes, or the group's members with the
// member columns.
Figures LdapsearchForQuery(const testing::SlapdServer& slapd, const std::string& output,
                           bool members) {
  std::vector<std::string> args = {kLdapsearch,      "-x", "-LLL",           "-H",
                                   slapd.ldap_url(), "-E", "pr=250/noprompt"};
  const std::vector<std::string>& names = members ? kMemberAttributes : kAttributes;
  if (members) {
    args.insert(args.end(), {"-b", testing::kTestDomainDn, "(memberOf=" + kGroupDn + ")"});
  } else {
    args.insert(args.end(), {"-b", kStaffDn, "(objectClass=*)"});
  }
  args.insert(args.end(), names.begin(), names.end());
  Figures figures;
  if (RunProgram(kLdapsearch, args, output, figures)) figures.entries = CountLines(output, "dn: ");
  return figures;
}

// The program's run of one directory query on one directory target, from a
// configuration written into `folder`; entries are the rows it wrote.
Figures ProgramQuery(const testing::SlapdServer& slapd, const std::string& folder, bool members) {
  const std::string attributes = members ? "cn,adspath" : [] {
    std::string text;
    for (const std::string& name : kAttributes) text += (text.empty() ? "" : ",") + name;
    return text;
  }();
  testing::WriteFile(folder + "/queries.cfg",
                     "[Q]\r\nOutputFileName=" + folder + "/query.txt\r\nAttributes=" + attributes +
                         "\r\nLevel=1\r\n" +
                         (members ? "Filter=3\r\nGetGroupMembers=1\r\n" : "Filter=0\r\n"));
  testing::WriteFile(folder + "/run.ini", "[General]\r\nObjectFile=" + folder +
                                              "/objects.dat\r\nWriteTitles=0\r\n"
                                              "AdCfgQueryFile=" +
                                              folder +
                                              "/queries.cfg\r\nDefaultOutputDirectory=" + folder +
                                              "\r\n[Templates]\r\nDirectoryTemplates=Q;\r\n"
                                              "[Platform]\r\nDirectoryServer=" +
                                              slapd.ldap_url() + "\r\n");
  const std::string object =
      members ? "1\t0\t110\t1\treserved\treserved\tAll Staff\t\tLDAP://" + kGroupDn
              : "1\t0\t114\t1\treserved\treserved\tStaff\t\tLDAP://" + kStaffDn;
  testing::WriteFile(folder + "/objects.dat", "\xFF\xFE" + text::Utf8ToUtf16Le(object + "\r\n"));
  Figures figures;
  const std::string log = folder + "/program.out";
  if (RunProgram(kProgram, {kProgram, "/CONFIG=" + folder + "/run.ini"}, log, figures)) {
    figures.entries = CountLines(folder + "/query.txt", "");
  }
  return figures;
}

// The fastest of the rounds, with the largest peak.
void Keep(Figures& best, const Figures& round) {
  if (best.entries == 0 || (round.entries > 0 && round.seconds < best.seconds)) {
    best.seconds = round.seconds;
    best.cpu_seconds = round.cpu_seconds;
    best.entries = round.entries;
  }
  if (round.peak_kb > best.peak_kb) {
    best.peak_kb = round.peak_kb;
    best.start_kb = round.start_kb;
  }
}

void Report(const char* what, const Figures& ours, const Figures& theirs) {
  const auto rate = [](const Figures& f) { return f.seconds > 0 ? f.entries / f.seconds : 0.0; };
  std::printf("%s\n", what);
  std::printf(
      "  ours:       %6ld in %.3f s (CPU %.3f s) = %8.0f/s; peak memory %.1f MiB (%.1f MiB "
      "above start)\n",
      ours.entries, ours.seconds, ours.cpu_seconds, rate(ours), ours.peak_kb / 1024.0,
      (ours.peak_kb - ours.start_kb) / 1024.0);
  std::printf("  ldapsearch: %6ld in %.3f s (CPU %.3f s) = %8.0f/s; peak memory %.1f MiB\n",
              theirs.entries, theirs.seconds, theirs.cpu_seconds, rate(theirs),
              theirs.peak_kb / 1024.0);
  std::printf("  time ratio: %.2fx ldapsearch\n",
              theirs.seconds > 0 ? ours.seconds / theirs.seconds : 0.0);
}

int Main(int users) {
  if (const std::string& why_not = testing::IsolateNetwork(); !why_not.empty()) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 1;
  }
  std::string why_not;
  const auto loading = Clock::now();
  auto slapd = testing::SlapdServer::Start(why_not, testing::MakeTestDirectoryLdif(users));
  if (!slapd) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 1;
  }
  std::printf("slapd loaded with %d users and started in %.1f s\n", users, Since(loading));

  const std::string folder = testing::MakeTempFolder("tabulon-bench-directory");
  Figures ours_users, theirs_users, ours_group, theirs_group;
  Figures query, query_ldapsearch, members, members_ldapsearch;
  for (int round = 0; round < kRounds; ++round) {
    Keep(ours_users, OursInChild(*slapd, folder + "/ours-users.txt", false));
    Keep(theirs_users, Ldapsearch(*slapd, folder + "/ldapsearch-users.ldif", false));
    Keep(ours_group, OursInChild(*slapd, folder + "/ours-group.txt", true));
    Keep(theirs_group, Ldapsearch(*slapd, folder + "/ldapsearch-group.ldif", true));
    Keep(query, ProgramQuery(*slapd, folder, false));
    Keep(query_ldapsearch, LdapsearchForQuery(*slapd, folder + "/ldapsearch-query.ldif", false));
    Keep(members, ProgramQuery(*slapd, folder, true));
    Keep(members_ldapsearch, LdapsearchForQuery(*slapd, folder + "/ldapsearch-members.ldif", true));
  }
  std::printf("best of %d rounds\n", kRounds);
  Report("users, 8 attributes, paged 250:", ours_users, theirs_users);
  Report("group members:", ours_group, theirs_group);
  Report("the program: directory query of the staff unit, 8 attributes (rows):", query,
         query_ldapsearch);
  Report("the program: group-members query of the 3,000-member group (rows):", members,
         members_ldapsearch);
  const bool complete =
      ours_users.entries == users && theirs_users.entries == users &&
      ours_group.entries == testing::kTestUsers && theirs_group.entries == testing::kTestUsers &&
      query.entries == query_ldapsearch.entries && members.entries >= members_ldapsearch.entries &&
      members_ldapsearch.entries == testing::kTestUsers;
  if (!complete) std::fprintf(stderr, "incomplete results\n");
  std::string ignored;
  testing::RunCommand("rm -rf " + folder, ignored);
  return complete ? 0 : 1;
}

}  // namespace
}  // namespace tabulon::bench

// An optional user count shows that peak memory does not grow with it.
int main(int argc, char** argv) {
  const int users = argc > 1 ? std::atoi(argv[1]) : tabulon::bench::kDefaultUsers;
  return tabulon::bench::Main(std::max(users, tabulon::testing::kTestUsers));
}
