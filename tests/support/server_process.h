#pragma once
// What the real-server fixtures share: temporary folders, small files, and a
// daemon kept in a PID namespace of its own, so that it and every helper it
// starts end together when the test stops it or dies.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::testing {

std::string MakeTempFolder(const char* prefix);
bool WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);
std::string Errno(const char* what);
// A TCP connect to `address`:`port` succeeds.
bool Accepts(const char* address, std::uint16_t port);
// Runs a shell command (inside the test's namespaces); its exit status, with
// stdout and stderr in `output`.
int RunCommand(const std::string& command, std::string& output);

class KeptDaemon {
 public:
  KeptDaemon() = default;
  ~KeptDaemon() { Stop(); }
  KeptDaemon(const KeptDaemon&) = delete;
  KeptDaemon& operator=(const KeptDaemon&) = delete;

  // Starts `argv` (argv[0] an absolute path) in the foreground under a
  // keeper process, its output to `log`; empty on success, else why not.
  std::string Start(const std::vector<std::string>& argv, const std::string& log);
  // The daemon has ended (it failed to start, or crashed).
  bool Ended();
  // After Ended(): "exit status N" or "ended by signal N".
  const std::string& how_it_ended() const { return how_it_ended_; }
  // SIGTERM, then SIGKILL after 5 s; waits for the keeper.
  void Stop();
  // Stops the daemon where it is (a server that falls silent), or lets it
  // go on.
  void Freeze(bool frozen);

 private:
  pid_t keeper_ = -1;
  std::string how_it_ended_;
};

}  // namespace tabulon::testing
