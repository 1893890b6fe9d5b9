#pragma once
// How the network management enumerations page, whichever backend answers
// them: a page takes the entries from the resume position on that fit the
// preferred length (at least one; all with kMaxPreferredLength), and says
// ERROR_MORE_DATA and where the next call starts when some are left.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/netapi.h"
#include "platform/status.h"

namespace tabulon::platform {

// `Result` has status, entries, total_entries and resume_handle; `bytes`
// sizes one entry as the Windows buffer holds it. Moves the page out of
// `all`.
template <typename Result, typename Entry, typename Bytes>
void FillPage(Result& result, std::vector<Entry>& all, std::uint32_t resume,
              std::uint32_t preferred_max_length, Bytes bytes) {
  result.status = win::ERROR_SUCCESS;
  result.total_entries = static_cast<std::uint32_t>(all.size());
  result.resume_handle = 0;
  std::uint64_t used = 0;
  for (std::size_t i = resume; i < all.size(); ++i) {
    const std::uint32_t size = bytes(all[i]);
    if (!result.entries.empty() && preferred_max_length != kMaxPreferredLength &&
        used + size > preferred_max_length) {
      result.status = win::ERROR_MORE_DATA;
      result.resume_handle = static_cast<std::uint32_t>(i);
      return;
    }
    used += size;
    result.entries.push_back(std::move(all[i]));
  }
}

}  // namespace tabulon::platform
