#pragma once
// A directory of the estate: the entries of its LDIF files, in file order,
// answering the searches a directory server would.
#include <string>
#include <string_view>
#include <vector>

#include "platform/cancel.h"
#include "platform/directory_search.h"

namespace tabulon::estate {

class DirectoryTree {
 public:
  // Value kinds come from the entries' own attributeSchema objects, then
  // from `schema` (lower-case name -> kind), which wins.
  DirectoryTree(std::vector<platform::DirectoryEntry> entries,
                const platform::AttributeKinds& schema);

  const std::vector<platform::DirectoryEntry>& entries() const { return entries_; }
  const platform::AttributeKinds& kinds() const { return kinds_; }

  // `request.base` empty: `default_base`. The token is checked between entries.
  platform::DirectoryStatus Search(const platform::SearchRequest& request,
                                   std::string_view default_base,
                                   const platform::CancelToken& cancel,
                                   const platform::EntrySink& sink) const;

 private:
  std::vector<platform::DirectoryEntry> entries_;
  std::vector<std::string> folded_dns_;
  platform::AttributeKinds kinds_;
};

}  // namespace tabulon::estate
