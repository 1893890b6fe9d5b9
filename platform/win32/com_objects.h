#pragma once
// The COM objects a family hands out as numbers (a WMI enumerator, a task
// service), each held with one reference and the kind it was created as.
// A family owns one table through a shared_ptr that its calls capture, so
// an abandoned call keeps the table alive; a call abandoned on one worker
// may still run while the next one starts, hence the lock.
//
// References are given back only on a session's worker thread (inside a
// call): Remove and ReleaseAll. Dropping the table without ReleaseAll
// leaks what it holds on purpose, since a proxy must not be released from a
// thread outside the apartment.
#include <cstdint>
#include <map>
#include <mutex>

struct IUnknown;

namespace tabulon::platform::win32 {

class ComObjects {
 public:
  ComObjects() = default;
  ComObjects(const ComObjects&) = delete;
  ComObjects& operator=(const ComObjects&) = delete;

  // Takes over one reference of `object` (not null); returns its number,
  // never 0.
  std::uint64_t Add(IUnknown* object, int kind);
  // A new reference of the object numbered `id` if it is of `kind`, else
  // null.
  IUnknown* Acquire(std::uint64_t id, int kind);
  // Releases the object numbered `id`; nothing for an unknown number.
  void Remove(std::uint64_t id);
  void ReleaseAll();

 private:
  struct Entry {
    IUnknown* object = nullptr;
    int kind = 0;
  };
  std::mutex lock_;
  std::map<std::uint64_t, Entry> objects_;
  std::uint64_t last_ = 0;
};

}  // namespace tabulon::platform::win32
