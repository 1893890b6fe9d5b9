#include "platform/remote/registry_key_table.h"

#include <utility>

namespace tabulon::platform::remote {

RegistryKey RegistryKeyTable::Add(std::string host, const ndr::ContextHandle& handle) {
  if (handle.IsNull()) return 0;
  const RegistryKey number = next_++;
  keys_.emplace(number, OpenRegistryKey{std::move(host), handle});
  return number;
}

const OpenRegistryKey* RegistryKeyTable::Find(RegistryKey number) const {
  const auto it = keys_.find(number);
  return it == keys_.end() ? nullptr : &it->second;
}

void RegistryKeyTable::Remove(RegistryKey number) {
  keys_.erase(number);
}

std::vector<RegistryKey> RegistryKeyTable::NewestFirst() const {
  std::vector<RegistryKey> numbers;
  for (auto it = keys_.rbegin(); it != keys_.rend(); ++it) numbers.push_back(it->first);
  return numbers;
}

}  // namespace tabulon::platform::remote
