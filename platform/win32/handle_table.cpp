#include "platform/win32/handle_table.h"

namespace tabulon::platform::win32 {

std::uint64_t HandleTable::Add(void* native) {
  std::lock_guard lock(mutex_);
  const std::uint64_t number = next_++;
  handles_.emplace(number, native);
  return number;
}

void* HandleTable::Find(std::uint64_t number) const {
  std::lock_guard lock(mutex_);
  const auto it = handles_.find(number);
  return it == handles_.end() ? nullptr : it->second;
}

void* HandleTable::Take(std::uint64_t number) {
  std::lock_guard lock(mutex_);
  const auto it = handles_.find(number);
  if (it == handles_.end()) return nullptr;
  void* native = it->second;
  handles_.erase(it);
  return native;
}

std::vector<void*> HandleTable::TakeAll() {
  std::lock_guard lock(mutex_);
  std::vector<void*> all;
  for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) all.push_back(it->second);
  handles_.clear();
  return all;
}

bool HandleTable::empty() const {
  std::lock_guard lock(mutex_);
  return handles_.empty();
}

}  // namespace tabulon::platform::win32
