#include "platform/win32/com_objects.h"

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace tabulon::platform::win32 {

std::uint64_t ComObjects::Add(IUnknown* object, int kind) {
  const std::lock_guard hold(lock_);
  objects_[++last_] = Entry{object, kind};
  return last_;
}

IUnknown* ComObjects::Acquire(std::uint64_t id, int kind) {
  const std::lock_guard hold(lock_);
  const auto it = objects_.find(id);
  if (it == objects_.end() || it->second.kind != kind) return nullptr;
  it->second.object->AddRef();
  return it->second.object;
}

void ComObjects::Remove(std::uint64_t id) {
  IUnknown* object = nullptr;
  {
    const std::lock_guard hold(lock_);
    const auto it = objects_.find(id);
    if (it == objects_.end()) return;
    object = it->second.object;
    objects_.erase(it);
  }
  // Outside the lock: a proxy's Release is a round trip.
  object->Release();
}

void ComObjects::ReleaseAll() {
  std::map<std::uint64_t, Entry> taken;
  {
    const std::lock_guard hold(lock_);
    taken = std::exchange(objects_, {});
  }
  for (auto& [id, entry] : taken) entry.object->Release();
}

}  // namespace tabulon::platform::win32
