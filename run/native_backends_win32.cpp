#include "platform/win32/file_system.h"
#include "platform/win32/icmp.h"
#include "platform/win32/session.h"
#include "run/native_backends.h"

namespace tabulon::run {
namespace {

// Windows: ICMP through the system's echo functions, local volumes and
// folders through the file API, and every target through the system's own
// API in a session of its own.
class Win32Backends final : public NativeBackends {
 public:
  explicit Win32Backends(platform::Clock& clock) : icmp_(clock) {}

  platform::Icmp& icmp() override { return icmp_; }
  platform::SessionBackend& sessions() override { return sessions_; }
  void SetLocalShares(const std::string& text, const std::string& configuration_folder) override {
    local_files_.set_local_shares(platform::ParseLocalShares(text, configuration_folder));
  }
  // Windows calls log on as the user running the program, as every Windows
  // administration tool does: nothing to choose and nothing to tell.
  std::string ChooseDefaultLogon(platform::Credentials& /*credentials*/) override { return {}; }

 private:
  platform::Win32Icmp icmp_;
  platform::Win32FileSystem local_files_;
  platform::win32::Win32Backend sessions_{local_files_};
};

}  // namespace

std::unique_ptr<NativeBackends> MakeNativeBackends(platform::Clock& clock) {
  return std::make_unique<Win32Backends>(clock);
}

}  // namespace tabulon::run
