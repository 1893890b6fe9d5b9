// A file/directory template over a real local folder against find -printf
// of the same fields, in the same run: 100,000 files in 1,000 directories
// (made by the benchmark), all subdirectories, one row per file and
// directory with path, size, name, last access, last write and the
// directory flag. Prints the fastest of five rounds of each and their ratio.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "bench/whole_run.h"
#include "estate/loader.h"
#include "platform/posix/file_system.h"
#include "support/local_files_session.h"

namespace {

using namespace tabulon;  // NOLINT(google-build-using-namespace): a program of its own

constexpr int kDirectories = 1000;
constexpr int kFilesPerDirectory = 100;
constexpr int kRounds = 5;

class Silent final : public RunObserver {
 public:
  void ShowError(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  bool AskYesNo(std::string_view, bool answer) override { return answer; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void MakeTree(const std::filesystem::path& root) {
  for (int d = 0; d < kDirectories; ++d) {
    const std::filesystem::path dir =
        root / ("dir" + std::to_string(d / 100)) / ("sub" + std::to_string(d));
    std::filesystem::create_directories(dir);
    for (int f = 0; f < kFilesPerDirectory; ++f) {
      std::ofstream(dir / ("file" + std::to_string(f) + ".dat")) << std::string(f, 'x');
    }
  }
}

std::size_t Lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::size_t n = 0;
  std::string line;
  while (std::getline(in, line)) ++n;
  return n;
}

// One export of the template on the estate's FS01, whose share "data" is the
// folder.
double RunTemplate(const std::string& dir, const std::string& folder) {
  estate::LoadResult loaded = estate::ParseEstate(R"({"computers": [{"name": "FS01"}]})", "bench");
  estate::EstateBackend backend(std::move(loaded.estate));
  platform::PosixFileSystem files;
  files.set_local_shares({{"\\\\FS01\\data", folder}});
  std::optional<testing::LocalFilesBackend> sessions;
  Silent messages;
  return bench::RunConfiguration(backend, dir, messages,
                                 [&](platform::Platform& platform) {
                                   sessions.emplace(*platform.sessions, files);
                                   platform.sessions = &*sessions;
                                 })
      .seconds;
}

double RunFind(const std::string& folder, const std::string& out) {
  const std::string command = "find '" + folder +
                              "' -mindepth 1 -printf '%p\\t%s\\t%f\\t%A+\\t%T+\\t%y\\n' > '" + out +
                              "'";
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
  return Seconds(start);
}

}  // namespace

int main() {
  char pattern[] = "/tmp/tabulon-files-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  const std::string folder = dir + "/data";
  auto start = std::chrono::steady_clock::now();
  MakeTree(folder);
  std::printf("made %d files in %d directories in %.1f s\n", kDirectories * kFilesPerDirectory,
              kDirectories, Seconds(start));
  std::ofstream(dir + "/objects.dat") << "2\t0\t33\t1\treserved\treserved\tFS01\t\t\\\\FS01\r\n";
  std::ofstream(dir + "/files.cfg") << "[Bench]\nOutputFileName=" << dir
                                    << "/files.txt\nOutputColumns=0,1,2,5,6,9\nPaths=data\n"
                                       "PathOptions=1\n";
  std::ofstream(dir + "/run.ini") << "[General]\nObjectFile=" << dir << "/objects.dat\n"
                                  << "FileCfgFile=" << dir << "/files.cfg\n"
                                  << "[Computers]\nPingEnable=0\n"
                                  << "[Templates]\nFileTemplates=Bench;\n";

  double best_ours = 1e9, best_find = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    best_ours = std::min(best_ours, RunTemplate(dir, folder));
    best_find = std::min(best_find, RunFind(folder, dir + "/find.txt"));
  }
  const std::size_t rows = Lines(dir + "/files.txt") - 1;  // the title row
  const std::size_t find_rows = Lines(dir + "/find.txt");
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("file template: %zu rows, %.3f s (%.0f rows/s), peak %.1f MiB\n", rows, best_ours,
              static_cast<double>(rows) / best_ours, static_cast<double>(usage.ru_maxrss) / 1024);
  std::printf("find -printf:  %zu rows, %.3f s (%.0f rows/s)\n", find_rows, best_find,
              static_cast<double>(find_rows) / best_find);
  std::printf("ratio: %.2fx (goal: at most 2x)\n", best_ours / best_find);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return rows == find_rows ? 0 : 1;
}
