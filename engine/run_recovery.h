#pragma once
// What a run keeps beside its files so that its work is not lost: the
// journal a resumed run goes on from (engine/run_journal.h), and the object
// file of the targets that failed (engine/failed_targets.h). The run calls
// it at four points: before it opens its files, once everything before the
// first target is produced, after each committed target and at its end.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/failed_targets.h"
#include "engine/run_journal.h"
#include "engine/target.h"

namespace tabulon {

class RunRecovery {
 public:
  // `journal_path`: where the journal lives; `resume`: go on from it.
  RunRecovery(std::string journal_path, bool resume)
      : journal_path_(std::move(journal_path)), resume_(resume) {}

  bool resuming() const { return resume_; }
  const std::string& journal_path() const { return journal_path_; }

  // Before any file is opened: a resume reads its journal and the sizes its
  // files have. Empty, or why the run cannot be resumed.
  std::string Load(const JournalIdentity& identity);
  // Once everything before the first target is produced and the files
  // (`files`, in a fixed order) are flushed. A fresh run starts its
  // journal; a resumed one cuts every file back to its last committed
  // target and says in `start` the entry of `targets` to go on with.
  // Empty, or why the run cannot be resumed: the files are then put back
  // as they were (RestoreFiles, once they are closed).
  std::string Begin(const std::vector<tagCObjects>& targets, const std::vector<std::string>& files,
                    std::size_t& start);
  // Why a fresh run keeps no journal (it could not be made); empty when it
  // keeps one.
  const std::string& journal_problem() const { return journal_problem_; }
  // Entry `index` of the target list is committed and its files flushed.
  // `whole`: no stop request can have cut it short; from the first target
  // that is not, nothing more is recorded, so a resume exports it again.
  void Committed(std::size_t index, const tagCObjects& target, bool failed, bool whole);
  // The run ended. A completed one removes its journal, a stopped one
  // keeps it for /RESUME; either writes its failed targets to
  // `failed_targets_path` (or removes an old file there).
  void End(bool completed, const std::string& failed_targets_path);
  // A refused resume: the files it opened to append get back the sizes
  // they had before.
  void RestoreFiles() const;

 private:
  std::string journal_path_;
  bool resume_;
  JournalIdentity identity_;
  JournalContents loaded_;
  RunJournal journal_;
  FailedTargets failed_;
  bool begun_ = false;
  bool partial_ = false;
  std::string journal_problem_;
};

// The entries of a target list as the journal lists them.
std::vector<JournalTarget> JournalTargets(const std::vector<tagCObjects>& targets);

}  // namespace tabulon
