#include "support/samba_server.h"

#include "support/samba_dc.h"
#include "support/server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace tabulon::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kSmbd = "/usr/sbin/smbd";
constexpr const char* kSmbpasswd = "/usr/bin/smbpasswd";
constexpr const char* kHostName = "tabulontest";
constexpr int kTestUid = 61234;
constexpr int kNoGroupGid = 65534;

bool BindOver(const fs::path& source, const char* target) {
  return ::mount(source.c_str(), target, nullptr, MS_BIND, nullptr) == 0;
}

// Where Samba's servers, tools and client library keep state by default.
// Each gets an empty memory file system of this namespace's own, so nothing
// a test starts writes there on the machine, nor reads what others left
// (the client library's name cache among them).
constexpr const char* kSambaFolders[] = {"/etc/samba", "/var/lib/samba", "/run/samba",
                                         "/var/log/samba", "/var/cache/samba"};

std::string HideSambaFolders() {
  for (const char* folder : kSambaFolders) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    if (::mount("tmpfs", folder, "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0) {
      return Errno((std::string("mounting a private ") + folder).c_str());
    }
  }
  return {};
}

std::string BringLoopbackUp() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Errno("socket");
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  std::string error;
  if (::ioctl(fd, SIOCGIFFLAGS, &request) != 0) {
    error = Errno("SIOCGIFFLAGS lo");
  } else {
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    if (::ioctl(fd, SIOCSIFFLAGS, &request) != 0) error = Errno("SIOCSIFFLAGS lo");
  }
  ::close(fd);
  return error;
}

std::string Isolate() {
  if (::geteuid() != 0) return "needs root for network namespaces";
  if (::unshare(CLONE_NEWNET | CLONE_NEWNS | CLONE_NEWUTS) != 0) return Errno("unshare");
  // Servers that report the host's name report this one, whatever machine
  // the tests run on.
  if (::sethostname(kHostName, std::strlen(kHostName)) != 0) return Errno("sethostname");
  // Mounts made from here on stay inside this namespace.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return Errno("making / private");
  }
  if (auto error = BringLoopbackUp(); !error.empty()) return error;
  if (auto error = HideSambaFolders(); !error.empty()) return error;
  const std::string folder = MakeTempFolder("tabulon-netns");
  if (folder.empty()) return Errno("mkdtemp");
  const fs::path dir(folder);
  std::string passwd = ReadFile("/etc/passwd");
  passwd += std::string(kSambaUser) + ":x:" + std::to_string(kTestUid) + ":" +
            std::to_string(kNoGroupGid) + "::/nonexistent:/usr/sbin/nologin\n";
  // The test domain's controller by its DNS and short names, and the
  // domain's flat name too, as an lmhosts entry would give it.
  if (!WriteFile(dir / "hosts", std::string("127.0.0.1\tlocalhost tabulontest ") + kDcHost +
                                    " dc1 tabtest\n::1\tlocalhost\n") ||
      !WriteFile(dir / "resolv.conf", "nameserver 127.0.0.1\n") ||
      !WriteFile(dir / "passwd", passwd)) {
    return "cannot write " + folder;
  }
  if (!BindOver(dir / "hosts", "/etc/hosts") ||
      !BindOver(dir / "resolv.conf", "/etc/resolv.conf") ||
      !BindOver(dir / "passwd", "/etc/passwd")) {
    return Errno("bind mount over /etc");
  }
  // The mounts keep the files; nothing else needs the folder.
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return {};
}

std::string Configuration(const fs::path& dir, const SambaServerSetup& setup,
                          const std::vector<std::string>& addresses) {
  const std::string d = dir.string();
  // An address no interface holds needs its mask, or smbd skips it.
  std::string interfaces = "127.0.0.1";
  for (const std::string& address : addresses) interfaces += " " + address + "/8";
  return "[global]\n"
         "  netbios name = TABULONTEST\n"
         "  workgroup = TESTGROUP\n"
         "  server string = Tabulon test server\n"
         "  server role = standalone server\n"
         "  interfaces = " +
         interfaces +
         "\n"
         "  bind interfaces only = yes\n"
         "  disable netbios = yes\n"
         "  smb ports = 445\n"
         "  lock directory = " +
         d +
         "/lock\n"
         "  state directory = " +
         d +
         "/state\n"
         "  cache directory = " +
         d +
         "/cache\n"
         "  private dir = " +
         d +
         "/private\n"
         "  pid directory = " +
         d +
         "/pid\n"
         "  ncalrpc dir = " +
         d +
         "/ncalrpc\n"
         "  binddns dir = " +
         d +
         "/binddns\n"
         "  winbindd socket directory = " +
         d +
         "/winbindd\n"
         "  usershare path = " +
         d +
         "/usershares\n"
         "  log file = " +
         d +
         "/log.%m\n"
         "  passdb backend = tdbsam\n"
         "  load printers = no\n"
         "  printcap name = /dev/null\n" +
         setup.global +
         "\n"
         "[data]\n"
         "  path = " +
         d +
         "/data\n"
         "  comment = Test data\n"
         "  read only = yes\n"
         "\n"
         "[drop]\n"
         "  path = " +
         d +
         "/drop\n"
         "  read only = no\n" +
         setup.shares;
}

}  // namespace

