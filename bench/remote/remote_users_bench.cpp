// The users export of a real domain controller holding 20,000 accounts,
// against Samba's own client describing the same accounts one call per
// account in one session (enumdomusers, then queryuser for each): rows per
// second of both, their ratio, and the peak memory of the run's process and
// of its transport worker. Needs root (the controller runs in this
// process's own network namespace, loopback only) and the AD DC packages;
// see bench/README.md.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "bench/remote/populated_domain.h"
#include "bench/server_run.h"
#include "platform/samba/worker_process.h"
#include "samba/remote_run.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"

namespace tabulon::bench {
namespace {

constexpr int kUsers = 20000;

using Figures = ServerRunFigures;

// Every column the export fills without the dial-in and terminal-server
// libraries.
constexpr const char* kUsersIni =
    "[Computers]\nPingEnable=0\n[Users]\nExportUsers=1\n"
    "UsersColumns=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21\n";

// The export in a child process, so that its peak memory is its own; the
// worker's peak is that of the child's own children, once ended.
Figures ExportInChild() {
  return MeasureServerRun([] {
    testing::ScratchDir dir;
    testing::RecordedMessages messages;
    const platform::Credentials admin{
        testing::kDcAdmin, platform::Secret(testing::kDcAdminPassword), testing::kDcDomain};
    const RunResult result = testing::RunAgainstRealServers(
        dir, messages, "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n", kUsersIni,
        admin);
    if (!messages.shown.empty() || !messages.rows.empty()) {
      std::fprintf(stderr, "%s%s", messages.shown.c_str(), messages.rows.c_str());
    }
    return result.stopped_early ? 0L : DataRows(dir.File("users.txt"));
  });
}

// One rpcclient session listing the accounts and then asking for each of
// them, as a client that makes one request per account does.
Figures SambaClient(const std::string& configuration) {
  const std::string client = "rpcclient -s " + configuration + " -U '" + testing::kDcDomain + "\\" +
                             testing::kDcAdmin + "%" + testing::kDcAdminPassword +
                             "' --use-kerberos=off 127.0.0.1";
  std::string listed;
  testing::RunCommand(client + " -c enumdomusers", listed);
  const std::string commands = testing::MakeTempFolder("tabulon-bench-rpc") + "/commands";
  {
    std::ofstream out(commands);
    out << "enumdomusers\n";
    const std::regex rid(R"(rid:\[(0x[0-9a-f]+)\])");
    for (auto it = std::sregex_iterator(listed.begin(), listed.end(), rid);
         it != std::sregex_iterator(); ++it) {
      out << "queryuser " << (*it)[1].str() << "\n";
    }
  }
  Figures figures;
  std::string output;
  const auto start = Clock::now();
  testing::RunCommand(client + " < " + commands, output);
  figures.seconds = Since(start);
  for (std::size_t at = output.find("\tUser Name   :"); at != std::string::npos;
       at = output.find("\tUser Name   :", at + 1)) {
    ++figures.rows;
  }
  return figures;
}

int Main() {
  if (const std::string& why_not = testing::IsolateNetwork(); !why_not.empty()) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 1;
  }
  std::string why_not;
  const auto populating = Clock::now();
  const std::string domain = PopulatedDomain(kUsers, why_not);
  if (domain.empty()) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 1;
  }
  std::printf("populated domain ready in %.1f s\n", Since(populating));
  ::setenv("TABULON_DC_CACHE", domain.c_str(), 1);
  const auto starting = Clock::now();
  auto dc = testing::SambaDomainController::Start(why_not);
  if (!dc) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 1;
  }
  std::printf("controller started in %.1f s\n", Since(starting));

  const Figures ours = ExportInChild();
  const Figures theirs = SambaClient(dc->configuration());
  const double our_rate = ours.seconds > 0 ? ours.rows / ours.seconds : 0;
  const double their_rate = theirs.seconds > 0 ? theirs.rows / theirs.seconds : 0;
  std::printf(
      "users export:   %ld rows in %.2f s = %.0f rows/s; peak memory: run %.1f MB, "
      "worker %.1f MB\n",
      ours.rows, ours.seconds, our_rate, ours.parent_peak_kb / 1024.0,
      ours.worker_peak_kb / 1024.0);
  std::printf("rpcclient:      %ld users in %.2f s = %.0f users/s\n", theirs.rows, theirs.seconds,
              their_rate);
  std::printf("ratio:          %.2fx\n", their_rate > 0 ? our_rate / their_rate : 0);
  return ours.rows >= kUsers ? 0 : 1;
}

}  // namespace
}  // namespace tabulon::bench

int main(int argc, char** argv) {
  // The benchmark is its transports' worker too.
  if (tabulon::platform::samba::IsWorkerCommand(argc, argv)) {
    tabulon::platform::samba::RunWorkerProcess();
  }
  return tabulon::bench::Main();
}
