// The Windows backend on the system the test runs on (Wine in CI): the
// families Wine serves with real data are checked here; the others are
// covered by the decoding tests of the API's own records in tests/win32/.
#include "contract/backends.h"
#include "platform/win32/file_system.h"
#include "platform/win32/session.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace tabulon::testing::contract {
namespace {

constexpr const char* kStub = "Wine only stubs this family: tests/win32/ decode its records";

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return ::GetComputerNameW(name, &size) ? platform::win32::ToUtf8({name, size}) : "";
}

std::string UserName() {
  wchar_t name[257] = {};
  DWORD size = 257;
  return ::GetUserNameW(name, &size) ? platform::win32::ToUtf8(name) : "";
}

class Win32Factory final : public BackendFactory {
 public:
  std::string Start() override { return {}; }
  std::unique_ptr<platform::TargetSession> Open() override { return backend_.Open(here_, {}); }
  const BackendFacts& facts() const override { return facts_; }

 private:
  platform::Win32FileSystem files_;
  platform::win32::Win32Backend backend_{files_};
  const std::string here_ = "\\\\" + ComputerName();
  const BackendFacts facts_{
      .server = CoveredBy<ServerFacts>(kStub),
      .accounts = CoveredBy<AccountFacts>(kStub),
      // Wine lists services but ignores the listing's resume handle.
      .services = CoveredBy<ServiceFacts>("Wine ignores the resume handle of a service listing: "
                                          "tests/win32/service_control_test.cpp"),
      .registry = Served(
          RegistryFacts{here_, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"}),
      .printing = CoveredBy<PrintingFacts>("Wine has no printers of its own: "
                                           "tests/win32/printing_test.cpp adds one"),
      .lookup = Served(LookupFacts{here_, UserName()}),
      .groups = CoveredBy<GroupFacts>(kStub),
      .users = CoveredBy<UserFacts>(kStub),
      .policy = CoveredBy<PolicyFacts>(kStub),
      .files = CoveredBy<FileFacts>("share paths need a network: "
                                    "tests/win32/local_platform_test.cpp lists a local folder"),
      .workstation = CoveredBy<HostFacts>(kStub),
      .browser = CoveredBy<HostFacts>(kStub),
      .terminal = CoveredBy<HostFacts>(kStub),
      .schedule = CoveredBy<HostFacts>(kStub),
      .remote_access = CoveredBy<HostFacts>(kStub),
  };
};

}  // namespace

BackendFactory& Win32Native::Factory() {
  static Win32Factory factory;
  return factory;
}

}  // namespace tabulon::testing::contract
