#pragma once
// What one getter of a COM interface answered: its status and, when that is
// a success, the value. Interfaces whose getters can fail one by one return
// their objects as records of these, so that a caller sees exactly which
// getters failed.
#include "platform/status.h"

namespace tabulon::platform {

template <typename T>
struct Property {
  win::Status status = win::ERROR_SUCCESS;
  T value{};

  bool ok() const { return status == win::ERROR_SUCCESS; }
};

// A getter that failed with `status`.
template <typename T>
Property<T> FailedProperty(win::Status status) {
  Property<T> property;
  property.status = status;
  return property;
}

}  // namespace tabulon::platform
