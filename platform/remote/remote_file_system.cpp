#include "platform/remote/remote_file_system.h"

#include <vector>

namespace tabulon::platform::remote {
namespace {

constexpr FindHandle kServerHandle = FindHandle{1} << 63;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The non-empty parts between separators: Windows ignores doubled ones.
std::vector<std::string_view> PartsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (at < path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end > at) parts.push_back(path.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

}  // namespace

UncParse ParseUncPath(std::string_view path) {
  UncParse parse;
  if (!IsUncPath(path)) return parse;
  parse.unc = true;
  const std::vector<std::string_view> parts = PartsOf(path);
  if (parts.size() < 2) {
    parse.status = win::ERROR_BAD_NETPATH;
    return parse;
  }
  parse.path.server = parts[0];
  parse.path.share = parts[1];
  for (std::size_t i = 2; i < parts.size(); ++i) {
    if (i > 2) parse.path.directory += '/';
    parse.path.directory += parts[i];
  }
  return parse;
}

DiskFreeSpaceResult RemoteFileSystem::GetDiskFreeSpaceEx(std::string_view directory) {
  const UncParse parse = ParseUncPath(directory);
  if (!parse.unc) {
    if (local_files_ != nullptr) return local_files_->GetDiskFreeSpaceEx(directory);
    return {win::ERROR_NOT_SUPPORTED};
  }
  if (parse.status != win::ERROR_SUCCESS) return {parse.status};
  if (calls_ == nullptr) return {win::ERROR_NOT_SUPPORTED};
  return calls_->DiskSpace(parse.path.server, parse.path.share, parse.path.directory);
}

VolumeInformationResult RemoteFileSystem::GetVolumeInformation(
    std::string_view root_path, std::uint32_t volume_name_size,
    std::uint32_t file_system_name_size) {
  const UncParse parse = ParseUncPath(root_path);
  if (!parse.unc && local_files_ != nullptr) {
    return local_files_->GetVolumeInformation(root_path, volume_name_size, file_system_name_size);
  }
  VolumeInformationResult result;
  result.status = parse.status != win::ERROR_SUCCESS ? parse.status : win::ERROR_NOT_SUPPORTED;
  return result;
}

FindFirstResult RemoteFileSystem::FindFirstFile(std::string_view pattern) {
  const FindPattern split = SplitFindPattern(pattern);
  const UncParse parse = ParseUncPath(split.directory);
  if (local_files_ != nullptr) {
    // The local file system answers ERROR_BAD_NETPATH for a share no local
    // folder stands for.
    FindFirstResult local = local_files_->FindFirstFile(pattern);
    if (!parse.unc || local.status != win::ERROR_BAD_NETPATH || calls_ == nullptr) return local;
  } else if (!parse.unc || calls_ == nullptr) {
    return {win::ERROR_NOT_SUPPORTED, 0, {}, {}};
  }
  if (parse.status != win::ERROR_SUCCESS) return {parse.status, 0, {}, {}};
  RemoteListing listing =
      calls_->ListDirectory(parse.path.server, parse.path.share, parse.path.directory);
  // The server's own order and dots are replaced by the order every backend
  // lists in; what was read before a failure is kept.
  FindData self;
  bool dots = false;
  std::vector<FindData> items;
  for (FindData& item : listing.items) {
    if (item.name == "." || item.name == "..") {
      if (item.name == ".") self = item;
      dots = true;
    } else if (MatchesFindPattern(split.pattern, item.name)) {
      items.push_back(std::move(item));
    }
  }
  std::vector<std::string> unusable = TakeUnusableNames(items);
  OrderListing(items, split.pattern, dots, self);
  FindFirstResult first = server_listings_.Start(std::move(items), listing.status);
  if (first.handle != 0) first.handle |= kServerHandle;
  first.unusable_names = std::move(unusable);
  return first;
}

FindNextResult RemoteFileSystem::FindNextFile(FindHandle handle) {
  if ((handle & kServerHandle) != 0) return server_listings_.Next(handle & ~kServerHandle);
  if (local_files_ == nullptr) return {win::ERROR_INVALID_HANDLE, {}};
  return local_files_->FindNextFile(handle);
}

void RemoteFileSystem::FindClose(FindHandle handle) {
  if ((handle & kServerHandle) != 0) {
    server_listings_.Close(handle & ~kServerHandle);
  } else if (local_files_ != nullptr) {
    local_files_->FindClose(handle);
  }
}

ReadRangeResult RemoteFileSystem::ReadFileRange(std::string_view path, std::uint64_t offset,
                                                std::size_t size) {
  const UncParse parse = ParseUncPath(path);
  if (local_files_ != nullptr) {
    ReadRangeResult local = local_files_->ReadFileRange(path, offset, size);
    if (!parse.unc || local.status != win::ERROR_BAD_NETPATH || calls_ == nullptr) return local;
  } else if (!parse.unc || calls_ == nullptr) {
    return {win::ERROR_NOT_SUPPORTED, {}};
  }
  if (parse.status != win::ERROR_SUCCESS) return {parse.status, {}};
  return calls_->ReadRange(parse.path.server, parse.path.share, parse.path.directory, offset, size);
}

}  // namespace tabulon::platform::remote
