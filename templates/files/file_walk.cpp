#include "templates/files/file_walk.h"

#include "format/numbers.h"
#include "platform/text.h"
#include "templates/files/file_fields.h"

namespace tabulon {
namespace {

// Progress images: the kind codes of a file and of a directory.
constexpr std::uint32_t kFileKind = 16;
constexpr std::uint32_t kDirectoryKind = 15;

bool IsDirectory(const platform::FindData& item) {
  return (item.attributes & platform::kFileAttributeDirectory) != 0;
}

bool IsDots(const platform::FindData& item) {
  return item.name == "." || item.name == "..";
}

// Every item a pattern finds; the handle is closed before the items are
// used, so a deep walk holds none open.
std::vector<platform::FindData> List(platform::FileSystem& files, const std::string& pattern) {
  std::vector<platform::FindData> items;
  platform::FindFirstResult first = files.FindFirstFile(pattern);
  if (first.status != win::ERROR_SUCCESS) return items;
  items.push_back(std::move(first.data));
  while (true) {
    platform::FindNextResult next = files.FindNextFile(first.handle);
    if (next.status != win::ERROR_SUCCESS) break;
    items.push_back(std::move(next.data));
  }
  files.FindClose(first.handle);
  return items;
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
      rows_(rows),
      computer_(ComputerPath(target.path)),
      verbose_(context.output.settings().verbose_progress),
      file_security_(context.security != nullptr &&
                     context.security->Wants(SecurityObjectKind::kFile)),
      directory_security_(context.security != nullptr &&
                          context.security->Wants(SecurityObjectKind::kDirectory)) {}

bool FileWalk::Stopped() const {
  return context_.session_options.cancel.cancelled();
}

bool FileWalk::Walk(const std::vector<ScanEntry>& entries) {
  for (const ScanEntry& entry : entries) {
    const std::string prefix = computer_ + "\\" + entry.share_path + "\\";
    if (entry.option == ScanOption::kTopLevel && !settings_.dir_totals) {
      ListTopLevel(entry, prefix);
    } else {
      ScanDirectory(entry, prefix, entry.share_path, 2);
    }
    if (Stopped()) return false;
  }
  return true;
}

void FileWalk::ListTopLevel(const ScanEntry& entry, const std::string& prefix) {
  RunOutput& out = context_.output;
  for (const std::string& filter : settings_.filters) {
    const std::vector<platform::FindData> items = List(context_.session.files(), prefix + filter);
    if (verbose_) out.AddProgressRow(entry.share_path, filter, 2, kFileKind);
    for (const platform::FindData& item : items) {
      if (IsDots(item) || (settings_.dirs_only && !IsDirectory(item))) continue;
      Emit(item, prefix, entry.share_path, nullptr);
    }
  }
}

std::uint64_t FileWalk::ScanDirectory(const ScanEntry& entry, const std::string& prefix,
                                      const std::string& root, int level) {
  const std::vector<platform::FindData> items = List(context_.session.files(), prefix + "*.*");
  if (items.empty()) return 0;
  if (verbose_) {
    context_.output.AddProgressRow(prefix.substr(0, prefix.size() - 1), "",
                                   static_cast<std::uint32_t>(level), kDirectoryKind);
  }
  if (Stopped()) return 0;
  const auto matches = [this](const std::string& name) {
    for (const std::string& filter : settings_.filters) {
      if (WildcardMatch(filter, name)) return true;
    }
    return false;
  };
  std::uint64_t total = 0;
  for (const platform::FindData& item : items) {
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
    std::uint64_t directory_total = 0;
    if (entry.option != ScanOption::kTopLevel || (level == 2 && settings_.dir_totals)) {
      directory_total =
          ScanDirectory(entry, prefix + item.name + "\\", root + "\\" + item.name, level + 1);
    }
    if (settings_.dir_totals) {
      Emit(item, prefix, root, &directory_total);
    } else if (matches(item.name)) {
      Emit(item, prefix, root, nullptr);
    }
  }
  return total;
}

void FileWalk::Emit(const platform::FindData& item, const std::string& prefix,
                    const std::string& root, const std::uint64_t* directory_total) {
  const std::string path = prefix + item.name;
  const bool directory = IsDirectory(item);
  if (rows_ != nullptr) {
    RunOutput& out = context_.output;
    FillFindColumns(out, item, {context_.format, *out.platform().locale});
    out.value(kFilePath) = path;
    out.value(kFileRootDirectory) = root;
    if (directory_total != nullptr) {
      out.value(kFileDirFilesBytes) =
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
        FillVersionColumns(out, version.version, settings_.version_strings);
      }
    }
    out.WriteTypedRow(&target_, *rows_, true);
  }
  if (directory ? directory_security_ : file_security_) {
    context_.security->HandOver(
        context_, target_,
        {directory ? SecurityObjectKind::kDirectory : SecurityObjectKind::kFile, item.name, path});
  }
}

}  // namespace tabulon
