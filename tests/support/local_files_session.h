#pragma once
// Sessions of another backend whose files() family is a given file system:
// the estate answers the computer, the local backend its files.
#include <memory>
#include <string_view>

#include "support/forwarding_session.h"

namespace tabulon::testing {

// The estate's session for everything but files, which come from the
// local backend.
class LocalFilesSession final : public ForwardingSession {
 public:
  LocalFilesSession(std::unique_ptr<platform::TargetSession> estate, platform::FileSystem& files)
      : ForwardingSession(std::move(estate)), files_(files) {}
  platform::FileSystem& files() override { return files_; }

 private:
  platform::FileSystem& files_;
};

class LocalFilesBackend final : public platform::SessionBackend {
 public:
  LocalFilesBackend(platform::SessionBackend& estate, platform::FileSystem& files)
      : estate_(estate), files_(files) {}
  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override {
    return std::make_unique<LocalFilesSession>(estate_.Open(target, options), files_);
  }

 private:
  platform::SessionBackend& estate_;
  platform::FileSystem& files_;
};

}  // namespace tabulon::testing
