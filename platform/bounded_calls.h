#pragma once
// Blocking calls kept within a session's promise. Most of the Windows
// network API (NetAPI32, the service manager, the remote registry, LSA,
// the spooler, COM) takes no time-out and no cancel: a call to a computer
// that stopped answering can block for minutes. A session therefore makes
// those calls on a worker thread of its own and waits only as long as its
// options allow: when the time-out passes or the run is stopped, the caller
// gets ERROR_TIMEOUT or ERROR_CANCELLED at once and the worker is
// abandoned. It finishes the call on its own, its result is discarded and
// it ends; the session's next call starts a fresh worker.
//
// So a call must own everything it uses: capture by value, never a
// reference to the caller's frame or to an object the session may destroy,
// since an abandoned call outlives both. Calls of one session run one at a
// time, in order, on one thread (thread-bound state such as an
// impersonation or a COM apartment stays put between them).
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/cancel.h"
#include "platform/status.h"

namespace tabulon::platform {

// What each worker thread does first and last, on that thread: take the
// session's identity, join a COM apartment. `enter` failing makes every
// call on that worker fail with its status; `leave` runs only after an
// `enter` that succeeded. Both must own what they capture.
struct WorkerScope {
  std::function<win::Status()> enter;
  std::function<void()> leave;
};

class BoundedCalls {
 public:
  BoundedCalls(std::chrono::milliseconds timeout, CancelToken cancel, WorkerScope scope = {});
  // Ends an idle worker and waits for it; an abandoned one ends by itself.
  ~BoundedCalls();
  BoundedCalls(const BoundedCalls&) = delete;
  BoundedCalls& operator=(const BoundedCalls&) = delete;

  // Runs `call` (which returns `Result`) on the worker. `Result` is a
  // win::Status, or a struct with a `status` member: on a time-out, a stop
  // or a failed `enter`, a default Result with that status.
  template <typename Result, typename Call>
  Result Run(Call call) {
    return RunJob<Result>(std::move(call), /*even_when_stopped=*/false);
  }

  // Runs `call` (which returns nothing) even when the run was stopped, within
  // the time-out: what releases a handle or an interface the session holds,
  // so that a stopped run leaves nothing open on the target.
  template <typename Call>
  void Release(Call call) {
    RunJob<win::Status>(
        [call = std::move(call)]() mutable {
          call();
          return win::ERROR_SUCCESS;
        },
        /*even_when_stopped=*/true);
  }

  struct Job {
    virtual ~Job() = default;
    virtual void Execute() = 0;
  };
  struct Worker;

 private:
  template <typename Result, typename Call>
  struct TypedJob final : Job {
    explicit TypedJob(Call c) : call(std::move(c)) {}
    // The call, and with it what it captured, ends on the worker thread:
    // handles and interfaces are released where they were used.
    void Execute() override {
      result.emplace((*call)());
      call.reset();
    }
    std::optional<Call> call;
    std::optional<Result> result;
  };

  template <typename Result, typename Call>
  Result RunJob(Call call, bool even_when_stopped) {
    auto job = std::make_shared<TypedJob<Result, Call>>(std::move(call));
    const win::Status status = Submit(job, even_when_stopped);
    if (status != win::ERROR_SUCCESS) {
      if constexpr (std::is_same_v<Result, win::Status>) {
        return status;
      } else {
        Result failed{};
        failed.status = status;
        return failed;
      }
    }
    return std::move(*job->result);
  }

  // Hands `job` to the worker (started if there is none) and waits for it:
  // ERROR_SUCCESS once it ran, else why it was given up.
  win::Status Submit(std::shared_ptr<Job> job, bool even_when_stopped);
  void Abandon();

  const std::chrono::milliseconds timeout_;
  const CancelToken cancel_;
  const WorkerScope scope_;
  std::shared_ptr<Worker> worker_;
};

}  // namespace tabulon::platform
