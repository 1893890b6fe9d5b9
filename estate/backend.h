#pragma once
// The estate backend: opens sessions that answer every family from one
// estate, with one call log, and serves ICMP echo (pings go out before a
// session is opened). The profile, locale and clock of a Platform stay the
// caller's.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "estate/call_log.h"
#include "estate/estate.h"
#include "estate/icmp.h"
#include "estate/session.h"
#include "estate/simulation.h"
#include "platform/platform.h"

namespace tabulon::estate {

class EstateBackend final : public platform::SessionBackend {
 public:
  // `estate` must have been finalized (the loader does that).
  explicit EstateBackend(Estate estate);
  EstateBackend(const EstateBackend&) = delete;
  EstateBackend& operator=(const EstateBackend&) = delete;

  std::unique_ptr<platform::TargetSession> Open(std::string_view target,
                                                const platform::SessionOptions& options) override;
  // The same session with its estate-only accessors, for tests.
  std::unique_ptr<EstateSession> OpenSession(std::string_view target,
                                             const platform::SessionOptions& options = {});

  // Sets sessions and icmp.
  void Attach(platform::Platform& platform);

  const Estate& estate() const { return estate_; }
  // Off until switched on with call_log().SetEnabled(true).
  CallLog& call_log() { return simulation_.log(); }

  // Handles that sessions had to close because they were left open, over
  // the backend's life, and what each was ("service manager \\FWSRV01").
  std::size_t LeakedHandles() const { return simulation_.LeakedHandleCount(); }
  std::vector<std::string> DescribeLeakedHandles() const { return simulation_.LeakedHandles(); }

 private:
  Estate estate_;
  Simulation simulation_;
  EstateIcmp icmp_;
};

}  // namespace tabulon::estate
