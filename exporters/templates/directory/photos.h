#pragma once
// Photo attributes written to picture files, one per account, named after
// the account's samaccountname.
#include <string>
#include <string_view>
#include <vector>

#include "engine/configuration.h"
#include "engine/run_output.h"

namespace tabulon {

struct PhotoSettings {
  bool enabled = false;
  std::string directory;  // ends with one separator
  std::string extension;  // ".jpg"; given without its ".", it gets one
};

// [AD] EnableAdPhotoExporting, PhotoFileOutputPath and PhotoFileExtension
// for a query with `names` whose output file is `output_path`: on only when
// the list names "jpegPhoto" or "thumbnailPhoto" exactly.
PhotoSettings ReadPhotoSettings(const Configuration& config, const std::vector<std::string>& names,
                                const std::string& output_path);

// Writes the photo's bytes through the target's output and returns the text its cell shows: the
// file's path, or why there is no file. An empty account name means samaccountname has not been
// read yet.
std::string WritePhotoFile(RunOutput& output, const PhotoSettings& settings,
                           std::string_view account, std::string_view bytes);

}  // namespace tabulon
