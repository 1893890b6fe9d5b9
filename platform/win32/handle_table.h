#pragma once
// The handles a family has opened (service manager, registry key, LSA
// policy), under the numbers the platform interfaces hand out. Shared with
// the calls that use them, which may outlive the family when a session
// abandons one: hence the lock. Kept free of <windows.h>: the handles are
// pointers.
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace tabulon::platform::win32 {

class HandleTable {
 public:
  // The number `native` is known by from now on; never 0.
  std::uint64_t Add(void* native);
  // Null for a number not (or no longer) in the table.
  void* Find(std::uint64_t number) const;
  // Forgets the number; null for one not in the table.
  void* Take(std::uint64_t number);
  // Every handle, the newest first (they may depend on older ones).
  std::vector<void*> TakeAll();
  bool empty() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::uint64_t, void*> handles_;
  std::uint64_t next_ = 1;
};

}  // namespace tabulon::platform::win32
