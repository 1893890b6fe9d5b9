#pragma once
// The built-in table synthetic service profiles draw from: common services
// and drivers of a Windows computer.
#include <cstdint>
#include <span>
#include <string_view>

namespace tabulon::estate {

struct ServiceTemplate {
  std::string_view name;
  std::string_view display_name;
  std::uint32_t type;
  std::uint32_t start_type;
  std::string_view account;
  std::string_view binary_path;
  std::string_view dependency;  // empty: none
};

std::span<const ServiceTemplate> ServiceTemplates();

}  // namespace tabulon::estate
