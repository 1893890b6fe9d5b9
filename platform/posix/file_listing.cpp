// The file calls of the local backend: directory listings and byte ranges.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/file_system.h"
#include "platform/text.h"
#include "platform/time.h"

namespace tabulon::platform {
namespace {

std::uint64_t FileTimeOf(const struct statx_timestamp& t) {
  return FileTimeOfUnixTime(t.tv_sec, t.tv_nsec);
}

win::Status StatusOf(int error, win::Status missing) {
  if (error == ENOENT || error == ENOTDIR) return missing;
  return win::StatusFromErrno(error);
}

// Find data of `name` in the open directory `dir`; 0, or the errno of why
// it could not be read (ENOENT: it vanished meanwhile).
int Describe(int dir, const std::string& name, FindData& out) {
  struct statx st {};
  if (::statx(dir, name.c_str(), AT_SYMLINK_NOFOLLOW,
              STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_ATIME | STATX_MTIME |
                  STATX_BTIME,
              &st) != 0) {
    return errno;
  }
  out.name = text::IsValidUtf8(name) ? name : text::Latin1ToUtf8(name);
  const bool directory = S_ISDIR(st.stx_mode);
  std::uint32_t a = 0;
  if (directory) a |= kFileAttributeDirectory;
  if (!directory && !S_ISREG(st.stx_mode)) a |= kFileAttributeSystem;
  if (name.starts_with('.') && name != "." && name != "..") a |= kFileAttributeHidden;
  if (!directory && (st.stx_mode & S_IWUSR) == 0) a |= kFileAttributeReadOnly;
  out.attributes = a == 0 ? kFileAttributeNormal : a;
  out.size = directory ? 0 : st.stx_size;
  out.last_write_time = FileTimeOf(st.stx_mtime);
  out.last_access_time = FileTimeOf(st.stx_atime);
  out.creation_time =
      (st.stx_mask & STATX_BTIME) != 0 ? FileTimeOf(st.stx_btime) : out.last_write_time;
  out.volume_id = makedev(st.stx_dev_major, st.stx_dev_minor);
  out.file_id = st.stx_ino;
  return 0;
}

}  // namespace

std::optional<std::string> PosixFileSystem::LocalPathOf(std::string_view path,
                                                        win::Status& why) const {
  std::string local;
  if (IsUncPath(path)) {
    for (const LocalShare& share : local_shares_) {
      const std::string_view unc = share.unc;
      if (!text::StartsWithNoCase(path, unc)) continue;
      const std::string_view rest = path.substr(unc.size());
      if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') continue;
      local = share.folder + std::string(rest);
      break;
    }
    if (local.empty()) {
      why = win::ERROR_BAD_NETPATH;
      return std::nullopt;
    }
  } else if (path.starts_with('/')) {
    local = path;
  } else {
    why = path.empty() ? win::ERROR_INVALID_NAME : win::ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  return local;
}

FindFirstResult PosixFileSystem::FindFirstFile(std::string_view pattern) {
  const FindPattern split = SplitFindPattern(pattern);
  win::Status why = win::ERROR_SUCCESS;
  const std::optional<std::string> directory = LocalPathOf(split.directory, why);
  if (!directory) return {why, 0, {}, {}};
  const std::string folder = directory->empty() ? "/" : *directory;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {StatusOf(errno, win::ERROR_PATH_NOT_FOUND), 0, {}, {}};
  std::vector<FindData> items;
  const int fd = ::dirfd(dir);
  FindData self;
  Describe(fd, ".", self);
  // The first error that kept an item or the rest of the listing out; the
  // items read are kept.
  int error = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0 && error == 0) error = errno;
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || !MatchesFindPattern(split.pattern, name)) continue;
    FindData data;
    const int failed = Describe(fd, name, data);
    if (failed == 0) {
      items.push_back(std::move(data));
    } else if (failed != ENOENT && error == 0) {
      error = failed;
    }
  }
  ::closedir(dir);
  std::vector<std::string> unusable = TakeUnusableNames(items);
  OrderListing(items, split.pattern, true, self);
  FindFirstResult first =
      listings_.Start(std::move(items),
                      error == 0 ? win::ERROR_SUCCESS : StatusOf(error, win::ERROR_FILE_NOT_FOUND));
  first.unusable_names = std::move(unusable);
  return first;
}

FindNextResult PosixFileSystem::FindNextFile(FindHandle handle) {
  return listings_.Next(handle);
}

void PosixFileSystem::FindClose(FindHandle handle) {
  listings_.Close(handle);
}

ReadRangeResult PosixFileSystem::ReadFileRange(std::string_view path, std::uint64_t offset,
                                               std::size_t size) {
  win::Status why = win::ERROR_SUCCESS;
  const std::optional<std::string> local = LocalPathOf(path, why);
  if (!local) return {why, {}};
  const int fd = ::open(local->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {StatusOf(errno, win::ERROR_FILE_NOT_FOUND), {}};
  ReadRangeResult result;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return {win::ERROR_ACCESS_DENIED, {}};
  }
  result.bytes.resize(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n =
        ::pread(fd, result.bytes.data() + got, size - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.status = win::StatusFromErrno(errno);
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  result.bytes.resize(got);
  return result;
}

}  // namespace tabulon::platform
