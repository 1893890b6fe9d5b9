#pragma once
// A run of the window on a thread of its own. The run's observer calls come
// from that thread; rows and text go into a batch under a mutex, which the
// window's thread takes every few milliseconds into the progress list.
// Messages and questions of the run are shown on the window's thread while
// the run waits; a window that is closing answers them unattended.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "engine/run_control.h"
#include "run/run.h"

class QWidget;

namespace tabulon::ui {

class ProgressModel;
struct RunExchange;

class RunWorker : public QObject {
  Q_OBJECT
 public:
  // Rows go to `rows`; messages and questions are shown over `dialog_parent`.
  RunWorker(ProgressModel& rows, QWidget* dialog_parent, QObject* parent = nullptr);
  ~RunWorker() override;  // cancels a run that still goes and waits for it
  RunWorker(const RunWorker&) = delete;
  RunWorker& operator=(const RunWorker&) = delete;

  // Starts `request` (progress rows on); false when a run goes already.
  bool Start(const run::Locations& locations, run::Request request);
  // What runs on the worker thread: the run API's Run, or a stand-in that
  // feeds the observer (the benchmark).
  using RunBody = std::function<RunResult(RunObserver& observer, const RunControl& control)>;
  bool StartRun(RunBody body);
  // From the start until `finished`: the run, then the rows it left.
  bool running() const { return active_; }
  // The first Stop lets no new target start and lets those under way (one,
  // or several in a run exporting several at once) finish; the second
  // cancels their calls in flight too. Each says so in the status.
  void Stop();
  // Cancels the run, answers what it asks unattended and waits for its end
  // (the window is closing).
  void CancelAndWait();
  // The result of the last run that ended.
  const std::optional<RunResult>& last_result() const { return last_result_; }
  // Moves what the run produced so far into the progress list, a bounded
  // number of rows at a time so that the window keeps answering; the rest
  // follows as soon as the window's thread is free again.
  void Drain();

 signals:
  // "Exporting n of m: NAME" as a target starts (as its output is
  // committed, in a run exporting several at once); what Stop does.
  void statusChanged(const QString& text);
  // A run exporting several at once: "Exporting: A, B (+k more)", the
  // targets worked on now, at most every 100 ms; empty when the run ends.
  void targetsInFlightChanged(const QString& text);
  // The run has ended and all its rows are in the list.
  void finished();

 private:
  void Ask();
  void OnRunEnded(RunResult result);

  ProgressModel& rows_;
  QWidget* dialog_parent_;
  QTimer drain_timer_;
  std::unique_ptr<RunControl> control_;  // a new one for every run
  std::shared_ptr<RunExchange> exchange_;
  std::optional<std::thread> thread_;
  std::optional<RunResult> last_result_;
  std::optional<RunResult> ended_;  // the run's result while its last rows go in
  QElapsedTimer in_flight_clock_;   // since the line of targets in flight last changed
  int first_row_ = 0;               // where the run's row 0 sits in the list
  bool active_ = false;
  bool drain_scheduled_ = false;
};

}  // namespace tabulon::ui
