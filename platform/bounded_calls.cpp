#include "platform/bounded_calls.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tabulon::platform {

// Shared by the session and its thread, so that an abandoned thread still
// has it when the session is gone.
struct BoundedCalls::Worker {
  std::mutex mutex;
  std::condition_variable wake;  // a job was handed over, or quit was set
  std::condition_variable done;  // the job ran
  std::shared_ptr<Job> job;
  bool finished = false;
  bool quit = false;
  win::Status enter_status = win::ERROR_SUCCESS;
  std::thread thread;
};

namespace {

void WorkerLoop(const std::shared_ptr<BoundedCalls::Worker>& worker, const WorkerScope& scope) {
  const win::Status entered = scope.enter ? scope.enter() : win::ERROR_SUCCESS;
  std::unique_lock lock(worker->mutex);
  worker->enter_status = entered;
  while (true) {
    worker->wake.wait(lock, [&] { return worker->job != nullptr || worker->quit; });
    if (worker->job == nullptr) break;
    std::shared_ptr<BoundedCalls::Job> job = std::move(worker->job);
    if (entered == win::ERROR_SUCCESS) {
      lock.unlock();
      job->Execute();
      job.reset();  // what the call captured is released on this thread
      lock.lock();
    }
    worker->finished = true;
    worker->done.notify_all();
    if (worker->quit) break;
  }
  lock.unlock();
  if (entered == win::ERROR_SUCCESS && scope.leave) scope.leave();
}

}  // namespace

BoundedCalls::BoundedCalls(std::chrono::milliseconds timeout, CancelToken cancel, WorkerScope scope)
    : timeout_(timeout), cancel_(cancel), scope_(std::move(scope)) {}

BoundedCalls::~BoundedCalls() {
  if (worker_ == nullptr) return;
  {
    std::lock_guard lock(worker_->mutex);
    worker_->quit = true;
  }
  worker_->wake.notify_all();
  worker_->thread.join();
}

win::Status BoundedCalls::Submit(std::shared_ptr<Job> job, bool even_when_stopped) {
  const auto stopped = [&] { return !even_when_stopped && cancel_.cancelled(); };
  if (stopped()) return win::ERROR_CANCELLED;
  if (worker_ == nullptr) {
    worker_ = std::make_shared<Worker>();
    worker_->thread = std::thread(WorkerLoop, worker_, scope_);
  }
  // Short slices so that a stop request is seen within a few milliseconds.
  constexpr std::chrono::milliseconds kSlice{10};
  const auto deadline = std::chrono::steady_clock::now() + timeout_;
  std::unique_lock lock(worker_->mutex);
  worker_->finished = false;
  worker_->job = std::move(job);
  worker_->wake.notify_all();
  while (!worker_->finished) {
    if (stopped()) {
      lock.unlock();
      Abandon();
      return win::ERROR_CANCELLED;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      lock.unlock();
      Abandon();
      return win::ERROR_TIMEOUT;
    }
    worker_->done.wait_for(lock,
                           std::min<std::chrono::steady_clock::duration>(kSlice, deadline - now));
  }
  return worker_->enter_status;
}

void BoundedCalls::Abandon() {
  {
    std::lock_guard lock(worker_->mutex);
    worker_->quit = true;
  }
  worker_->thread.detach();
  worker_.reset();
}

}  // namespace tabulon::platform
