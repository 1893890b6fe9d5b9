#include "estate/file_system.h"

#include <algorithm>
#include <fstream>

#include "platform/sizes.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "X:" at the start of a share's path or a local path.
bool DriveOf(std::string_view path, char& letter) {
  if (path.size() < 2 || path[1] != ':' || !IsLetter(path[0])) return false;
  letter = path[0];
  return true;
}

// Only a share of disk type (special or not) has a volume behind it.
bool IsDiskShare(std::uint32_t type) {
  return (type & ~(platform::kStypeSpecial | platform::kStypeTemporary)) ==
         platform::kStypeDisktree;
}

}  // namespace

template <typename DetailFn>
EstateFileSystem::Volume EstateFileSystem::Locate(Operation op, std::string_view path,
                                                  DetailFn&& detail) {
  const Estate& estate = sim_.estate();
  Volume volume;
  const Computer* computer = nullptr;
  std::string_view below;  // what follows the share or drive
  char letter = 0;
  if (path.starts_with("\\\\")) {
    std::string_view rest = path.substr(2);
    const auto host_end = rest.find('\\');
    computer = host_end == 0 ? nullptr : estate.FindComputer(rest.substr(0, host_end));
    Destination to = sim_.ToComputer(computer);
    to.reachable &= host_end != std::string_view::npos;
    volume.status = sim_.Reach(session_, op, path, detail, to, win::ERROR_BAD_NETPATH);
    if (volume.status != win::ERROR_SUCCESS) return volume;
    rest.remove_prefix(host_end + 1);
    const auto share_end = rest.find('\\');
    if (share_end == std::string_view::npos) {
      volume.status = win::ERROR_INVALID_NAME;  // a share needs its trailing backslash
      return volume;
    }
    const Share* share = computer->resources == nullptr
                             ? nullptr
                             : computer->resources->FindShare(rest.substr(0, share_end));
    if (share == nullptr || !IsDiskShare(share->info.type)) {
      volume.status = win::ERROR_BAD_NET_NAME;
      return volume;
    }
    if (!DriveOf(share->info.path, letter)) {
      volume.status = win::ERROR_PATH_NOT_FOUND;
      return volume;
    }
    volume.trailing_backslash = true;
    below = rest.substr(share_end + 1);
  } else if (DriveOf(path, letter)) {
    // A drive of the computer the program runs on: no round trip.
    computer = estate.LocalComputer();
    Destination to = sim_.ToComputer(computer);
    to.latency_ms = 0;
    volume.status = sim_.Reach(session_, op, path, detail, to, win::ERROR_PATH_NOT_FOUND);
    if (volume.status != win::ERROR_SUCCESS) return volume;
    below = path.substr(2);
    volume.trailing_backslash = below.starts_with('\\');
    if (volume.trailing_backslash) below.remove_prefix(1);
  } else {
    volume.status = sim_.Reach(session_, op, path, detail, Destination{}, win::ERROR_INVALID_NAME);
    return volume;
  }
  volume.disk = computer->resources == nullptr ? nullptr : computer->resources->FindDisk(letter);
  if (volume.disk == nullptr) {
    volume.status = win::ERROR_PATH_NOT_FOUND;
  } else if (!volume.disk->ready) {
    volume.status = win::ERROR_NOT_READY;
  }
  volume.root = below.empty();
  return volume;
}

platform::DiskFreeSpaceResult EstateFileSystem::GetDiskFreeSpaceEx(std::string_view directory) {
  platform::DiskFreeSpaceResult result;
  const Volume volume =
      Locate(Operation::kGetDiskFreeSpaceEx, directory, [] { return std::string(); });
  result.status = volume.status;
  if (result.status != win::ERROR_SUCCESS) return result;
  result.free_bytes_available = volume.disk->caller_free_bytes;
  result.total_bytes = volume.disk->total_bytes;
  result.total_free_bytes = volume.disk->free_bytes;
  return result;
}

platform::VolumeInformationResult EstateFileSystem::GetVolumeInformation(
    std::string_view root_path, std::uint32_t volume_name_size,
    std::uint32_t file_system_name_size) {
  platform::VolumeInformationResult result;
  const Volume volume = Locate(Operation::kGetVolumeInformation, root_path, [&] {
    return "volume_name_size=" + std::to_string(volume_name_size) +
           " file_system_name_size=" + std::to_string(file_system_name_size);
  });
  result.status = volume.status;
  if (result.status != win::ERROR_SUCCESS) return result;
  if (!volume.trailing_backslash) {
    result.status = win::ERROR_INVALID_NAME;
    return result;
  }
  if (!volume.root) {
    result.status = win::ERROR_DIR_NOT_ROOT;
    return result;
  }
  const Disk& disk = *volume.disk;
  // A size of 0 stands for no buffer: that text is not asked for.
  const auto fits = [](std::string_view text, std::uint32_t size) {
    return size == 0 || platform::Utf16Units(text) + 1 <= size;
  };
  if (!fits(disk.label, volume_name_size) || !fits(disk.file_system, file_system_name_size)) {
    result.status = win::ERROR_MORE_DATA;
    return result;
  }
  if (volume_name_size != 0) result.volume_name = disk.label;
  if (file_system_name_size != 0) result.file_system_name = disk.file_system;
  result.serial_number = disk.serial;
  result.max_component_length = disk.max_component_length;
  result.file_system_flags = disk.file_system_flags;
  return result;
}

}  // namespace tabulon::estate

