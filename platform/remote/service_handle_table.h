#pragma once
// The context handles a session holds on a service control manager, under
// the ServiceHandle numbers the rest of the program passes around. One table
// per session; numbers are never reused within it.
#include <cstddef>
#include <map>

#include "platform/remote/ndr/context_handle.h"
#include "platform/service_control.h"

namespace tabulon::platform::remote {

class ServiceHandleTable {
 public:
  // A fresh number for `handle`; 0 (no handle) for a null context handle.
  ServiceHandle Add(const ndr::ContextHandle& handle);
  // Null for a number the table does not hold.
  const ndr::ContextHandle* Find(ServiceHandle number) const;
  // False when the table did not hold the number.
  bool Remove(ServiceHandle number);
  std::size_t size() const { return handles_.size(); }

 private:
  std::map<ServiceHandle, ndr::ContextHandle> handles_;
  ServiceHandle next_ = 1;
};

}  // namespace tabulon::platform::remote
