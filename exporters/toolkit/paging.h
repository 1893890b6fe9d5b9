#pragma once
// The paging loop of the network management enumerations: call with a resume
// handle until a page comes back without ERROR_MORE_DATA, handing each
// page's entries on. A page that fails ends the loop with its status.
#include <cstdint>
#include <type_traits>

#include "platform/status.h"

namespace tabulon {

// `fetch(resume)` returns a page with status, entries and resume_handle;
// `each(entry)` is called for every entry, and may return false to end the
// loop there (a stop request), which asks for no further page. Returns
// ERROR_SUCCESS, or the status of the page that failed.
template <typename Fetch, typename Each>
win::Status ForEachPagedEntry(Fetch&& fetch, Each&& each) {
  std::uint32_t resume = 0;
  while (true) {
    const auto page = fetch(resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      return page.status;
    }
    for (const auto& entry : page.entries) {
      if constexpr (std::is_same_v<decltype(each(entry)), bool>) {
        if (!each(entry)) return win::ERROR_SUCCESS;
      } else {
        each(entry);
      }
    }
    // A page that says more but makes no progress would loop for ever.
    if (page.status != win::ERROR_MORE_DATA || page.entries.empty() || page.resume_handle == 0) {
      return win::ERROR_SUCCESS;
    }
    resume = page.resume_handle;
  }
}

}  // namespace tabulon
