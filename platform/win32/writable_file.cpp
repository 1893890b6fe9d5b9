#include "platform/writable_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

// <windows.h> defines the ERROR_* names as macros with the numbers that
// platform/status.h gives them, so the statuses below are written bare.
namespace tabulon::platform {
namespace {

class Win32WritableFile final : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE handle) : handle_(handle) {}
  ~Win32WritableFile() override { Close(); }
  Win32WritableFile(const Win32WritableFile&) = delete;
  Win32WritableFile& operator=(const Win32WritableFile&) = delete;

  win::Status Write(std::string_view bytes) override {
    if (handle_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    std::size_t done = 0;
    while (done < bytes.size()) {
      // WriteFile takes a DWORD count; large blocks go in slices.
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr)) {
        return ::GetLastError();
      }
      // A write that takes nothing without an error: no room left.
      if (written == 0) return ERROR_DISK_FULL;
      done += written;
    }
    return ERROR_SUCCESS;
  }

  win::Status Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
    win::Status status = ERROR_SUCCESS;
    // A file deleted while open (pending, or unlinked at once with POSIX
    // semantics) keeps nothing of what was written once it is closed.
    FILE_STANDARD_INFO info{};
    if (::GetFileType(handle_) == FILE_TYPE_DISK &&
        ::GetFileInformationByHandleEx(handle_, FileStandardInfo, &info, sizeof info) &&
        (info.DeletePending || info.NumberOfLinks == 0)) {
      status = ERROR_FILE_NOT_FOUND;
    }
    if (!::CloseHandle(handle_) && status == ERROR_SUCCESS) status = ::GetLastError();
    handle_ = INVALID_HANDLE_VALUE;
    return status;
  }

 private:
  HANDLE handle_;
};

}  // namespace

win::Status OpenWritableFile(const std::string& path, bool append,
                             std::unique_ptr<WritableFile>& file) {
  file.reset();
  // Append-only access makes every write land at the end, as O_APPEND does.
  // Others may read, write and delete the file meanwhile, as on POSIX. The
  // attributes tell Close whether the file was deleted.
  const DWORD access =
      (append ? FILE_APPEND_DATA | SYNCHRONIZE : GENERIC_WRITE) | FILE_READ_ATTRIBUTES;
  const HANDLE handle = ::CreateFileW(
      win32::ToWide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ::GetLastError();
  file = std::make_unique<Win32WritableFile>(handle);
  return ERROR_SUCCESS;
}

win::Status FileSize(const std::string& path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(win32::ToWide(path).c_str(), GetFileExInfoStandard, &data)) {
    return ::GetLastError();
  }
  size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return ERROR_SUCCESS;
}

win::Status TruncateFile(const std::string& path, std::uint64_t size) {
  const win32::Handle file(::CreateFileW(win32::ToWide(path).c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return ::GetLastError();
  // Like truncate(2), a size past the end extends the file with zeros.
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end)) {
    return ::GetLastError();
  }
  return ERROR_SUCCESS;
}

win::Status RemoveFile(const std::string& path) {
  if (::DeleteFileW(win32::ToWide(path).c_str())) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  // No file, or no folder for it: nothing to remove, as ENOENT on POSIX.
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
  return error;
}

}  // namespace tabulon::platform
