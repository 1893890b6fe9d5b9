// A file/directory template over a real server's share, read over SMB,
// against Samba's own client listing the same share recursively, in the same
// run: 20,000 files in 200 directories of the test smbd's "data" share (or
// 100 files in each of as many directories as the command line says), one
// row per file and directory with path, size, name, last write and the
// directory flag. Prints the fastest of three rounds of each, their ratio
// and the peak memory of the run's process and of its transport worker.
// Needs root (the server runs in this process's own network namespace,
// loopback only); see bench/README.md.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/server_run.h"
#include "platform/samba/worker_process.h"
#include "samba/remote_run.h"
#include "support/samba_server.h"

namespace tabulon::bench {
namespace {

// The directories made unless the command line gives another count.
constexpr int kDefaultDirectories = 200;
constexpr int kFilesPerDirectory = 100;
constexpr int kRounds = 3;

using Figures = ServerRunFigures;

long Lines(const std::string& path) {
  std::ifstream in(path);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

void MakeTree(const std::filesystem::path& root, int directories) {
  for (int d = 0; d < directories; ++d) {
    const std::filesystem::path dir =
        root / ("dir" + std::to_string(d / 20)) / ("sub" + std::to_string(d));
    std::filesystem::create_directories(dir);
    for (int f = 0; f < kFilesPerDirectory; ++f) {
      std::ofstream(dir / ("file" + std::to_string(f) + ".dat")) << std::string(f, 'x');
    }
  }
}

// The export in a child process, so that its peak memory is its own.
Figures ExportInChild() {
  return MeasureServerRun([] {
    testing::ScratchDir run;
    run.Write("files.cfg",
              "[Bench]\nOutputFileName=files.txt\nOutputColumns=0,1,2,6,9\n"
              "Paths=data\nPathOptions=1\n");
    testing::RecordedMessages messages;
    testing::RunAgainstTestServer(run,
                                  "FileCfgFile=" + run.File("files.cfg") +
                                      "\n[Computers]\nPingEnable=0\n"
                                      "[Templates]\nFileTemplates=Bench;\n",
                                  messages);
    return DataRows(run.File("files.txt"));
  });
}

Figures Smbclient(const testing::SambaServer& server, const std::string& out) {
  const std::string command = std::string("smbclient //127.0.0.1/data -U ") + testing::kSambaUser +
                              "%" + testing::kSambaPassword + " -s " + server.configuration() +
                              " -c 'recurse ON; ls' > '" + out + "' 2>/dev/null";
  Figures measured;
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "smbclient failed\n");
  measured.seconds = Since(start);
  // A line per item, "." and ".." of every directory included, plus a
  // heading and a blank line per directory and the closing block count.
  measured.rows = Lines(out);
  return measured;
}

}  // namespace
}  // namespace tabulon::bench

int main(int argc, char** argv) {
  // The benchmark is its transports' worker too.
  if (tabulon::platform::samba::IsWorkerCommand(argc, argv)) {
    tabulon::platform::samba::RunWorkerProcess();
  }
  namespace testing = tabulon::testing;
  namespace bench = tabulon::bench;
  if (const std::string& why_not = testing::IsolateNetwork(); !why_not.empty()) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 0;
  }
  std::string why_not;
  auto server = testing::SambaServer::Start(why_not);
  if (!server) {
    std::fprintf(stderr, "skipped: %s\n", why_not.c_str());
    return 0;
  }
  const int directories = argc > 1 ? std::atoi(argv[1]) : bench::kDefaultDirectories;
  if (directories <= 0) {
    std::fprintf(stderr, "usage: %s [directories]\n", argv[0]);
    return 2;
  }
  const std::string data = server->folder() + "/data";
  auto start = bench::Clock::now();
  bench::MakeTree(data, directories);
  std::printf("made %d files in %d directories in %.1f s\n",
              directories * bench::kFilesPerDirectory, directories, bench::Since(start));
  bench::Figures ours{1e9}, theirs{1e9};
  // The first round of each meets an idle server: ours starts its RPC
  // helper (the run asks the server's information first).
  double first_ours = 0, first_theirs = 0;
  for (int round = 0; round < bench::kRounds; ++round) {
    const bench::Figures a = bench::ExportInChild();
    if (a.seconds < ours.seconds) ours = a;
    const bench::Figures b = bench::Smbclient(*server, server->folder() + "/ls.txt");
    if (b.seconds < theirs.seconds) theirs = b;
    if (round == 0) {
      first_ours = a.seconds;
      first_theirs = b.seconds;
    }
  }
  std::printf("first round: ours %.3f s, smbclient %.3f s\n", first_ours, first_theirs);
  std::printf(
      "file template over SMB: %ld rows, %.3f s (%.0f rows/s), peak %.1f MiB, worker %.1f MiB\n",
      ours.rows, ours.seconds, static_cast<double>(ours.rows) / ours.seconds,
      static_cast<double>(ours.parent_peak_kb) / 1024,
      static_cast<double>(ours.worker_peak_kb) / 1024);
  std::printf("smbclient recurse ls: %ld lines, %.3f s\n", theirs.rows, theirs.seconds);
  std::printf("ratio: %.2fx\n", ours.seconds / theirs.seconds);
  // Every file and directory made (the directories in groups of 20 under
  // parents of their own), and the share's own readme.
  const long made = directories * (bench::kFilesPerDirectory + 1) + (directories + 19) / 20;
  return ours.rows == made + 1 ? 0 : 1;
}
