#pragma once
// The computer accounts a directory holds below an object, and the names of
// one computer object, read through the directory search family.
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory_search.h"

namespace tabulon {

inline constexpr std::string_view kComputerFilter = "(&(objectCategory=computer))";

struct DirectoryComputer {
  std::string name;
  std::string dns_host_name;
  bool disabled = false;  // useraccountcontrol has ACCOUNTDISABLE
};

struct DirectoryComputerListing {
  platform::DirectoryStatus status;
  bool opened = false;                       // false: the object itself could not be opened
  std::vector<DirectoryComputer> computers;  // in the order the server sent them
};

// Every computer below the object `options` opens (subtree, paged).
DirectoryComputerListing ListDirectoryComputers(platform::DirectorySearch& directory,
                                                const platform::DirectoryOpenOptions& options);

// The "cn" and "dnshostname" of the computer object `options` opens.
platform::DirectoryStatus ReadComputerNames(platform::DirectorySearch& directory,
                                            const platform::DirectoryOpenOptions& options,
                                            std::string& cn, std::string& dns_host_name);

}  // namespace tabulon
