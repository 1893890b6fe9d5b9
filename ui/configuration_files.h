#pragma once
// What the configuration commands do to files, without any widget: make a
// new configuration (optionally a copy), convert the sibling tool's object
// file into a configuration, assign an object file, delete a configuration.
// Each reports which file failed and why; nothing is half-reported.
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"
#include "platform/profile.h"
#include "platform/status.h"
#include "platform/time.h"
#include "ui/object_import.h"

namespace tabulon::ui {

// Titles of the open-failure messages, one per kind of file.
inline constexpr std::string_view kImportFileTitle = "Import File";
inline constexpr std::string_view kQuollObjectFileTitle = "Quoll Object File";
inline constexpr std::string_view kQuollConfigurationTitle = "Quoll Configuration";
inline constexpr std::string_view kConfigurationFileTitle = "Export Configuration";

// Where typed names go. A name without a folder is placed in the search
// folder of its kind (the folder the lists show), and the configuration
// keeps the full path: the run would look for a bare name in the data
// folder, which differs as soon as a search folder is set.
struct NamePlacement {
  std::string configuration_folder;
  std::string object_folder;
  platform::Clock& clock;
  platform::Locale& locale;
};

struct NewConfigurationFields {
  std::string configuration_name;
  std::string file_name;
  std::string object_file;
  std::string copy_from;  // the configuration to copy; empty for none
};

struct FileOutcome {
  win::Status status = win::ERROR_SUCCESS;
  // The open-failure title of the file that failed; empty on success.
  std::string_view failed_title;
  // The configuration made, or the file that failed.
  std::string path;
  bool ok() const { return failed_title.empty(); }
};

// The sibling tool's own object file cannot be a configuration's object
// file (its name is matched exactly, as the tool writes it).
bool NamesQuollObjectFile(std::string_view object_file);

// `name` with its date tokens replaced and placed in `folder`.
std::string ResolveTypedName(std::string_view name, std::string_view folder,
                             const NamePlacement& placement);

// Writes a new configuration: the file named (".INI" appended when it has no
// '.'), copied from `copy_from` when given (never over an existing file),
// its ConfigurationName, and its ObjectFile (".DAT" appended when it has no
// '.'), which is created when missing.
FileOutcome CreateConfiguration(platform::Profile& profile, const NewConfigurationFields& fields,
                                const NamePlacement& placement);

// The configuration converted from the sibling tool's object file (read
// with ReadQuollObjectLines): QUOLL_EXPORT.INI names itself "Quoll
// Configuration Export" and the object file QUOLL_EXPORT.DAT, to which one
// inactive object line per line read is appended.
FileOutcome WriteQuollConfiguration(platform::Profile& profile,
                                    const std::vector<QuollObjectLine>& lines,
                                    const NamePlacement& placement);

// Makes `object_file` the object file of `configuration`.
bool WriteObjectFileSetting(platform::Profile& profile, const std::string& configuration,
                            const std::string& object_file);

}  // namespace tabulon::ui
