#pragma once
// The registry keys a session holds open on servers: each server context
// handle with the server it belongs to, under the RegistryKey numbers the
// rest of the program passes around. Numbers count up from 1 and are never
// reused within a session, so they stay far below the predefined keys.
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/remote/ndr/context_handle.h"

namespace tabulon::platform::remote {

struct OpenRegistryKey {
  std::string host;
  ndr::ContextHandle handle;
};

class RegistryKeyTable {
 public:
  // A fresh number for the key; 0 (no key) for a null context handle.
  RegistryKey Add(std::string host, const ndr::ContextHandle& handle);
  // Null for a number the table does not hold.
  const OpenRegistryKey* Find(RegistryKey number) const;
  void Remove(RegistryKey number);
  // The numbers held, the latest opened first.
  std::vector<RegistryKey> NewestFirst() const;

 private:
  std::map<RegistryKey, OpenRegistryKey> keys_;
  RegistryKey next_ = 1;
};

}  // namespace tabulon::platform::remote
