#pragma once
// Service lists as the service control manager answers from them: the
// platform records of a service, and per list a name index and the record
// sizes. Lists are shared by many computers and never change once loaded,
// so their index is worked out once, by whichever session asks first.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "estate/estate.h"
#include "platform/service_control.h"

namespace tabulon::estate {

platform::EnumServiceStatus StatusOf(const Service& service);
platform::ServiceConfig ConfigOf(const Service& service);

struct ServiceListFacts {
  std::unordered_map<std::string, std::uint32_t> index;  // lower-case name -> position
  std::vector<std::uint32_t> status_bytes;
  std::vector<std::uint32_t> config_bytes;

  // Position of a service by name, without regard to case; kNoIndex if none.
  std::uint32_t Find(std::string_view name) const;
};

class ServiceListIndex {
 public:
  // The facts stay where they are once made, so the reference outlives the
  // lock.
  const ServiceListFacts& Of(const ServiceList& services);

 private:
  std::mutex mutex_;
  std::unordered_map<const ServiceList*, ServiceListFacts> facts_;
};

}  // namespace tabulon::estate
