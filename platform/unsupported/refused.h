#pragma once
// The answer of a call this backend cannot make: an empty result whose
// status says why.
#include "platform/status.h"

namespace tabulon::unsupported {

template <typename Result, typename Status>
Result Refused(Status status) {
  Result result;
  result.status = status;
  return result;
}

template <typename Result>
Result NotSupported() {
  return Refused<Result>(win::ERROR_NOT_SUPPORTED);
}

}  // namespace tabulon::unsupported