namespace tabulon::estate {
namespace {

// Reads of a file without real bytes give zeros; no more than this at once.
constexpr std::size_t kMaxRead = 1 << 20;

}  // namespace

EstateFileSystem::Resolved EstateFileSystem::Resolve(Operation op, std::string_view path) {
  const Estate& estate = sim_.estate();
  Resolved r;
  const auto no_detail = [] { return std::string(); };
  if (path.starts_with("\\\\")) {
    std::string_view rest = path.substr(2);
    const auto host_end = rest.find('\\');
    r.computer = host_end == 0 ? nullptr : estate.FindComputer(rest.substr(0, host_end));
    Destination to = sim_.ToComputer(r.computer);
    to.reachable &= host_end != std::string_view::npos;
    r.status = sim_.Reach(session_, op, path, no_detail, to, win::ERROR_BAD_NETPATH);
    if (r.status != win::ERROR_SUCCESS) return r;
    rest.remove_prefix(host_end + 1);
    const auto share_end = std::min(rest.find('\\'), rest.size());
    const Share* share = r.computer->resources == nullptr
                             ? nullptr
                             : r.computer->resources->FindShare(rest.substr(0, share_end));
    if (share == nullptr || !IsDiskShare(share->info.type)) {
      r.status = win::ERROR_BAD_NET_NAME;
      return r;
    }
    r.windows_path = share->info.path;
    if (share_end < rest.size()) r.windows_path += "\\" + std::string(rest.substr(share_end + 1));
  } else {
    char letter = 0;
    r.computer = DriveOf(path, letter) ? estate.LocalComputer() : nullptr;
    Destination to = sim_.ToComputer(r.computer);
    to.latency_ms = 0;
    r.status =
        sim_.Reach(session_, op, path, no_detail, to,
                   r.computer == nullptr ? win::ERROR_INVALID_NAME : win::ERROR_PATH_NOT_FOUND);
    r.windows_path = path;
  }
  return r;
}

platform::FindFirstResult EstateFileSystem::FindFirstFile(std::string_view pattern) {
  const platform::FindPattern split = platform::SplitFindPattern(pattern);
  const Resolved r = Resolve(Operation::kFindFirstFile, split.directory);
  if (r.status != win::ERROR_SUCCESS) return {r.status, 0, {}, {}};
  const FileNode* directory =
      r.computer->files == nullptr ? nullptr : FindFileNode(*r.computer->files, r.windows_path);
  if (directory == nullptr || !directory->is_directory() || directory == r.computer->files.get()) {
    return {win::ERROR_PATH_NOT_FOUND, 0, {}, {}};
  }
  std::vector<platform::FindData> items;
  for (const FileNode& child : directory->children) {
    if (platform::MatchesFindPattern(split.pattern, child.data.name)) items.push_back(child.data);
  }
  // A drive's root lists no "." and "..".
  const bool root = r.computer->files->Child(directory->data.name) == directory;
  platform::OrderListing(items, split.pattern, !root, directory->data);
  return listings_.Start(std::move(items));
}

platform::FindNextResult EstateFileSystem::FindNextFile(platform::FindHandle handle) {
  return listings_.Next(handle);
}

void EstateFileSystem::FindClose(platform::FindHandle handle) {
  listings_.Close(handle);
}

platform::ReadRangeResult EstateFileSystem::ReadFileRange(std::string_view path,
                                                          std::uint64_t offset, std::size_t size) {
  const Resolved r = Resolve(Operation::kReadFile, path);
  if (r.status != win::ERROR_SUCCESS) return {r.status, {}};
  const FileNode* file =
      r.computer->files == nullptr ? nullptr : FindFileNode(*r.computer->files, r.windows_path);
  if (file == nullptr) return {win::ERROR_FILE_NOT_FOUND, {}};
  if (file->is_directory()) return {win::ERROR_ACCESS_DENIED, {}};
  platform::ReadRangeResult result;
  if (offset >= file->data.size) return result;
  const std::size_t n =
      static_cast<std::size_t>(std::min<std::uint64_t>({size, file->data.size - offset, kMaxRead}));
  if (file->bytes_path.empty()) {
    result.bytes.assign(n, 0);
    return result;
  }
  std::ifstream in(platform::Utf8Path(file->bytes_path), std::ios::binary);
  if (!in) return {win::ERROR_ACCESS_DENIED, {}};
  in.seekg(static_cast<std::streamoff>(offset));
  result.bytes.resize(n);
  in.read(reinterpret_cast<char*>(result.bytes.data()), static_cast<std::streamsize>(n));
  result.bytes.resize(static_cast<std::size_t>(in.gcount()));
  return result;
}

}  // namespace tabulon::estate
