#pragma once
// A target of a run: one object of the object file, or one found by
// expanding a domain, container or include file.
#include <cstdint>
#include <string>

namespace tabulon {

struct tagCObjects {
  std::uint32_t type = 0;
  std::string display_name;
  std::string comment;
  std::string path;
  std::string source_path;
  std::uint32_t active = 0;
  std::string domain;
  std::uint32_t disabled_in_directory = 0;
  std::string server_name;
  std::string server_comment;
  std::uint32_t major_version = 0;
  std::uint32_t minor_version = 0;
  std::uint32_t server_type = 0;
};

}  // namespace tabulon
