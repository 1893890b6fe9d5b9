#pragma once
// What every file-system backend shares for FindFirstFileW/FindNextFileW:
// pattern matching, splitting "directory\pattern", and the open listings
// behind find handles.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace tabulon::platform {

// Whether a path names a share ("\\server\..."): two separators, either kind.
bool IsUncPath(std::string_view path);

// "C:\Data\*.doc" → "C:\Data" and "*.doc"; either separator.
struct FindPattern {
  std::string_view directory;
  std::string_view pattern;
};
FindPattern SplitFindPattern(std::string_view path);

// Whether a name read from a directory can be the last part of a Windows
// path: not empty, and without "\" or "/" (which would make the path name
// another file) or NUL.
bool IsUsableName(std::string_view name);

// Takes the items whose names are not usable out of `items`; their names.
std::vector<std::string> TakeUnusableNames(std::vector<FindData>& items);

// The listings a backend has handed out handles for. A listing is read
// whole when the search starts, as a directory's items are few next to a
// remote call. Safe for concurrent use: one file system may serve the
// sessions of several targets at once, each with its own handles.
class FindListings {
 public:
  // The first item and a handle for the rest. `end` is how the listing
  // ended: ERROR_SUCCESS when complete, else the failure that broke it off,
  // which FindNextFile gives after the items. No items: that failure, or
  // ERROR_FILE_NOT_FOUND, and no handle.
  FindFirstResult Start(std::vector<FindData> items, win::Status end = win::ERROR_SUCCESS);
  FindNextResult Next(FindHandle handle);
  void Close(FindHandle handle);

 private:
  struct Listing {
    std::vector<FindData> items;
    std::size_t next = 1;
    win::Status end = win::ERROR_SUCCESS;
  };
  std::mutex mutex_;
  std::unordered_map<FindHandle, Listing> open_;
  FindHandle last_ = 0;
};

// Sorts items by name as NTFS lists them (without regard to case) and puts
// "." and ".." first when `dots` and the pattern matches them: "." is
// `directory`, ".." has its data but no file id (it is another folder).
void OrderListing(std::vector<FindData>& items, std::string_view pattern, bool dots,
                  const FindData& directory);

}  // namespace tabulon::platform
