#include "platform/win32/session.h"

#include "platform/win32/network_logon.h"

namespace tabulon::platform::win32 {

Win32Session::Win32Session(std::string_view target, const SessionOptions& options,
                           FileSystem& files)
    : target_(target),
      calls_(std::chrono::milliseconds(options.call_timeout_ms), options.cancel,
             SessionWorkerScope(LogOnForNetwork(options.logon()))),
      directory_(calls_, target),
      directory_search_(calls_, options.call_timeout_ms),
      files_(files) {}

Win32Session::~Win32Session() = default;

std::unique_ptr<TargetSession> Win32Backend::Open(std::string_view target,
                                                  const SessionOptions& options) {
  return std::make_unique<Win32Session>(target, options, files_);
}

}  // namespace tabulon::platform::win32
