#include "engine/run_recovery.h"

#include "platform/writable_file.h"

namespace tabulon {

std::vector<JournalTarget> JournalTargets(const std::vector<tagCObjects>& targets) {
  std::vector<JournalTarget> out;
  out.reserve(targets.size());
  for (const tagCObjects& t : targets) out.push_back({t.type, t.path});
  return out;
}

std::string RunRecovery::Load(const JournalIdentity& identity) {
  identity_ = identity;
  if (!resume_) return {};
  const win::Status status = LoadJournal(journal_path_, loaded_);
  if (status != win::ERROR_SUCCESS) return JournalLoadRefusal(journal_path_, status);
  // A journal of other inputs is refused before the files are opened.
  return JournalIdentityRefusal(journal_path_, loaded_, identity_);
}

std::string RunRecovery::Begin(const std::vector<tagCObjects>& targets,
                               const std::vector<std::string>& files, std::size_t& start) {
  start = 0;
  const std::vector<JournalTarget> listed = JournalTargets(targets);
  if (!resume_) {
    JournalContents head;
    head.identity = identity_;
    head.targets = listed;
    head.files = files;
    const win::Status status = journal_.Create(journal_path_, head);
    if (status == win::ERROR_SUCCESS) {
      journal_.Record(0, false);
    } else {
      journal_problem_ = JournalCreateProblem(journal_path_, status);
    }
    begun_ = true;
    return {};
  }
  JournalRecord point;
  std::string refusal = ChooseResumePoint(journal_path_, loaded_, identity_, listed, files, point);
  if (!refusal.empty()) return refusal;
  for (std::size_t i = 0; i < files.size(); ++i) platform::TruncateFile(files[i], point.sizes[i]);
  for (const JournalRecord& record : loaded_.records) {
    if (record.committed > point.committed) break;
    if (record.failed && record.committed > 0) failed_.Add(targets[record.committed - 1]);
  }
  journal_.Reopen(journal_path_, files);
  start = point.committed;
  begun_ = true;
  return {};
}

void RunRecovery::Committed(std::size_t index, const tagCObjects& target, bool failed, bool whole) {
  if (failed) failed_.Add(target);
  // Once a target may be partial, no later one is recorded either: the
  // journal's last record stays the last whole target.
  if (!whole) partial_ = true;
  if (!partial_) journal_.Record(index + 1, failed);
}

void RunRecovery::End(bool completed, const std::string& failed_targets_path) {
  if (!begun_) return;
  if (completed) {
    journal_.Remove();
  } else {
    journal_.Close();
  }
  failed_.WriteOrRemove(failed_targets_path);
}

void RunRecovery::RestoreFiles() const {
  if (!resume_) return;
  for (std::size_t i = 0; i < loaded_.files.size() && i < loaded_.found_sizes.size(); ++i) {
    if (loaded_.found_sizes[i]) {
      platform::TruncateFile(loaded_.files[i], *loaded_.found_sizes[i]);
    } else {
      platform::RemoveFile(loaded_.files[i]);
    }
  }
}

}  // namespace tabulon
