#include "estate/directory_service.h"

namespace tabulon::estate {

platform::DcInfoResult EstateDirectoryService::DsGetDcName(std::string_view domain_name,
                                                           std::uint32_t flags) {
  const Estate& estate = sim_.estate();
  platform::DcInfoResult result;
  const Domain* domain = nullptr;
  if (!domain_name.empty()) {
    domain = estate.FindDomain(domain_name);
  } else if (const Computer* local = estate.LocalComputer()) {
    domain = estate.DomainOf(*local);
  }
  const Computer* controller = domain != nullptr ? estate.ControllerOf(*domain) : nullptr;
  result.status = sim_.Reach(
      session_, Operation::kDsGetDcName, domain_name, [&] { return "flags=" + Hex(flags); },
      sim_.ToDomain(domain), win::ERROR_NO_SUCH_DOMAIN);
  if (result.status != win::ERROR_SUCCESS) return result;
  // The locator finds no controller that is down, and no directory service
  // in a domain without one.
  const bool needs_directory = (flags & platform::kDsDirectoryServiceRequired) != 0;
  if (controller == nullptr || controller->offline ||
      (needs_directory && domain->dns_name.empty())) {
    result.status = win::ERROR_NO_SUCH_DOMAIN;
    return result;
  }
  result.info.dc_name = "\\\\" + controller->name;
  if (!controller->address.empty()) result.info.dc_address = "\\\\" + controller->address;
  const bool flat = (flags & platform::kDsReturnFlatName) != 0 || domain->dns_name.empty();
  result.info.domain_name = flat ? domain->name : domain->dns_name;
  result.info.dns_forest_name = domain->forest.empty() ? domain->dns_name : domain->forest;
  return result;
}

}  // namespace tabulon::estate
