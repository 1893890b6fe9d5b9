#pragma once
// Where the services, shares, printers, registry and file exporters hand the
// objects they meet to the security access export. Until that export exists
// the hand-over writes nothing.
#include <string_view>

#include "engine/run_context.h"

namespace tabulon {

enum class SecurityObjectKind {
  kService,
  kShare,
  kShareFolder,
  kPrinter,
  kRegistryKey,
  kFile,
  kDirectory,
};

struct SecurityObject {
  SecurityObjectKind kind;
  std::string_view name;  // as the exporter met it (service name, share name ...)
  std::string_view path;  // where its security descriptor is read from
  // An administrative share (type 0x80000000) is handed over as such.
  bool special_share = false;
};

void HandToSecurityAccess(ExportContext& context, const tagCObjects& target,
                          const SecurityObject& object);

}  // namespace tabulon
