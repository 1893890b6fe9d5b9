#include "platform/cancel.h"

#include <algorithm>
#include <thread>

namespace tabulon::platform {

win::Status WaitAsCall(std::chrono::milliseconds duration, std::chrono::milliseconds timeout,
                       const CancelToken& cancel) {
  // Short slices so that a stop request is seen within a few milliseconds.
  constexpr std::chrono::milliseconds kSlice{5};
  const bool times_out = duration > timeout;
  const auto end = std::chrono::steady_clock::now() + std::min(duration, timeout);
  while (true) {
    if (cancel.cancelled()) return win::ERROR_CANCELLED;
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kSlice, end - now));
  }
  return times_out ? win::ERROR_TIMEOUT : win::ERROR_SUCCESS;
}

}  // namespace tabulon::platform
