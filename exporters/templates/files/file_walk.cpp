#include "exporters/templates/files/file_walk.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/terminal_text.h"
#include "exporters/templates/files/file_fields.h"
#include "format/numbers.h"
#include "platform/text.h"

namespace tabulon {
namespace {

// Progress images: the kind codes of a file and of a directory.

constexpr std::string_view kListingFailed = "Unable to list folder '%s'. ";
constexpr std::string_view kUnusableName =
    "Skipped an item of folder '%s': its name '%s' cannot be part of a path. ";
constexpr std::string_view kLinkBack =
    "Not descending into folder '%s': it leads back to '%s', a folder above it. ";

bool IsDirectory(const platform::FindData& item) {
  return (item.attributes & platform::kFileAttributeDirectory) != 0;
}

bool IsDots(const platform::FindData& item) {
  return item.name == "." || item.name == "..";
}

// What a folder that cannot be read or does not exist gives: no rows, and
// nothing to report.
bool IsQuietFailure(win::Status status) {
  switch (status) {
    case win::ERROR_SUCCESS:
    case win::ERROR_FILE_NOT_FOUND:
    case win::ERROR_PATH_NOT_FOUND:
    case win::ERROR_BAD_NET_NAME:
    case win::ERROR_ACCESS_DENIED:
      return true;
    default:
      return false;
  }
}

std::string ComputerPath(const std::string& target_path) {
  return target_path.starts_with('\\') ? target_path : "\\\\" + target_path;
}

}  // namespace

FileWalk::FileWalk(ExportContext& context, const tagCObjects& target,
                   const FileTemplateSettings& settings, TypedOutput* rows)
    : context_(context),
      target_(target),
      settings_(settings),
      computer_(ComputerPath(target.path)),
      verbose_(context.output.settings().verbose_progress),
      file_security_(context.security != nullptr &&
                     context.security->Wants(SecurityObjectKind::kFile)),
      directory_security_(context.security != nullptr &&
                          context.security->Wants(SecurityObjectKind::kDirectory)) {
  if (rows != nullptr) row_.emplace(context.output, *rows, &target);
}

FileWalkOutcome FileWalk::Walk(const std::vector<ScanEntry>& entries) {
  FileWalkOutcome outcome;
  for (const ScanEntry& entry : entries) {
    const std::string prefix = computer_ + "\\" + entry.share_path + "\\";
    if (entry.option == ScanOption::kTopLevel && !settings_.dir_totals) {
      ListTopLevel(entry, prefix);
    } else {
      ScanDirectory(entry, prefix, entry.share_path, 2, {});
    }
    if (Stopped()) {
      outcome.stopped = true;
      break;
    }
  }
  outcome.incomplete_folders = incomplete_.size();
  return outcome;
}

// The handle is closed before the items are used, so a deep walk holds none
// open.
FileWalk::Listing FileWalk::List(const std::string& folder, const std::string& pattern) {
  platform::FileSystem& files = context_.session.files();
  Listing listing;
  platform::FindFirstResult first = files.FindFirstFile(pattern);
  for (const std::string& name : first.unusable_names) {
    Report(folder, FillMessage(kUnusableName, {EscapeControls(folder), EscapeControls(name)}));
  }
  listing.status = first.status;
  if (first.status == win::ERROR_SUCCESS) {
    listing.items.push_back(std::move(first.data));
    while (true) {
      platform::FindNextResult next = files.FindNextFile(first.handle);
      if (next.status != win::ERROR_SUCCESS) {
        listing.status = next.status == win::ERROR_NO_MORE_FILES ? win::ERROR_SUCCESS : next.status;
        break;
      }
      listing.items.push_back(std::move(next.data));
    }
    files.FindClose(first.handle);
  }
  // The items read before a failure stay; the failure is named.
  if (!IsQuietFailure(listing.status)) {
    Report(folder, FillMessage(kListingFailed, {EscapeControls(folder)}) +
                       WindowsErrorText(listing.status));
  }
  return listing;
}

void FileWalk::Report(const std::string& folder, const std::string& message) {
  if (!reported_.insert(message).second) return;
  incomplete_.insert(folder);
  RunOutput& out = context_.output;
  out.AddProgressRow(target_.display_name, message, verbose_ ? 2 : 1, ProgressKind::kFailure);
  out.LogLine(&target_, "FILES - " + settings_.name, true, message);
}

void FileWalk::ListTopLevel(const ScanEntry& entry, const std::string& prefix) {
  RunOutput& out = context_.output;
  const std::string folder = prefix.substr(0, prefix.size() - 1);
  for (const std::string& filter : settings_.filters) {
    const Listing listing = List(folder, prefix + filter);
    if (verbose_) out.AddProgressRow(entry.share_path, filter, 2, ProgressKind::kFile);
    for (const platform::FindData& item : listing.items) {
      if (IsDots(item) || (settings_.dirs_only && !IsDirectory(item))) continue;
      Emit(item, prefix, entry.share_path, nullptr);
    }
    if (Stopped()) return;
  }
}

std::uint64_t FileWalk::ScanDirectory(const ScanEntry& entry, const std::string& prefix,
                                      const std::string& root, int level, FolderId id) {
  const std::string folder = prefix.substr(0, prefix.size() - 1);
  const Listing listing = List(folder, prefix + "*.*");
  if (listing.items.empty()) return 0;
  if (verbose_) {
    context_.output.AddProgressRow(folder, "", static_cast<std::uint32_t>(level),
                                   ProgressKind::kFolder);
  }
  if (Stopped()) return 0;
  // The folder's "." tells who it is where the item that led here did not.
  for (const platform::FindData& item : listing.items) {
    if (!id.known() && item.name == ".") id = {item.volume_id, item.file_id};
  }
  path_.push_back({id, folder});
  const auto matches = [this](const std::string& name) {
    for (const std::string& filter : settings_.filters) {
      if (WildcardMatch(filter, name)) return true;
    }
    return false;
  };
  std::uint64_t total = 0;
  for (const platform::FindData& item : listing.items) {
    if (IsDots(item)) continue;
    if (!IsDirectory(item)) {
      if (!matches(item.name)) continue;
      total += item.size;
      if (!settings_.dirs_only) Emit(item, prefix, root, nullptr);
      continue;
    }
    const bool considered = (entry.option != ScanOption::kTopLevel || level < 3) &&
                            (entry.option != ScanOption::kLevels || level <= entry.levels);
    if (!considered) continue;
    const bool descend =
        entry.option != ScanOption::kTopLevel || (level == 2 && settings_.dir_totals);
    std::uint64_t directory_total = 0;
    const std::uint64_t* total_shown = &directory_total;
    if (descend) {
      const FolderId child{item.volume_id, item.file_id};
      const auto above = std::find_if(path_.begin(), path_.end(), [&child](const PathFolder& f) {
        return child.known() && f.id == child;
      });
      if (above != path_.end()) {
        // A link back up would make the walk endless.
        Report(prefix + item.name, FillMessage(kLinkBack, {EscapeControls(prefix + item.name),
                                                           EscapeControls(above->path)}));
        total_shown = nullptr;
      } else {
        directory_total = ScanDirectory(entry, prefix + item.name + "\\", root + "\\" + item.name,
                                        level + 1, child);
        if (Stopped()) break;
      }
    }
    if (settings_.dir_totals) {
      Emit(item, prefix, root, total_shown);
    } else if (matches(item.name)) {
      Emit(item, prefix, root, nullptr);
    }
  }
  path_.pop_back();
  return total;
}

void FileWalk::Emit(const platform::FindData& item, const std::string& prefix,
                    const std::string& root, const std::uint64_t* directory_total) {
  const std::string path = prefix + item.name;
  const bool directory = IsDirectory(item);
  if (row_) {
    Row& row = *row_;
    FillFindColumns(row, item, {context_.format, *context_.output.platform().locale});
    row[kFilePath] = path;
    row[kFileRootDirectory] = root;
    if (directory_total != nullptr) {
      row[kFileDirFilesBytes] =
          format::FormatSize(static_cast<std::int64_t>(*directory_total), format::kSizeBytes);
    }
    if (settings_.version_fixed && !directory && item.size >= format::kSmallestExecutable) {
      platform::FileSystem& files = context_.session.files();
      const format::ByteRangeReader read = [&files, &path](std::uint64_t offset, std::size_t size,
                                                           std::vector<std::uint8_t>& bytes) {
        platform::ReadRangeResult got = files.ReadFileRange(path, offset, size);
        bytes = std::move(got.bytes);
        return got.status == win::ERROR_SUCCESS;
      };
      const format::PeVersionResult version = format::ReadPeVersion(read);
      if (version.status == format::PeVersionStatus::kOk) {
        FillVersionColumns(context_.output, row, version.version, settings_.version_strings);
      }
    }
    row.Write();
  }
  if (directory ? directory_security_ : file_security_) {
    context_.security->HandOver(
        context_, target_,
        {directory ? SecurityObjectKind::kDirectory : SecurityObjectKind::kFile, item.name, path});
  }
}

}  // namespace tabulon
