#pragma once
// Closes a platform handle on every path out of a scope: service handles,
// registry keys, printers, terminal servers.
#include <utility>

namespace tabulon {

// `Close` is called with the handle unless it is the family's "no handle"
// value (0 for every family).
template <typename Handle, typename Closer>
class HandleGuard {
 public:
  HandleGuard(Handle handle, Closer close) : handle_(handle), close_(std::move(close)) {}
  ~HandleGuard() {
    if (handle_ != Handle{}) close_(handle_);
  }
  HandleGuard(const HandleGuard&) = delete;
  HandleGuard& operator=(const HandleGuard&) = delete;

  Handle get() const { return handle_; }

 private:
  Handle handle_;
  Closer close_;
};

}  // namespace tabulon
