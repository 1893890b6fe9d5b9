#include "platform/posix/file_system.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace tabulon::platform {
namespace {

constexpr std::uint32_t kCaseSensitiveSearch = 0x00000001;
constexpr std::uint32_t kCasePreservedNames = 0x00000002;
constexpr std::uint32_t kUnicodeOnDisk = 0x00000004;
constexpr std::uint32_t kReadOnlyVolume = 0x00080000;

// A path this backend cannot reach: a share, or a Windows drive.
win::Status Unreachable(std::string_view path) {
  if (path.starts_with("\\\\") || path.starts_with("//")) return win::ERROR_BAD_NETPATH;
  if (path.size() >= 2 && path[1] == ':') return win::ERROR_PATH_NOT_FOUND;
  if (path.empty()) return win::ERROR_INVALID_NAME;
  return win::ERROR_SUCCESS;
}

win::Status StatusOf(int error) {
  // The argument names a directory: Windows says the path is missing.
  if (error == ENOENT) return win::ERROR_PATH_NOT_FOUND;
  return win::StatusFromErrno(error);
}

// Mount points escape blanks, tabs, newlines and backslashes as \ooo.
std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
    if (field[i] == '\\' && i + 3 < field.size()) {
      if (octal(i + 1) && octal(i + 2) && octal(i + 3)) {
        out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                 (field[i + 3] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool ContainsPath(std::string_view mount_point, std::string_view path) {
  if (mount_point == "/") return path.starts_with('/');
  return path.starts_with(mount_point) &&
         (path.size() == mount_point.size() || path[mount_point.size()] == '/');
}

}  // namespace

namespace posix_fs {

std::string FileSystemTypeOf(std::string_view mountinfo, std::string_view absolute_path) {
  std::string best_type;
  std::size_t best_length = 0;
  bool found = false;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options [optional...] - type source ...
    std::istringstream fields(line);
    std::vector<std::string> parts;
    std::string part;
    while (fields >> part) parts.push_back(part);
    if (parts.size() < 5) continue;
    std::size_t dash = 6;
    while (dash < parts.size() && parts[dash] != "-") ++dash;
    if (dash + 1 >= parts.size()) continue;
    const std::string mount_point = Unescape(parts[4]);
    if (!ContainsPath(mount_point, absolute_path)) continue;
    if (found && mount_point.size() < best_length) continue;
    found = true;
    best_length = mount_point.size();
    best_type = parts[dash + 1];
  }
  return best_type;
}

}  // namespace posix_fs

DiskFreeSpaceResult PosixFileSystem::GetDiskFreeSpaceEx(std::string_view directory) {
  DiskFreeSpaceResult result;
  result.status = Unreachable(directory);
  if (result.status != win::ERROR_SUCCESS) return result;
  struct statvfs fs {};
  if (::statvfs(std::string(directory).c_str(), &fs) != 0) {
    result.status = StatusOf(errno);
    return result;
  }
  const std::uint64_t unit = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
  result.total_bytes = static_cast<std::uint64_t>(fs.f_blocks) * unit;
  result.total_free_bytes = static_cast<std::uint64_t>(fs.f_bfree) * unit;
  result.free_bytes_available = static_cast<std::uint64_t>(fs.f_bavail) * unit;
  return result;
}

VolumeInformationResult PosixFileSystem::GetVolumeInformation(std::string_view root_path,
                                                              std::uint32_t /*volume_name_size*/,
                                                              std::uint32_t file_system_name_size) {
  VolumeInformationResult result;
  result.status = Unreachable(root_path);
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::string path(root_path);
  struct statvfs fs {};
  if (::statvfs(path.c_str(), &fs) != 0) {
    result.status = StatusOf(errno);
    return result;
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::canonical(path, ec);
  if (ec) {
    result.status = StatusOf(ec.value());
    return result;
  }
  std::ifstream table(mount_table_);
  std::stringstream text;
  text << table.rdbuf();
  const std::string type = posix_fs::FileSystemTypeOf(text.str(), absolute.string());
  // The label is empty and fits any buffer; the type must fit with its
  // terminator, as Windows insists.
  if (file_system_name_size != 0 && text::CountCodePoints(type) + 1 > file_system_name_size) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  if (file_system_name_size != 0) result.file_system_name = type;
  result.serial_number = static_cast<std::uint32_t>(fs.f_fsid);
  result.max_component_length = static_cast<std::uint32_t>(fs.f_namemax);
  result.file_system_flags = kCaseSensitiveSearch | kCasePreservedNames | kUnicodeOnDisk;
  if ((fs.f_flag & ST_RDONLY) != 0) result.file_system_flags |= kReadOnlyVolume;
  return result;
}

}  // namespace tabulon::platform
