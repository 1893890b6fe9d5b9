#pragma once
// A file/directory template as its editor holds it: the shared directory
// path entries with their scan options, the share kinds "%SHARE_NAME%"
// stands for, and the file name filters.
#include <string>
#include <string_view>
#include <vector>

#include "exporters/templates/files/scan_list.h"
#include "platform/profile.h"
#include "ui/template_store.h"

namespace tabulon::ui {

// The depths the editor accepts for a scan of a number of levels: the
// shared directory is the first, and two digits are written for each.
inline constexpr int kMinScanLevels = 2;
inline constexpr int kMaxScanLevels = 99;

struct SharePathEntry {
  std::string paths;  // sub-paths separated by "|", or "%SHARE_NAME%"
  ScanOption option = ScanOption::kTopLevel;
  int levels = 0;  // kLevels only

  bool AllShares() const { return paths == kAllSharesPath; }
  bool operator==(const SharePathEntry&) const = default;
};

struct ShareKinds {
  bool normal = false;
  bool hidden = false;
  bool admin = false;

  bool Any() const { return normal || hidden || admin; }
};

struct FileTemplate {
  bool enabled = true;  // a new template starts enabled
  std::string output_file;
  std::string columns;  // a column list of the File/Directory type
  bool dirs_only = false;
  ShareKinds shares;
  std::vector<SharePathEntry> paths;
  std::vector<std::string> filters;
};

// The keys as a run reads them: entry k of Paths (split at ":") has
// character k of PathOptions as its option ("0" when missing or unknown)
// and, for "2", characters 2k and 2k+1 of PathLevels as its depth.
FileTemplate ReadFileTemplate(platform::Profile& profile, const std::string& path,
                              std::string_view name);
// Every key of the kind: Paths joined by ":", one option character and two
// level digits per entry ("00" and "11" for options 0 and 1), Files joined
// by "|".
std::vector<TemplateValue> FileTemplateValues(const FileTemplate& t);

}  // namespace tabulon::ui
