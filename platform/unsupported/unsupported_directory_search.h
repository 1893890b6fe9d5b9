#pragma once
// Directory searches where nothing can serve them: every call fails with the
// HRESULT of ERROR_NOT_SUPPORTED, so directory exports report a failure.
#include "platform/directory_search.h"

namespace tabulon::unsupported {

class UnsupportedDirectorySearch final : public platform::DirectorySearch {
 public:
  platform::DirectoryStatus Open(const platform::DirectoryOpenOptions& options) override;
  platform::DirectoryStatus Search(const platform::SearchRequest& request,
                                   const platform::EntrySink& sink) override;
  void Close() override {}
};

}  // namespace tabulon::unsupported
