#pragma once
// What a front end learns of a run while it runs, and the questions it is
// asked. Every call comes from the thread that runs the export (the caller
// of ExportRun), in the order the run produces them, never from two threads
// at once. A front end running the export on a worker thread (the window)
// copies what it needs and hands it to its own thread; it must not touch
// the run's objects beyond the call, and may call RunControl from any
// thread at any time. A call should return soon: the run waits for it.
// Every member has a default that ignores the call (questions take their
// unattended answers), so an observer overrides what it shows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/progress.h"
#include "engine/target.h"

namespace tabulon {

class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // A progress row, numbered from 0 in the order added; only in a run
  // whose request lists progress rows.
  virtual void ProgressRowAdded(int /*number*/, const ProgressRow& /*row*/) {}
  // Text added to the end of row `number`'s status; image 0 keeps the
  // row's image.
  virtual void ProgressTextAppended(int /*number*/, std::string_view /*text*/,
                                    std::uint32_t /*image*/) {}
  // A failure row (object name without leading backslashes, status): every
  // failure of a target or of the target list that stands on its own. In a
  // run that lists progress rows it also came as a row of kind kFailure.
  virtual void FailureRow(std::string_view /*name*/, std::string_view /*status*/) {}

  // Around each target of the list (include files are no targets): of the
  // list's `total` entries, `done` are behind the run when the target starts
  // (those before it) and when it has finished (those and the target).
  virtual void TargetStarted(std::size_t /*done*/, std::size_t /*total*/,
                             const tagCObjects& /*target*/) {}
  virtual void TargetFinished(std::size_t /*done*/, std::size_t /*total*/,
                              const tagCObjects& /*target*/) {}

  // A run exporting several targets at once ([General] ParallelTargets):
  // work on entry `index` of the list has begun or has ended (its output
  // may still wait to be committed in list order), so that a front end can
  // show which targets are in flight. A serial run does not call these.
  virtual void TargetWorkStarted(std::size_t /*index*/, const tagCObjects& /*target*/) {}
  virtual void TargetWorkEnded(std::size_t /*index*/, const tagCObjects& /*target*/) {}

  // A stop-icon message the user must acknowledge; the run waits for it.
  virtual void ShowError(std::string_view /*text*/) {}
  // Something about the whole run that is no failure (how it logs on).
  virtual void ShowNote(std::string_view /*text*/) {}
  // A Yes/No question; a front end that does not ask the user returns
  // `unattended_answer`. The run waits for the answer: the window may block
  // here until the user has answered on its own thread.
  virtual bool AskYesNo(std::string_view /*text*/, bool unattended_answer) {
    return unattended_answer;
  }
};

}  // namespace tabulon
