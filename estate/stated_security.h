#pragma once
// A security descriptor as an estate file states it for a service, share,
// printer, registry key, file or directory. Objects that state none have
// their kind's default (estate/object_security.cpp, docs/estate.md).
#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::estate {

struct StatedSecurity {
  enum class Form : std::uint8_t {
    kSddl,   // text, read against the computer's domain when asked for
    kBytes,  // returned exactly as given, damaged or not
    kNone,   // the query succeeds without a descriptor
  };
  Form form = Form::kSddl;
  std::string sddl;
  std::vector<std::uint8_t> bytes;
};

// A registry key or a file or directory of a computer with a descriptor of
// its own: "MACHINE\SOFTWARE\Vendor", "C:\Data\report.txt".
struct SecuredPath {
  bool registry = false;  // else a file or directory
  std::string path;
  StatedSecurity security;
};

}  // namespace tabulon::estate
