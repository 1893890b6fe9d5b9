#pragma once
// Exports the entries of a target list on several threads and commits each
// target's output to the run's files strictly in list order, so that the
// files are those of a serial run.
//
// Workers take entries in list order, each into a buffered TargetOutput.
// The target next in line is committed by whichever thread finishes it or
// finds it finished; while it is still being exported and the outputs held
// exceed the limit, its own worker commits what it holds and streams the
// rest, and the other workers wait before holding more. So memory stays
// near the limit however slow one target is, and the run always moves on:
// the target next in line never waits.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/target_output.h"

namespace tabulon {

// Bytes of finished text all workers may hold before they wait.
inline constexpr std::size_t kHeldOutputLimit = std::size_t{16} << 20;

struct PipelineWork {
  // Whether entry i is a target (an include entry is not).
  std::function<bool(std::size_t)> is_target;
  // Exports entry i into `output`; runs on a worker thread.
  std::function<void(std::size_t, TargetOutput&)> export_target;
  // Just before the first of entry i's output is committed, and just after
  // the last; one thread at a time, in list order.
  std::function<void(std::size_t)> commit_started;
  std::function<void(std::size_t, const TargetOutput&)> committed;
  // Work on entry i has begun (true) or ended (false); from the workers.
  std::function<void(std::size_t, bool)> in_flight;
  // No further entry is started once this is true.
  std::function<bool()> stop_requested;
};

class TargetPipeline final : private OutputGate {
 public:
  TargetPipeline(OutputDestination& destination, std::size_t workers,
                 std::size_t held_limit = kHeldOutputLimit)
      : destination_(destination), workers_(workers), held_limit_(held_limit) {}

  // Exports entries [0, count) and returns once every started one is
  // committed. Returns how many targets were committed.
  std::size_t Run(std::size_t count, const PipelineWork& work);

 private:
  enum class State : unsigned char { kWaiting, kInFlight, kDone, kNoTarget };
  struct Entry {
    State state = State::kWaiting;
    std::unique_ptr<TargetOutput> output;
  };

  void Worker();
  // Commits finished entries at the head of the line while nobody else
  // commits; called with the lock held.
  void CommitReady(std::unique_lock<std::mutex>& lock);
  // Moves the head past entries that are no targets; with the lock held.
  void SkipNoTargets();
  // The worker of the entry next in line commits what it holds and streams
  // the rest; with the lock held.
  void TakeTurn(std::unique_lock<std::mutex>& lock, TargetOutput& output);
  void Held(TargetOutput& output, std::size_t bytes) override;
  void WaitForTurn(TargetOutput& output) override;

  OutputDestination& destination_;
  const std::size_t workers_;
  const std::size_t held_limit_;
  const PipelineWork* work_ = nullptr;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Entry> entries_;
  std::size_t next_ = 0;       // the entry the next worker takes
  std::size_t head_ = 0;       // the entry committed next
  bool head_started_ = false;  // commit_started was called for the head
  bool committing_ = false;    // a thread is committing an entry
  bool stopped_ = false;
  std::size_t held_ = 0;  // bytes held by buffered outputs not committed
  std::size_t committed_ = 0;
};

}  // namespace tabulon
