#include "engine/directory_computers.h"

#include <charconv>

namespace tabulon {
namespace {

constexpr std::uint32_t kAccountDisable = 0x2;

std::string FirstValue(const platform::DirectoryEntry& entry, std::string_view name) {
  return std::string(entry.FirstValue(name));
}

// useraccountcontrol comes as decimal text; a signed value keeps its bits.
bool DisabledFlag(std::string_view text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return (static_cast<std::uint64_t>(value) & kAccountDisable) != 0;
}

}  // namespace

DirectoryComputerListing ListDirectoryComputers(platform::DirectorySearch& directory,
                                                const platform::DirectoryOpenOptions& options) {
  DirectoryComputerListing listing;
  listing.status = directory.Open(options);
  if (!listing.status.ok()) return listing;
  listing.opened = true;
  platform::SearchRequest request;
  request.scope = platform::SearchScope::kSubtree;
  request.filter = std::string(kComputerFilter);
  request.attributes = {"name", "displayname", "dnshostname", "useraccountcontrol"};
  listing.status = directory.Search(request, [&](platform::DirectoryEntry&& entry) {
    listing.computers.push_back({FirstValue(entry, "name"), FirstValue(entry, "dnshostname"),
                                 DisabledFlag(FirstValue(entry, "useraccountcontrol"))});
    return true;
  });
  directory.Close();
  return listing;
}

platform::DirectoryStatus ReadComputerNames(platform::DirectorySearch& directory,
                                            const platform::DirectoryOpenOptions& options,
                                            std::string& cn, std::string& dns_host_name) {
  platform::DirectoryStatus status = directory.Open(options);
  if (!status.ok()) return status;
  const std::string attributes[] = {"cn", "dnshostname"};
  platform::DirectoryEntry entry;
  status = platform::ReadObject(directory, options.base, attributes, entry);
  directory.Close();
  if (!status.ok()) return status;
  cn = FirstValue(entry, "cn");
  dns_host_name = FirstValue(entry, "dnshostname");
  return status;
}

}  // namespace tabulon
