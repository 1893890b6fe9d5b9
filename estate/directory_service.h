#pragma once
// The domain-controller locator answered from the estate's domains.
#include "estate/simulation.h"
#include "platform/directory.h"

namespace tabulon::estate {

class EstateDirectoryService final : public platform::DirectoryService {
 public:
  EstateDirectoryService(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) override;

 private:
  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