std::string CommandOutput(const std::string& command) {
  std::string output;
  RunCommand(command, output);
  return output;
}

const std::string& IsolateNetwork() {
  static const std::string why_not = Isolate();
  return why_not;
}

std::string AddHostNames(const std::string& lines) {
  if (!IsolateNetwork().empty()) return "no isolated network: " + IsolateNetwork();
  std::ofstream hosts("/etc/hosts", std::ios::app);
  hosts << lines;
  hosts.flush();
  return hosts ? std::string() : Errno("appending to the isolated /etc/hosts");
}

std::unique_ptr<SambaServer> SambaServer::Start(std::string& why_not, const SambaServerSetup& setup,
                                                const std::vector<std::string>& addresses) {
  if (!IsolateNetwork().empty()) {
    why_not = "no isolated network: " + IsolateNetwork();
    return nullptr;
  }
  if (::access(kSmbd, X_OK) != 0 || ::access(kSmbpasswd, X_OK) != 0) {
    why_not = "smbd or smbpasswd is not installed (scripts/install-deps)";
    return nullptr;
  }
  std::unique_ptr<SambaServer> server(new SambaServer);
  server->folder_ = MakeTempFolder("tabulon-smbd");
  const fs::path dir(server->folder_);
  for (const char* sub : {"lock", "state", "cache", "private", "pid", "ncalrpc", "binddns",
                          "winbindd", "usershares", "data", "drop"}) {
    fs::create_directories(dir / sub);
  }
  // The test user's services (the shares, the registry's database) run as
  // that user and must reach into the server's folder.
  ::chmod(dir.c_str(), 0755);
  ::chmod((dir / "drop").c_str(), 0777);
  const fs::path conf = dir / "smb.conf";
  WriteFile(conf, Configuration(dir, setup, addresses));
  WriteFile(dir / "data" / "readme.txt", "served by the test smbd\n");

  const std::string add_user = std::string(kSmbpasswd) + " -c " + conf.string() + " -a -s " +
                               kSambaUser + " >" + (dir / "smbpasswd.log").string() + " 2>&1";
  FILE* in = ::popen(add_user.c_str(), "w");
  if (in == nullptr) {
    why_not = Errno("popen smbpasswd");
    return nullptr;
  }
  std::fprintf(in, "%s\n%s\n", kSambaPassword, kSambaPassword);
  if (::pclose(in) != 0) {
    why_not = "smbpasswd failed: " + ReadFile(dir / "smbpasswd.log");
    return nullptr;
  }

  const auto started = Clock::now();
  const std::string log = (dir / "smbd.out").string();
  why_not = server->smbd_.Start({kSmbd, "--foreground", "--no-process-group", "--debug-stdout",
                                 "--debuglevel=1", "-s", conf.string()},
                                log);
  if (!why_not.empty()) return nullptr;
  const auto give_up = started + std::chrono::seconds(10);
  const auto accepting = [&addresses] {
    if (!Accepts("127.0.0.1", 445)) return false;
    for (const std::string& address : addresses) {
      if (!Accepts(address.c_str(), 445)) return false;
    }
    return true;
  };
  while (!accepting()) {
    if (server->smbd_.Ended()) {
      why_not = "smbd ended at start (" + server->smbd_.how_it_ended() + "): " + ReadFile(log);
      return nullptr;
    }
    if (Clock::now() > give_up) {
      why_not = "smbd did not accept connections within 10 s: " + ReadFile(log);
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  server->startup_seconds_ = std::chrono::duration<double>(Clock::now() - started).count();
  return server;
}

std::string SambaServer::MakeTestUserAdministrator() const {
  std::string output;
  const int status = RunCommand(
      "net groupmap add sid=S-1-5-32-544 unixgroup=nogroup type=builtin ntgroup=Administrators "
      "-s " +
          configuration(),
      output);
  return status == 0 && output.find("Successfully") != std::string::npos
             ? std::string()
             : "net groupmap failed: " + output;
}

SambaServer::~SambaServer() {
  smbd_.Stop();
  std::error_code ignored;
  if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

std::unique_ptr<SambaServer> SambaServerSuite::server_;
std::string SambaServerSuite::why_not_;

void SambaServerSuite::SetUpTestSuite() {
  why_not_ = IsolateNetwork();
  if (why_not_.empty()) server_ = SambaServer::Start(why_not_);
}

}  // namespace tabulon::testing
