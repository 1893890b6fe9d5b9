#pragma once
// The walk of one file/directory template over one computer: every scan-list
// entry listed or scanned, rows written, files and directories handed to the
// security export.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_context.h"
#include "templates/files/scan_list.h"

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

class FileWalk {
 public:
  // `rows` is null when the template writes no rows (security only).
  FileWalk(ExportContext& context, const tagCObjects& target, const FileTemplateSettings& settings,
           TypedOutput* rows);

  // Walks the entries in order; false when the run's stop request ended it.
  bool Walk(const std::vector<ScanEntry>& entries);

 private:
  void ListTopLevel(const ScanEntry& entry, const std::string& prefix);
  std::uint64_t ScanDirectory(const ScanEntry& entry, const std::string& prefix,
                              const std::string& root, int level);
  // The row (when rows are written) and the hand-over of one item.
  void Emit(const platform::FindData& item, const std::string& prefix, const std::string& root,
            const std::uint64_t* directory_total);
  bool Stopped() const;

  ExportContext& context_;
  const tagCObjects& target_;
  const FileTemplateSettings& settings_;
  TypedOutput* rows_;
  std::string computer_;  // "\\NAME"
  bool verbose_;
  bool file_security_;
  bool directory_security_;
};

}  // namespace tabulon
