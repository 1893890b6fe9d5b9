#pragma once
// The run's stop request as remote calls see it: a call in flight that sees
// the token set gives up with ERROR_CANCELLED.
#include <atomic>
#include <chrono>

#include "platform/status.h"

namespace tabulon::platform {

class CancelToken {
 public:
  CancelToken() = default;
  // Set when either flag is (set from a signal handler or the window); the
  // flags must outlive every session opened with this token.
  explicit CancelToken(const std::atomic<int>* flag, const std::atomic<int>* also = nullptr)
      : flag_(flag), also_(also) {}

  bool cancelled() const { return IsSet(flag_) || IsSet(also_); }

 private:
  static bool IsSet(const std::atomic<int>* flag) {
    return flag != nullptr && flag->load(std::memory_order_relaxed) != 0;
  }
  const std::atomic<int>* flag_ = nullptr;
  const std::atomic<int>* also_ = nullptr;
};

// Waits `duration` as a remote call that takes that long would: gives up with
// ERROR_TIMEOUT once `timeout` has passed and with ERROR_CANCELLED as soon as
// the token is set; ERROR_SUCCESS when the wait ran its course.
win::Status WaitAsCall(std::chrono::milliseconds duration, std::chrono::milliseconds timeout,
                       const CancelToken& cancel);

}  // namespace tabulon::platform
