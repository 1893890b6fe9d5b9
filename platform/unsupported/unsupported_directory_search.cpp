#include "platform/unsupported/unsupported_directory_search.h"

namespace tabulon::unsupported {

namespace {

platform::DirectoryStatus NotSupported() {
  return {platform::DirectoryHresult(win::ERROR_NOT_SUPPORTED), win::ERROR_NOT_SUPPORTED, {}};
}

}  // namespace

platform::DirectoryStatus UnsupportedDirectorySearch::Open(const platform::DirectoryOpenOptions&) {
  return NotSupported();
}

platform::DirectoryStatus UnsupportedDirectorySearch::Search(const platform::SearchRequest&,
                                                             const platform::EntrySink&) {
  return NotSupported();
}

}  // namespace tabulon::unsupported
