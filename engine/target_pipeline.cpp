#include "engine/target_pipeline.h"

#include <thread>

namespace tabulon {

std::size_t TargetPipeline::Run(std::size_t count, const PipelineWork& work) {
  work_ = &work;
  entries_.clear();
  entries_.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (!work.is_target(i)) entries_[i].state = State::kNoTarget;
  }
  next_ = head_ = committed_ = held_ = 0;
  head_started_ = committing_ = stopped_ = false;
  {
    const std::lock_guard lock(mutex_);
    SkipNoTargets();
  }
  std::vector<std::jthread> threads;
  const std::size_t n = workers_ < count ? workers_ : count;
  threads.reserve(n);
  for (std::size_t i = 0; i < n; ++i) threads.emplace_back([this] { Worker(); });
  threads.clear();  // joins
  entries_.clear();
  work_ = nullptr;
  return committed_;
}

void TargetPipeline::SkipNoTargets() {
  while (head_ < entries_.size() && entries_[head_].state == State::kNoTarget) ++head_;
  if (next_ < head_) next_ = head_;
}

void TargetPipeline::Worker() {
  std::unique_lock lock(mutex_);
  while (true) {
    while (next_ < entries_.size() && entries_[next_].state == State::kNoTarget) ++next_;
    if (!stopped_ && work_->stop_requested()) stopped_ = true;
    if (stopped_ || next_ >= entries_.size()) break;
    // Hold no more while the others hold too much, unless this entry is
    // next in line (it then streams).
    if (held_ > held_limit_ && next_ != head_) {
      changed_.wait(lock);
      continue;
    }
    const std::size_t index = next_++;
    entries_[index].state = State::kInFlight;
    lock.unlock();

    work_->in_flight(index, true);
    auto output = std::make_unique<TargetOutput>(destination_, TargetOutput::Mode::kBuffered);
    output->Attach(*this, index);
    work_->export_target(index, *output);
    work_->in_flight(index, false);

    lock.lock();
    entries_[index].state = State::kDone;
    entries_[index].output = std::move(output);
    CommitReady(lock);
  }
  // Whoever ends last commits what others finished meanwhile.
  CommitReady(lock);
  changed_.notify_all();
}

void TargetPipeline::CommitReady(std::unique_lock<std::mutex>& lock) {
  while (!committing_ && head_ < entries_.size() && entries_[head_].state == State::kDone) {
    committing_ = true;
    const std::size_t index = head_;
    std::unique_ptr<TargetOutput> output = std::move(entries_[index].output);
    const bool start = !head_started_;
    held_ -= output->held_bytes();
    lock.unlock();
    if (start) work_->commit_started(index);
    output->Commit();
    work_->committed(index, *output);
    output.reset();
    lock.lock();
    ++committed_;
    ++head_;
    head_started_ = false;
    SkipNoTargets();
    committing_ = false;
    changed_.notify_all();
  }
}

void TargetPipeline::TakeTurn(std::unique_lock<std::mutex>& lock, TargetOutput& output) {
  committing_ = true;
  const bool start = !head_started_;
  head_started_ = true;
  held_ -= output.held_bytes();
  lock.unlock();
  if (start) work_->commit_started(output.index());
  // Nobody else commits while the head is in flight: this thread may.
  output.StartStreaming();
  lock.lock();
  committing_ = false;
  changed_.notify_all();
}

void TargetPipeline::Held(TargetOutput& output, std::size_t bytes) {
  std::unique_lock lock(mutex_);
  held_ += bytes;
  if (held_ <= held_limit_) return;
  const std::size_t index = output.index();
  changed_.wait(lock, [&] { return (head_ == index && !committing_) || held_ <= held_limit_; });
  if (head_ == index && !committing_) TakeTurn(lock, output);
}

void TargetPipeline::WaitForTurn(TargetOutput& output) {
  std::unique_lock lock(mutex_);
  const std::size_t index = output.index();
  changed_.wait(lock, [&] { return head_ == index && !committing_; });
  TakeTurn(lock, output);
}

}  // namespace tabulon
