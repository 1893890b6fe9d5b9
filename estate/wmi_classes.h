#pragma once
// The WMI classes of a computer's root\CIMV2 namespace in the estate: each
// class with its property definitions and its instances, whose values are
// held as the VARIANTs WMI hands out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wmi.h"

namespace tabulon::estate {

struct WmiPropertyDefinition {
  std::string name;
  std::uint16_t cim_type = platform::kCimString;  // array flag included
};

struct WmiClass {
  std::string name;
  std::vector<WmiPropertyDefinition> properties;
  // One value per property, in property order; VT_NULL where none is set.
  std::vector<std::vector<platform::WmiVariant>> instances;
  // How long each next instance takes to come.
  std::uint32_t next_delay_ms = 0;
  // The amended "Description" qualifiers of the class and of each property
  // (by property index); empty where there is none.
  std::string description;
  std::vector<std::string> property_descriptions;
};

struct WmiNamespace {
  std::vector<WmiClass> classes;
  // By name without regard to case; null when there is none.
  const WmiClass* FindClass(std::string_view name) const;
};

}  // namespace tabulon::estate
