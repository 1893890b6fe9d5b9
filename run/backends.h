#pragma once
// Chooses what serves the platform families of a run: the estate named by
// the configuration's [Platform] Estate key, or the backends of this system
// (ICMP, local volumes, and real computers over SMB named pipes for the
// families a remote interface serves). Also reads who the sessions
// authenticate as, and holds those credentials, the run's only copy of the
// password, until it is destroyed (which wipes it).
#include <memory>
#include <string>

#include "platform/credentials.h"
#include "platform/platform.h"

namespace tabulon::run {

class Backends {
 public:
  Backends();
  ~Backends();
  Backends(const Backends&) = delete;
  Backends& operator=(const Backends&) = delete;

  // Reads [Platform] of the configuration. On failure `error` names the file
  // and the cause.
  bool Select(const std::string& configuration_path, const std::string& app_data_directory,
              std::string& error);

  platform::Platform& platform() { return platform_; }
  const platform::Credentials& credentials() const { return credentials_; }
  // How sessions log on when the configuration names no credentials and
  // the run reaches real computers (anonymously, or with the tickets of the
  // caller's ticket cache); empty otherwise.
  const std::string& logon_notice() const { return logon_notice_; }
  const std::string& estate_path() const { return estate_path_; }
  // The computer "%computername%" stands for: COMPUTERNAME when set, else
  // the estate's own computer when it names one, else this host.
  std::string LocalComputerName() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
  platform::Platform platform_;
  platform::Credentials credentials_;
  std::string logon_notice_;
  std::string estate_path_;
};

}  // namespace tabulon::run
