#include "ui/run_worker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "ui/message_box.h"
#include "ui/progress_list.h"
#include "ui/qt_text.h"
#include "ui/targets_in_flight.h"

namespace tabulon::ui {

namespace {

// How often the window's thread takes the rows of the run, and how many
// it puts into the list before it lets other events in.
constexpr int kDrainMilliseconds = 50;
constexpr std::size_t kEventsPerDrain = 1000;
// The line of targets in flight changes at most this often: with many
// short targets it would otherwise flicker with every one.
constexpr qint64 kInFlightMilliseconds = 100;

}  // namespace

// What the run's thread hands the window's thread, under one mutex.
struct RunExchange {
  struct Event {
    bool is_row = true;  // else text appended to row `number`
    int number = 0;
    ProgressRow row;
    std::string text;
    std::uint32_t image = 0;
  };
  enum class AskKind { kError, kNote, kQuestion };
  struct Pending {
    AskKind kind = AskKind::kError;
    std::string text;
    bool answered = false;
    bool answer = false;
  };

  std::mutex mutex;
  std::condition_variable answered;
  // Grows by blocks without moving what it holds, so the run's thread never
  // holds the mutex for long.
  std::deque<Event> events;
  std::optional<QString> status;
  TargetsInFlight in_flight;
  std::optional<Pending> pending;
  bool closing = false;  // questions take their unattended answers

  // The window's thread's own: the batches it took and has not put in the
  // list yet, and how far into the first one it is.
  std::deque<std::deque<Event>> backlog;
  std::size_t backlog_position = 0;
};

namespace {

class WindowObserver final : public RunObserver {
 public:
  WindowObserver(std::shared_ptr<RunExchange> exchange, std::function<void()> ask)
      : exchange_(std::move(exchange)), ask_(std::move(ask)) {}

  void ProgressRowAdded(int number, const ProgressRow& row) override {
    std::lock_guard lock(exchange_->mutex);
    exchange_->events.push_back({true, number, row, {}, 0});
  }
  void ProgressTextAppended(int number, std::string_view text, std::uint32_t image) override {
    std::lock_guard lock(exchange_->mutex);
    exchange_->events.push_back({false, number, {}, std::string(text), image});
  }
  void TargetStarted(std::size_t done, std::size_t total, const tagCObjects& target) override {
    const QString text = QObject::tr("Exporting %1 of %2: %3")
                             .arg(done + 1)
                             .arg(total)
                             .arg(ToQString(target.display_name));
    std::lock_guard lock(exchange_->mutex);
    exchange_->status = text;
  }
  void TargetWorkStarted(std::size_t index, const tagCObjects& target) override {
    std::lock_guard lock(exchange_->mutex);
    exchange_->in_flight.Started(index, target.display_name);
  }
  void TargetWorkEnded(std::size_t index, const tagCObjects& /*target*/) override {
    std::lock_guard lock(exchange_->mutex);
    exchange_->in_flight.Ended(index);
  }
  void ShowError(std::string_view text) override {
    Wait(RunExchange::AskKind::kError, text, false);
  }
  void ShowNote(std::string_view text) override { Wait(RunExchange::AskKind::kNote, text, false); }
  bool AskYesNo(std::string_view text, bool unattended_answer) override {
    return Wait(RunExchange::AskKind::kQuestion, text, unattended_answer);
  }

 private:
  // Hands the message to the window's thread and waits for the user, or
  // for the window to close.
  bool Wait(RunExchange::AskKind kind, std::string_view text, bool unattended_answer) {
    std::unique_lock lock(exchange_->mutex);
    if (exchange_->closing) return unattended_answer;
    exchange_->pending = RunExchange::Pending{kind, std::string(text), false, false};
    lock.unlock();
    ask_();
    lock.lock();
    exchange_->answered.wait(lock,
                             [&] { return exchange_->pending->answered || exchange_->closing; });
    const bool answer =
        exchange_->pending->answered ? exchange_->pending->answer : unattended_answer;
    exchange_->pending.reset();
    return answer;
  }

