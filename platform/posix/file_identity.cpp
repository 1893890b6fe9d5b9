#include "platform/file_identity.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tabulon::platform {

FileIdentity IdentifyFile(const std::string& path) {
  FileIdentity id;
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(
      std::filesystem::absolute(std::filesystem::path(path), ec), ec);
  id.canonical = ec ? path : canonical.string();
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    id.exists = true;
    id.special = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
  }
  return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
  return a.canonical == b.canonical;
}

win::Status CheckRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return win::ERROR_SUCCESS;
  return S_ISREG(st.st_mode) ? win::ERROR_SUCCESS : win::ERROR_ACCESS_DENIED;
}

FileStamp StampFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return {true, static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          static_cast<std::int64_t>(st.st_size)};
}

}  // namespace tabulon::platform
