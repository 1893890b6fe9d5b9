#include "platform/remote/service_handle_table.h"

namespace tabulon::platform::remote {

ServiceHandle ServiceHandleTable::Add(const ndr::ContextHandle& handle) {
  if (handle.IsNull()) return 0;
  const ServiceHandle number = next_++;
  handles_.emplace(number, handle);
  return number;
}

const ndr::ContextHandle* ServiceHandleTable::Find(ServiceHandle number) const {
  const auto it = handles_.find(number);
  return it == handles_.end() ? nullptr : &it->second;
}

bool ServiceHandleTable::Remove(ServiceHandle number) {
  return handles_.erase(number) != 0;
}

}  // namespace tabulon::platform::remote
