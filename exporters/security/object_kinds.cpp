#include "exporters/security/object_kinds.h"

#include <array>

namespace tabulon {
namespace {

using platform::SeObjectType;

// The folder behind a share is a directory like any other.
constexpr std::array kKinds{
    SecurityKindInfo{SecurityObjectKind::kService, "SERVICE", SeObjectType::kService,
                     RightsKind::kService},
    SecurityKindInfo{SecurityObjectKind::kShare, "SHARE", SeObjectType::kLmShare,
                     RightsKind::kShare},
    SecurityKindInfo{SecurityObjectKind::kShareFolder, "DIRECTORY", SeObjectType::kFileObject,
                     RightsKind::kDirectory},
    SecurityKindInfo{SecurityObjectKind::kPrinter, "PRINTER", SeObjectType::kPrinter,
                     RightsKind::kPrinter},
    SecurityKindInfo{SecurityObjectKind::kRegistryKey, "REGISTRY", SeObjectType::kRegistryKey,
                     RightsKind::kRegistry},
    SecurityKindInfo{SecurityObjectKind::kFile, "FILE", SeObjectType::kFileObject,
                     RightsKind::kFile},
    SecurityKindInfo{SecurityObjectKind::kDirectory, "DIRECTORY", SeObjectType::kFileObject,
                     RightsKind::kDirectory},
};

}  // namespace

const SecurityKindInfo& KindInfo(SecurityObjectKind kind) {
  for (const SecurityKindInfo& info : kKinds) {
    if (info.kind == kind) return info;
  }
  return kKinds.front();  // every kind is listed
}

}  // namespace tabulon