  std::shared_ptr<RunExchange> exchange_;
  std::function<void()> ask_;
};

}  // namespace

RunWorker::RunWorker(ProgressModel& rows, QWidget* dialog_parent, QObject* parent)
    : QObject(parent), rows_(rows), dialog_parent_(dialog_parent) {
  drain_timer_.setInterval(kDrainMilliseconds);
  connect(&drain_timer_, &QTimer::timeout, this, &RunWorker::Drain);
}

RunWorker::~RunWorker() {
  CancelAndWait();
}

bool RunWorker::Start(const run::Locations& locations, run::Request request) {
  request.progress_rows = true;
  return StartRun([locations, request](RunObserver& observer, const RunControl& control) {
    return run::Run(locations, request, observer, control);
  });
}

bool RunWorker::StartRun(RunBody body) {
  if (running()) return false;
  control_ = std::make_unique<RunControl>();
  exchange_ = std::make_shared<RunExchange>();
  first_row_ = rows_.rowCount();
  ended_.reset();
  in_flight_clock_.invalidate();
  active_ = true;
  // The run's thread reaches this object only through queued calls, which
  // Qt drops once the object is gone; the object waits for the thread first.
  auto observer = std::make_shared<WindowObserver>(exchange_, [this] {
    QMetaObject::invokeMethod(this, &RunWorker::Ask, Qt::QueuedConnection);
  });
  thread_.emplace([this, body = std::move(body), observer, control = control_.get()] {
    RunResult result = body(*observer, *control);
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)]() mutable { OnRunEnded(std::move(result)); },
        Qt::QueuedConnection);
  });
  drain_timer_.start();
  return true;
}

void RunWorker::Stop() {
  if (!control_ || !running()) return;
  // True of a run that works on one target as of one that works on several.
  if (control_->stop_requested()) {
    control_->RequestCancel();
    emit statusChanged(tr("Cancelling the targets under way..."));
  } else {
    control_->RequestStop();
    emit statusChanged(
        tr("Stopping: no new target starts and those under way finish; Stop Export again "
           "cancels them."));
  }
}

void RunWorker::CancelAndWait() {
  if (!thread_) return;
  {
    std::lock_guard lock(exchange_->mutex);
    exchange_->closing = true;
  }
  exchange_->answered.notify_all();
  control_->RequestCancel();
  thread_->join();
  thread_.reset();
}

void RunWorker::Drain() {
  drain_scheduled_ = false;
  if (!exchange_) return;
  std::deque<std::deque<RunExchange::Event>>& backlog = exchange_->backlog;
  std::size_t& position = exchange_->backlog_position;
  std::optional<QString> status;
  std::optional<QString> in_flight;
  const bool in_flight_due =
      !in_flight_clock_.isValid() || in_flight_clock_.hasExpired(kInFlightMilliseconds);
  {
    std::lock_guard lock(exchange_->mutex);
    if (!exchange_->events.empty()) {
      backlog.push_back({});
      backlog.back().swap(exchange_->events);
    }
    status.swap(exchange_->status);
    if (in_flight_due) in_flight = exchange_->in_flight.TakeText();
  }
  std::vector<ProgressRow> rows;
  for (std::size_t n = 0; n < kEventsPerDrain && !backlog.empty(); ++n) {
    RunExchange::Event& event = backlog.front()[position];
    if (event.is_row) {
      rows.push_back(std::move(event.row));
    } else {
      rows_.AppendRows(std::move(rows));
      rows.clear();
      rows_.AppendText(first_row_ + event.number, event.text, event.image);
    }
    if (++position == backlog.front().size()) {
      backlog.pop_front();
      position = 0;
    }
  }
  rows_.AppendRows(std::move(rows));
  // After Stop the status says what the stop does, not which target the
  // run commits next.
  if (status && !control_->stop_requested()) emit statusChanged(*status);
  if (in_flight) {
    in_flight_clock_.start();
    emit targetsInFlightChanged(*in_flight);
  }
  if (!backlog.empty()) {
    if (!drain_scheduled_) {
      drain_scheduled_ = true;
      QTimer::singleShot(0, this, &RunWorker::Drain);
    }
    return;
  }
  if (ended_) {
    drain_timer_.stop();
    last_result_ = std::move(ended_);
    ended_.reset();
    active_ = false;
    emit targetsInFlightChanged(QString());
    emit finished();
  }
}

void RunWorker::Ask() {
  const std::shared_ptr<RunExchange> exchange = exchange_;
  RunExchange::Pending question;
  {
    std::lock_guard lock(exchange->mutex);
    if (!exchange->pending || exchange->pending->answered || exchange->closing) return;
    question = *exchange->pending;
  }
  Drain();  // the rows that led to the message are in the list first
  bool answer = false;
  switch (question.kind) {
    case RunExchange::AskKind::kError:
      ShowMessage(dialog_parent_, question.text, MessageIcon::kStop);
      break;
    case RunExchange::AskKind::kNote:
      ShowMessage(dialog_parent_, question.text, MessageIcon::kInformation);
      break;
    case RunExchange::AskKind::kQuestion:
      answer = AskYesNo(dialog_parent_, question.text);
      break;
  }
  {
    std::lock_guard lock(exchange->mutex);
    if (exchange->pending && !exchange->closing) {
      exchange->pending->answered = true;
      exchange->pending->answer = answer;
    }
  }
  exchange->answered.notify_all();
}

void RunWorker::OnRunEnded(RunResult result) {
  if (thread_) {
    thread_->join();
    thread_.reset();
  }
  ended_ = std::move(result);
  Drain();
}

}  // namespace tabulon::ui
