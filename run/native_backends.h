#pragma once
// What serves a run on real computers, as the system the program runs on
// provides it: ICMP echo, the session backend for targets, the local folders
// that stand for shares, and who a run logs on as when no credentials are
// configured. One implementation per system
// (native_backends_posix.cpp, native_backends_win32.cpp).
#include <memory>
#include <string>

#include "platform/credentials.h"
#include "platform/icmp.h"
#include "platform/session.h"
#include "platform/time.h"

namespace tabulon::run {

class NativeBackends {
 public:
  virtual ~NativeBackends() = default;

  virtual platform::Icmp& icmp() = 0;
  virtual platform::SessionBackend& sessions() = 0;
  // [Platform] LocalShares= of the configuration in `configuration_folder`.
  virtual void SetLocalShares(const std::string& text, const std::string& configuration_folder) = 0;
  // No credentials are configured: fills in how sessions log on and returns
  // the notice that tells the user, empty when there is nothing to tell.
  virtual std::string ChooseDefaultLogon(platform::Credentials& credentials) = 0;
};

std::unique_ptr<NativeBackends> MakeNativeBackends(platform::Clock& clock);

}  // namespace tabulon::run
