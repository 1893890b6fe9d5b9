#pragma once
// Where the services, shares, printers, registry and file exporters hand the
// objects they meet to the security access export. The engine only defines
// the hand-over; the security exporter implements it, and a run without that
// export has no sink at all.
#include <cstdint>
#include <string_view>

#include "engine/target.h"

namespace tabulon {

struct ExportContext;

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
  // The share's type (shi*_type) for shares and share folders.
  std::uint32_t share_type = 0;
};

class SecurityAccessSink {
 public:
  virtual ~SecurityAccessSink() = default;
  // Whether objects of `kind` are exported: an exporter then runs for them
  // even when its own export is off.
  virtual bool Wants(SecurityObjectKind kind) const = 0;
  // An object the exporter met; the sink applies its own selection (share
  // types, trustees) and writes the rows through row objects of its own, so
  // an exporter may hand over at any point, also while filling a row.
  virtual void HandOver(ExportContext& context, const tagCObjects& target,
                        const SecurityObject& object) = 0;
};

}  // namespace tabulon
