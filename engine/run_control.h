#pragma once
// How a front end stops a run: one object, shared by the thread that runs
// the export and any other thread (a window's, a signal's translation).
// Every member only touches lock-free atomics, so the requests may also be
// made from a signal handler.
#include <atomic>

#include "platform/cancel.h"

namespace tabulon {

class RunControl {
 public:
  static_assert(std::atomic<int>::is_always_lock_free);

  // The run ends after the current target; while the target list is being
  // built (nothing is half done then) the call in flight is cancelled too.
  void RequestStop() { stop_.store(1); }
  // The run ends at once: the call in flight fails with ERROR_CANCELLED, no
  // further unit runs for the target, and the files end after their last
  // complete row.
  void RequestCancel() {
    stop_.store(1);
    cancel_.store(1);
  }
  // What Ctrl-C means: the first request stops, every further one cancels.
  void Escalate() {
    if (stop_.exchange(1) != 0) cancel_.store(1);
  }

  bool stop_requested() const { return stop_.load() != 0; }
  bool cancel_requested() const { return cancel_.load() != 0; }

  // Set by either request: what long loops inside a target ask.
  platform::CancelToken StopToken() const { return platform::CancelToken(&stop_, &cancel_); }
  // Set by a cancel only: what the sessions' calls in flight watch.
  platform::CancelToken CancelToken() const { return platform::CancelToken(&cancel_); }

 private:
  std::atomic<int> stop_{0};
  std::atomic<int> cancel_{0};
};

}  // namespace tabulon
