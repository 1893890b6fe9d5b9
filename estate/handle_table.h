#pragma once
// The handles one session has handed out for one kind of object (service
// manager and service handles, registry keys, printers, terminal servers),
// with what each stands for. A session owns its tables, so no lock is
// needed.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tabulon::estate {

template <typename State>
class HandleTable {
 public:
  using Handle = std::uint64_t;  // 0 is no handle

  explicit HandleTable(Handle first) : next_(first) {}

  Handle Add(State state) {
    const Handle handle = next_++;
    open_.emplace(handle, std::move(state));
    return handle;
  }
  const State* Find(Handle handle) const {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : &it->second;
  }
  State* Find(Handle handle) {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : &it->second;
  }
  // False when `handle` is not open.
  bool Close(Handle handle) { return open_.erase(handle) != 0; }
  std::size_t Count() const { return open_.size(); }
  // `describe(state)` of every open handle, in the order they were opened.
  template <typename Fn>
  std::vector<std::string> Describe(Fn&& describe) const {
    std::vector<std::string> out;
    out.reserve(open_.size());
    for (const auto& [handle, state] : open_) out.push_back(describe(state));
    return out;
  }

 private:
  std::map<Handle, State> open_;
  Handle next_;
};

}  // namespace tabulon::estate
