#include "platform/unsupported/backend.h"

namespace tabulon::unsupported {

UnsupportedSession::UnsupportedSession(std::string_view target, platform::FileSystem* local_files)
    : target_(target), local_files_(local_files) {}

platform::FileSystem& UnsupportedSession::files() {
  return local_files_ != nullptr ? *local_files_ : static_cast<platform::FileSystem&>(files_);
}

std::unique_ptr<platform::TargetSession> UnsupportedBackend::Open(
    std::string_view target, const platform::SessionOptions& /*options*/) {
  return std::make_unique<UnsupportedSession>(target, local_files_);
}

}  // namespace tabulon::unsupported
