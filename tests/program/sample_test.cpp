// The sample configuration on the sample estate, as scripts/run-sample runs
// it: standard error holds the failures the README names, and no other.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/fakes.h"

namespace tabulon::testing {
namespace {

struct Expected {
  int times;  // targets reached twice through the object file say it twice
  const char* line;
};

// The README's list, line by line ("Failures the sample shows on purpose").
constexpr Expected kDeliberateFailures[] = {
    // Unreachable: switched off, offline, retired but still in the directory.
    {1, "tabulon: HGWS007: Ping failed."},
    {1, "tabulon: CPWS03: Ping failed."},
    {1, "tabulon: HGWS009: Ping failed."},
    // Access denied.
    {1, "tabulon: HGBK01: Unable to open service manager system. Access was denied."},
    {2, "tabulon: HGBK01: Error getting shares on '\\\\HGBK01'. Access was denied."},
    {1, "tabulon: HGBK01: Error getting sessions on '\\\\HGBK01'. Error = 5. Access was denied."},
    {1, "tabulon: HGWS008: Unable to open service manager system. Access was denied."},
    {2, "tabulon: HGSQL01: Unable to query service StockSync. Access was denied."},
    {1, "tabulon: HGSQL01: Error getting open files on '\\\\HGSQL01'. Access was denied."},
    {1,
     "tabulon: HGSQL01: Error getting open files on 'hgsql01.harrowgate.example'. Access was "
     "denied."},
    {1,
     "tabulon: HGWEB01: Unable to enumerate sessions on Terminal Server 'HGWEB01'. Access was "
     "denied."},
    {2,
     "tabulon: HGWS002: Unable to open policy on computer '\\\\HGWS002'. Access to the object was "
     "requested but not granted."},
    {1, "tabulon: HGWS004: Unable to retrieve account policy information on '\\\\HGWS004'."},
    {1,
     "tabulon: HGWS004: Unable to retrieve account policy information on "
     "'\\\\hgws004.harrowgate.example'."},
    // A service that does not answer: the remote registry, the transport list.
    {4,
     "tabulon: HGWS003: Unable to connect to registry on '\\\\HGWS003'. The RPC server is not "
     "available."},
    {4,
     "tabulon: HGWS003: Unable to connect to registry on '\\\\hgws003.harrowgate.example'. The "
     "RPC server is not available."},
    {1, "tabulon: CPWS02: The RPC server is not available."},
    // Windows before Vista in the COOPER domain.
    {1,
     "tabulon: CPDC01: Error executing WMI query on '\\\\CPDC01'. WMI HRESULT 0x80041017 => "
     "Invalid query"},
    {1,
     "tabulon: CPWS01: Error executing WMI query on '\\\\CPWS01'. WMI HRESULT 0x80041017 => "
     "Invalid query"},
    {1,
     "tabulon: CPWS02: Error executing WMI query on '\\\\CPWS02'. WMI HRESULT 0x80041017 => "
     "Invalid query"},
    {2,
     "tabulon: CPNT01: Unable to connect to WMI on \\\\CPNT01. ITF HRESULT 0x80040154 => The "
     "class is not registered."},
    {1,
     "tabulon: CPDC01: Unable to open registry software key on '\\\\CPDC01'.  The file could not "
     "be found."},
    {1,
     "tabulon: CPWS01: Unable to open registry software key on '\\\\CPWS01'.  The file could not "
     "be found."},
    {1,
     "tabulon: CPWS02: Unable to open registry software key on '\\\\CPWS02'.  The file could not "
     "be found."},
    {1,
     "tabulon: CPNT01: Unable to open registry software key on '\\\\CPNT01'.  The file could not "
     "be found."},
    {1,
     "tabulon: CPDC01: Unable to connect to Task Scheduler on 'CPDC01'. Win32 HRESULT 0x80070032 "
     "=> The request is not supported."},
    {1,
     "tabulon: CPWS01: Unable to connect to Task Scheduler on 'CPWS01'. Win32 HRESULT 0x80070032 "
     "=> The request is not supported."},
    {1,
     "tabulon: CPWS02: Unable to connect to Task Scheduler on 'CPWS02'. Win32 HRESULT 0x80070032 "
     "=> The request is not supported."},
    {1,
     "tabulon: CPNT01: Unable to connect to Task Scheduler on 'CPNT01'. Win32 HRESULT 0x80070032 "
     "=> The request is not supported."},
};

std::map<std::string, int> CountLines(const std::string& text) {
  std::map<std::string, int> counts;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) ++counts[line];
  return counts;
}

TEST(Sample, StandardErrorHoldsOnlyTheDeliberateFailures) {
  // A copy of the sample's folders, so that the run writes into the copy.
  ScratchDir dir;
  const std::filesystem::path source(TABULON_SOURCE_DIR);
  for (const char* folder : {"examples", "data"}) {
    std::filesystem::copy(source / folder, std::filesystem::path(dir.path()) / folder,
                          std::filesystem::copy_options::recursive);
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
    const int out = ::open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open("stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execl(TABULON_PROGRAM, TABULON_PROGRAM, "/CONFIG=examples/sample.ini",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << dir.Read("stdout");

  std::map<std::string, int> expected;
  for (const Expected& e : kDeliberateFailures) expected[e.line] += e.times;
  const std::map<std::string, int> seen = CountLines(dir.Read("stderr"));
  for (const auto& [line, times] : seen) {
    const auto it = expected.find(line);
    EXPECT_EQ(it == expected.end() ? 0 : it->second, times) << "said: " << line;
  }
  for (const auto& [line, times] : expected) {
    EXPECT_TRUE(seen.contains(line)) << "not said: " << line;
  }
}

}  // namespace
}  // namespace tabulon::testing
