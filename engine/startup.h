#pragma once
// Preparing the per-user data directory on first start, and the places the
// program's own files are found.
#include <string>

#include "engine/template_kinds.h"

namespace tabulon {

// The file a template kind's defaults ship in, which every data directory
// starts with: the kind's default file name in lower case.
std::string ShippedTemplateFile(const TemplateKindRow& kind);

struct DataDirectorySetup {
  std::string directory;  // empty when it could not be made
  bool first_start = false;
  int files_copied = 0;
};

// Creates `data_directory` (and its parent) when missing. Only when it is
// created now are the default template files and every configuration of
// `program_data_directory` with a ConfigurationName copied into it; nothing
// is ever replaced.
DataDirectorySetup PrepareDataDirectory(const std::string& data_directory,
                                        const std::string& program_data_directory);

// Where the program's own data files are: $TABULON_DATA_DIR, else
// <program>/../share/tabulon, else the data folder of the source tree the
// program was built from.
std::string ProgramDataDirectory(const std::string& program_path);

// The object file the sibling tool hands over.
std::string HandoverObjectFile(const std::string& data_directory);

}  // namespace tabulon
