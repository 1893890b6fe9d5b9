#pragma once
// Reading an estate file. Every problem comes back as a message that names
// the file and, where there is one, the JSON path of the offending value.
#include <string>
#include <string_view>

#include "estate/estate.h"

namespace tabulon::estate {

struct LoadResult {
  bool ok = false;
  std::string error;
  Estate estate;  // finalized when ok
};

// `origin` names the text in messages, usually the file path; .reg files
// the estate names are looked up from `base_directory` (empty: the current
// directory). LoadEstate looks them up next to the estate file.
LoadResult ParseEstate(std::string_view text, std::string_view origin,
                       std::string_view base_directory = {});
LoadResult LoadEstate(const std::string& path);

// Files larger than this are refused rather than read.
inline constexpr std::size_t kMaxEstateFileBytes = 256u << 20;

}  // namespace tabulon::estate
