#include "estate/service_lists.h"

#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {

platform::EnumServiceStatus StatusOf(const Service& service) {
  platform::EnumServiceStatus status;
  status.service_name = service.name;
  status.display_name = service.display_name;
  status.service_type = service.type;
  status.current_state = service.state;
  status.controls_accepted = service.controls_accepted;
  status.win32_exit_code = service.win32_exit_code;
  return status;
}

platform::ServiceConfig ConfigOf(const Service& service) {
  platform::ServiceConfig config;
  config.service_type = service.type;
  config.start_type = service.start_type;
  config.error_control = service.error_control;
  config.binary_path_name = service.binary_path;
  config.load_order_group = service.load_order_group;
  config.tag_id = service.tag_id;
  config.dependencies = service.dependencies;
  config.service_start_name = service.account;
  config.display_name = service.display_name;
  return config;
}

std::uint32_t ServiceListFacts::Find(std::string_view name) const {
  const auto found = index.find(text::ToLower(name));
  return found == index.end() ? kNoIndex : found->second;
}

const ServiceListFacts& ServiceListIndex::Of(const ServiceList& services) {
  const std::lock_guard lock(mutex_);
  auto [it, created] = facts_.try_emplace(&services);
  if (created) {
    ServiceListFacts& facts = it->second;
    for (std::uint32_t i = 0; i < services.size(); ++i) {
      facts.index.emplace(text::ToLower(services[i].name), i);
      facts.status_bytes.push_back(platform::EnumServiceStatusBytes(StatusOf(services[i])));
      facts.config_bytes.push_back(platform::ServiceConfigBytes(ConfigOf(services[i])));
    }
  }
  return it->second;
}

}  // namespace tabulon::estate
