#pragma once
// Security descriptors of the estate's services, shares, printers, registry
// keys and files, as GetNamedSecurityInfo answers for one session: the
// descriptor an object states, or its kind's default, cut down to the parts
// the caller asks for.
#include "estate/simulation.h"
#include "platform/object_security.h"

namespace tabulon::estate {

class EstateObjectSecurity final : public platform::ObjectSecurity {
 public:
  EstateObjectSecurity(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::NamedSecurityInfo GetNamedSecurityInfo(std::string_view object_name,
                                                   platform::SeObjectType type,
                                                   std::uint32_t security_information) override;

 private:
  Simulation& sim_;
  const platform::SessionOptions& session_;
};

}  // namespace tabulon::estate
