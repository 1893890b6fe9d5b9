// The built program as a scheduler starts it: exit statuses, Ctrl-C twice,
// and standard descriptors that were closed.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "support/fakes.h"
#include "support/process_memory.h"

// GCC says so with __SANITIZE_ADDRESS__, clang with __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define TABULON_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TABULON_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef TABULON_ADDRESS_SANITIZER
#define TABULON_ADDRESS_SANITIZER 0
#endif
namespace tabulon::testing {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  int wait_status = 0;  // as waitpid gave it
};

class Program : public ::testing::Test {
 protected:
  // Writes cfg.ini with the estate, the object file and the output folder
  // of the scratch directory, and more keys of [General] and [Services].
  void Configure(const std::string& estate, const std::string& general,
                 const std::string& services = "") {
    dir_.Write("estate.json", estate);
    dir_.Write("objects.txt", "PC1\n");
    dir_.Write("objects.dat",
               "1\t0\t52\t1\treserved\treserved\tlist\t\t" + dir_.File("objects.txt") + "\r\n");
    dir_.Write("cfg.ini", "[Platform]\nEstate=" + dir_.File("estate.json") +
                              "\n[General]\nObjectFile=" + dir_.File("objects.dat") +
                              "\nDefaultOutputDirectory=" + dir_.path() + "\n" + general +
                              "[Computers]\nPingEnable=0\n[Services]\nExportServices=1\n" +
                              services);
  }

  // Runs the program with /CONFIG=cfg.ini (or `args`); `in_child` runs
  // before exec, `while_running` in the parent with the child's pid.
  Outcome Run(const std::string& args = "", const std::function<void()>& in_child = {},
              const std::function<void(pid_t)>& while_running = {}) {
    const std::string config = args.empty() ? "/CONFIG=" + dir_.File("cfg.ini") : args;
    const std::string out = dir_.File("stdout"), err = dir_.File("stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(o, 1);
      ::dup2(e, 2);
      ::close(o);
      ::close(e);
      ::setenv("XDG_DATA_HOME", dir_.path().c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
      if (in_child) in_child();
      ::execl(TABULON_PROGRAM, TABULON_PROGRAM, config.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (while_running) while_running(pid);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir_.Read("stdout"), dir_.Read("stderr"),
            status};
  }

  // Waits until the run has opened its output file (the handlers are in
  // place and the credentials read by then) and is in its first call.
  void WaitUntilExporting() const {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(dir_.File("services.txt")) &&
           std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }

  // Adds a line to section [Platform] of cfg.ini.
  void AddPlatformKey(const std::string& line) {
    std::string config = dir_.Read("cfg.ini");
    config.insert(config.find("[Platform]\n") + 11, line + "\n");
    dir_.Write("cfg.ini", config);
  }

  ScratchDir dir_;
};

constexpr const char* kEstate = R"({"computers": [{"name": "PC1", "services": [{"name": "A"}]}]})";

TEST_F(Program, ExitStatuses) {
  struct Case {
    const char* general;
    const char* services;
    int status;
    const char* said;  // on standard output or standard error
  } cases[] = {
      {"", "", 0, "Export Completed. 1 Objects Processed."},
      {"EnableLogging=1\nLogFileName=/dev/full\n", "", 3,
       "Not completely written: Log File /dev/full: There is not enough space on the disk."},
      {"", "ServicesOutputFile=/dev/full\n", 3, "Not completely written: Output File /dev/full"},
      {"", "ServicesOutputFile=objects.dat\n", 1, "are the same file"},
      {"", "ExportSpecificServices=1\nSpecificFileName=/dev/zero\n", 1,
       "Unable to open 'Exception List' file /dev/zero."},
  };
  for (const Case& c : cases) {
    Configure(kEstate, c.general, c.services);
    const Outcome o = Run();
    EXPECT_EQ(o.status, c.status) << c.general << c.services << o.out << o.err;
    EXPECT_NE((o.out + o.err).find(c.said), std::string::npos) << o.out << o.err;
  }
  EXPECT_EQ(Run("/CONFIG=").status, 2);
  EXPECT_EQ(Run("/CONFIG_PROP=").status, 2);
  // The properties window alone needs a display as the main window does.
  const Outcome no_display = Run("/CONFIG_PROP=" + dir_.File("cfg.ini"), [] {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
  });
  EXPECT_EQ(no_display.status, 2) << no_display.err;
}

TEST_F(Program, SecondInterruptCancelsTheCallInFlight) {
  Configure(R"({"computers": [{"name": "PC1", "latency_ms": 60000}]})", "");
  // The signals go once the run has opened its output file, whatever time a
  // slow (sanitized) start takes; the handlers are in place by then.
  std::chrono::steady_clock::time_point interrupted;
  const Outcome o = Run("", {}, [this, &interrupted](pid_t pid) {
    WaitUntilExporting();
    interrupted = std::chrono::steady_clock::now();
    ::kill(pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGTERM);
  });
  // The call would take a minute; cancelled, the run ends at once.
  EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(10));
  EXPECT_EQ(o.status, 4) << o.out << o.err;
  EXPECT_NE(o.out.find("Export Aborted By User."), std::string::npos) << o.out;
}

// The password of a credentials file is held once, and neither the program
// nor a core file gives it away: the program cannot dump core even when it
// is started with cores allowed and the limit is raised again from outside.
TEST_F(Program, HoldsThePasswordOnceAndNeverDumpsCore) {
  // Longer than any short-string buffer, and in no other text of the run.
  const std::string password = "Pw-" + std::string(40, 'q') + "-7f3a9c1e";
  Configure(R"({"computers": [{"name": "PC1", "latency_ms": 60000}]})", "");
  dir_.Write("creds", "username = CORP\\jdoe\npassword = " + password + "\n");
  ::chmod(dir_.File("creds").c_str(), 0600);
  AddPlatformKey("Credentials=" + dir_.File("creds"));
  std::string limit;
  int copies = -1;
  bool raised = false;
  const Outcome o = Run(
      "",
      [this] {
        rlimit core{};
        ::getrlimit(RLIMIT_CORE, &core);
        core.rlim_cur = core.rlim_max;
        ::setrlimit(RLIMIT_CORE, &core);
        if (::chdir(dir_.path().c_str()) != 0) ::_exit(126);  // where a core would go
      },
      [&](pid_t pid) {
        WaitUntilExporting();
        limit = CoreFileLimit(pid);
#if !TABULON_ADDRESS_SANITIZER
        // The sanitizer's heap is reserved in terabytes, too much to read.
        copies = CopiesInMemory(pid, password);
#endif
        raised = AllowCoreFiles(pid);
        ::kill(pid, SIGABRT);
      });
  EXPECT_EQ(limit, "0 0");
  ASSERT_TRUE(WIFSIGNALED(o.wait_status)) << o.out << o.err;
  EXPECT_FALSE(WCOREDUMP(o.wait_status)) << (raised ? "limit raised" : "limit kept");
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("core")) << entry.path();
  }
  if (copies >= 0) {
    EXPECT_EQ(copies, 1) << "copies of the password in the program's memory";
  }
}

