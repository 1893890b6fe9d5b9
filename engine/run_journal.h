#pragma once
// The journal of a run, kept so that a run ended by a crash, a kill or a
// power cut can be resumed (/RESUME) with the files an uninterrupted run
// would have written. One UTF-8 record per line: a header with the format
// version, the configuration and object file the run read (paths and
// FNV-1a digests of their bytes), the target list, the files the run writes
// (the log included) and, after each committed target, how many entries of
// the target list are done and the size of every file then. Each record is
// handed to the OS as it is written, never synced: after a power cut the
// last records may be missing or name sizes whose data never reached the
// disk, and a resume then goes back to an earlier record.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "platform/writable_file.h"

namespace tabulon {

std::uint64_t Fnv1a64(std::string_view bytes);
// The digest of a file's bytes; false when it cannot be read.
bool DigestFile(const std::string& path, std::uint64_t& digest);

// What the run read: a journal of other inputs is not resumed.
struct JournalIdentity {
  std::string configuration_path;
  std::uint64_t configuration_digest = 0;
  std::string object_file_path;
  std::uint64_t object_file_digest = 0;
};

struct JournalTarget {
  std::uint32_t type = 0;
  std::string path;
  bool operator==(const JournalTarget&) const = default;
};

struct JournalRecord {
  // Entries of the target list done; the run goes on with the next one.
  std::size_t committed = 0;
  // The last of those entries failed (engine/failed_targets.h).
  bool failed = false;
  // Of every file, in the journal's order.
  std::vector<std::uint64_t> sizes;
};

struct JournalContents {
  JournalIdentity identity;
  std::vector<JournalTarget> targets;
  std::vector<std::string> files;
  std::vector<JournalRecord> records;
  // The files' sizes when the journal was read; none for a missing file.
  std::vector<std::optional<std::uint64_t>> found_sizes;
};

// The name of a file a run keeps beside its outputs (".journal",
// ".failed.dat"): the log's path with `suffix` when there is a log, else
// the configuration's stem with `suffix`, which the caller places in the
// default output directory.
std::string RunSideFileName(std::string_view log_path, std::string_view configuration_path,
                            std::string_view suffix);

class RunJournal {
 public:
  // Starts the journal at `path` afresh with the contents' head (identity,
  // targets, files); its records are not written.
  win::Status Create(const std::string& path, const JournalContents& head);
  // Goes on appending to the journal of a resumed run.
  win::Status Reopen(const std::string& path, const std::vector<std::string>& files);
  bool is_open() const { return file_ != nullptr; }
  // Appends a record: `committed` entries done, whether the last of them
  // failed, the files' sizes now. The caller has flushed the files.
  win::Status Record(std::size_t committed, bool failed);
  // Closes and removes the journal: the run completed.
  win::Status Remove();
  // Closes it and keeps it, for /RESUME.
  void Close();

 private:
  std::string path_;
  std::vector<std::string> files_;
  std::unique_ptr<platform::WritableFile> file_;
  std::string line_;  // reused for every record
};

// Reads the journal at `path`. ERROR_FILE_NOT_FOUND when there is none,
// ERROR_INVALID_DATA when it is no journal of this format; an incomplete
// last line (the write a crash cut short) is ignored. Notes the sizes its
// files have now, before the resumed run opens them.
win::Status LoadJournal(const std::string& path, JournalContents& contents);

// Why a resume cannot read the journal at `path`: `load_status` as
// LoadJournal gave it.
std::string JournalLoadRefusal(const std::string& path, win::Status load_status);
// Why a fresh run keeps no journal at `path`.
std::string JournalCreateProblem(const std::string& path, win::Status status);

// Why the journal at `journal_path` belongs to a run of other inputs; empty
// when it is of `identity`.
std::string JournalIdentityRefusal(const std::string& journal_path, const JournalContents& journal,
                                   const JournalIdentity& identity);

// The record a resumed run goes on from: the last one whose sizes the files
// reached when the journal was read. Empty on success, else why the journal at `journal_path`
// cannot be resumed.
std::string ChooseResumePoint(const std::string& journal_path, const JournalContents& journal,
                              const JournalIdentity& identity,
                              const std::vector<JournalTarget>& targets,
                              const std::vector<std::string>& files, JournalRecord& point);

}  // namespace tabulon
