#pragma once
// The domain-controller locator answered from the estate's domains.
#include "platform/directory.h"
#include "estate/simulation.h"

namespace tabulon::estate {

class EstateDirectoryService final : public platform::DirectoryService {
 public:
  explicit EstateDirectoryService(Simulation& simulation) : sim_(simulation) {}

  platform::DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) override;

 private:
  Simulation& sim_;
};

}  // namespace tabulon::estate