// A run on real computers without Credentials= or Kerberos=1 says once how
// it logs on (here: no ticket cache, so anonymously); a run on the estate
// says nothing of the kind.
TEST_F(Program, RunWithoutCredentialsSaysOnceThatItIsAnonymous) {
  Configure(kEstate, "EnableLogging=1\nLogFileName=" + dir_.File("run.log") + "\n");
  Outcome o = Run();
  EXPECT_EQ(o.err.find("anonymously"), std::string::npos) << o.err;
  std::string config = dir_.Read("cfg.ini");
  config.replace(config.find("Estate="),
                 config.find('\n', config.find("Estate=")) - config.find("Estate=") + 1,
                 "Timeout=5\n");
  dir_.Write("cfg.ini", config);
  // Nothing answers on 127.0.0.2: the target fails at once.
  dir_.Write("objects.txt", "127.0.0.2\n");
  const std::string cache = "FILE:" + dir_.File("no-ticket-cache");
  o = Run("", [&cache] { ::setenv("KRB5CCNAME", cache.c_str(), 1); });
  const std::string said =
      "No credentials are configured ([Platform] Credentials= or Kerberos=1) and the Kerberos "
      "ticket cache holds no usable ticket: connecting anonymously.";
  EXPECT_EQ(o.err.find("tabulon: " + said + "\n"), o.err.rfind("tabulon: " + said)) << o.err;
  EXPECT_NE(o.err.find(said), std::string::npos) << o.err;
  const std::string log = dir_.Read("run.log");
  EXPECT_NE(log.find("\tLOGON\tSUCCESS\t" + said + "\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find(said), log.rfind(said)) << log;
}

TEST_F(Program, ClosedStandardErrorTakesNoOutputFile) {
  Configure(kEstate, "EnableLogging=1\n");
  // No active objects: a message for standard error.
  dir_.Write("objects.dat", "1\t0\t24\t0\treserved\treserved\tPC1\t\t\\\\PC1\r\n");
  const Outcome o = Run("", [] { ::close(2); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(dir_.Read("Export.log").find("No objects found"), std::string::npos)
      << dir_.Read("Export.log");
}

}  // namespace
}  // namespace tabulon::testing
