#pragma once
// The record of a run's files: every file it produced, in the order each
// was first written, and the files it could not write completely.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/output_file.h"
#include "platform/status.h"

namespace tabulon {

// One file produced by a run.
struct tagCOutputfile {
  std::uint32_t type = 0;  // 99 for the log file
  std::string display_name;
  std::string path;
};

inline constexpr std::string_view kLogFileDisplayName = "Export Log File";
// The labels of the two kinds of file in messages.
inline constexpr std::string_view kOutputFileLabel = "Output File";
inline constexpr std::string_view kLogLabel = "Log File";

// A file the run could not write completely: its first failed write or
// close.
struct FileWriteFailure {
  std::string label;  // "Output File", "Log File"
  std::string path;
  win::Status status = win::ERROR_SUCCESS;
};

// The message of a file's first failed write or close.
std::string WriteFailureText(std::string_view label, const OutputFile& file);

class FileRecord {
 public:
  // A path recorded before (in any case) is not recorded again.
  void Record(std::uint32_t type, std::string_view display_name, std::string_view path);
  const std::vector<tagCOutputfile>& files() const { return files_; }

  // Keeps the first failure of `file`, once per path; true when it is new
  // and the caller reports it.
  bool NoteFailure(const OutputFile& file, std::string_view label);
  const std::vector<FileWriteFailure>& failures() const { return failures_; }

 private:
  std::vector<tagCOutputfile> files_;
  std::vector<FileWriteFailure> failures_;
};

}  // namespace tabulon
