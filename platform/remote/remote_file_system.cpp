#include "platform/remote/remote_file_system.h"

#include <vector>

namespace tabulon::platform::remote {
namespace {

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
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return parse;
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

}  // namespace tabulon::platform::remote
