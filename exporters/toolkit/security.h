#pragma once
// The exporters' side of the security hand-over: a run without the security
// access export has no sink, and nothing is handed over.
#include "engine/run_context.h"

namespace tabulon {

inline bool WantsSecurity(const ExportContext& context, SecurityObjectKind kind) {
  return context.security != nullptr && context.security->Wants(kind);
}

inline void HandToSecurityAccess(ExportContext& context, const tagCObjects& target,
                                 const SecurityObject& object) {
  if (context.security != nullptr) context.security->HandOver(context, target, object);
}

}  // namespace tabulon
