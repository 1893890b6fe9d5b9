#pragma once
// The walk of one file/directory template over one computer: every scan-list
// entry listed or scanned, rows written, files and directories handed to the
// security export. A folder that cannot be listed completely (for any reason
// but a denied access or a missing path), an item whose name cannot be part
// of a path and a link back to a folder above are each reported once: a
// failure row and a log line naming the folder.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/row.h"
#include "engine/run_context.h"
#include "exporters/templates/files/scan_list.h"

namespace tabulon {

// A template's keys as the walk needs them.
struct FileTemplateSettings {
  std::string name;
  std::vector<std::string> filters;  // lower case; "*.*" when none given
  bool dirs_only = false;
  bool dir_totals = false;       // column 19 selected
  bool version_fixed = false;    // a column from 20 on selected
  bool version_strings = false;  // a column from 24 on selected
};

// How a walk ended.
struct FileWalkOutcome {
  bool stopped = false;                // the run's stop request ended it
  std::size_t incomplete_folders = 0;  // folders reported as not listed completely
};

class FileWalk {
 public:
  // `rows` is null when the template writes no rows (security only).
  FileWalk(ExportContext& context, const tagCObjects& target, const FileTemplateSettings& settings,
           TypedOutput* rows);

  // Walks the entries in order.
  FileWalkOutcome Walk(const std::vector<ScanEntry>& entries);

 private:
  // A folder's identity where the file system gives one.
  struct FolderId {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool known() const { return file != 0; }
    bool operator==(const FolderId&) const = default;
  };
  struct Listing {
    win::Status status = win::ERROR_SUCCESS;
    std::vector<platform::FindData> items;
  };

  // The items `pattern` finds in `folder`; what kept any out is reported.
  Listing List(const std::string& folder, const std::string& pattern);
  void ListTopLevel(const ScanEntry& entry, const std::string& prefix);
  std::uint64_t ScanDirectory(const ScanEntry& entry, const std::string& prefix,
                              const std::string& root, int level, FolderId id);
  // The row (when rows are written) and the hand-over of one item.
  void Emit(const platform::FindData& item, const std::string& prefix, const std::string& root,
            const std::uint64_t* directory_total);
  // A failure row and a log line about `folder`, once per message.
  void Report(const std::string& folder, const std::string& message);
  bool Stopped() const { return context_.StopRequested(); }

  ExportContext& context_;
  const tagCObjects& target_;
  const FileTemplateSettings& settings_;
  std::optional<Row> row_;  // none without rows
  std::string computer_;    // "\\NAME"
  bool verbose_;
  bool file_security_;
  bool directory_security_;
  // The folders from the scan entry's root down to the one being scanned.
  struct PathFolder {
    FolderId id;
    std::string path;
  };
  std::vector<PathFolder> path_;
  std::set<std::string> reported_;
  std::set<std::string> incomplete_;
};

}  // namespace tabulon
